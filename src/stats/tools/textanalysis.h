#pragma once

#include "prepare/textpreparation.h"
#include "stats/keystrokes.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace coding {
struct AppState;
}

namespace stats {

// What the open-file dialog's two check boxes say: both on unless told otherwise.
struct AnalyseOptions {
    bool filterSymbols = true;  // "过滤符号": the symbols of filter.dat
    bool filterAlphaNum = true; // "过滤字母与数字"
};

// The figures of one text: its segmentation, its character classes and its 24
// whole-text keystroke counts.
struct TextAnalysis {
    QString segmentation; // the prepared text, a blank wherever the tag changes
    int HzCount = 0;
    int SymCount = 0;
    int AlphaCount = 0;
    KeyCounts TextKeyCounts{};
};

// Runs the program's own path for a text file (an example, FILE.sav, see below): reading and
// cleaning with the 2000-character cap, segmentation with state.library, widening and the filters
// (the symbols from the application directory's filter.dat), the character classes
// of the tags, the character table, the word table and the whole-text keystroke
// counts, through the functions the windows use. The state is left as the test
// window would leave it after "全文键数(&K)…" (the current text, its tables and
// counts). On failure
// returns nothing and sets error to a message naming the file.
// An example pair is read as the test window opens it: its text as it stands (no
// cleaning, widening or filters) with the tags of its companion; a damaged pair is
// an error.
std::optional<TextAnalysis> analyseFile(coding::AppState &state, const QString &path,
                                        const AnalyseOptions &options, QString *error);

// The same for a text that has been read and cleaned already.
std::optional<TextAnalysis> analyseText(coding::AppState &state, const QString &text,
                                        const AnalyseOptions &options, QString *error);

// True for the main file of an example pair (FILE.sav).
bool isExampleFile(const QString &path);

// The figures of a text that is prepared already (segmented, or an example): the
// state becomes as above.
std::optional<TextAnalysis> analysePrepared(coding::AppState &state,
                                            const prepare::PreparedText &prepared, QString *error);

// The report: the segmentation line; the four character-class lines of the
// statistics report ("文本中的总字数：" ...); its 24 whole-text count lines. Each label
// is followed directly by its value; lines end in "\n".
QString formatAnalysis(const TextAnalysis &analysis);

// The same figures as JSON: segmentation, characters {total, hz, symbols, alphanum},
// keys: [{label, index, value}] in the report's order.
QJsonObject analysisToJson(const TextAnalysis &analysis);

} // namespace stats
