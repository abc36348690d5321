#pragma once

#include "appdirectory.h"
#include "codedatabase.h"
#include "customword.h"
#include "segmentationlibrary.h"
#include "services.h"
#include "settings.h"
#include "texttables.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace ime {
class InputMethodBackend; // src/ime/inputmethodbackend.h
}
namespace history {
class ResultsHistory; // src/history/resultshistory.h
}

namespace coding {

// The text under test: what the test window shows, its tags and its character
// classes. The hand-over of the open-file dialog sets it (AppState::setText).
struct CurrentText {
    QString text;
    // One tag per character ("0"/"1" words, "2" punctuation, "3" separator blank in
    // the editor, "4" letters and digits).
    QString SegmentTags;
    // The classes of the test text, a pure function of its tags (countClasses).
    int HzCount = 0;    // Chinese characters
    int SymCount = 0;   // punctuation, tag "2"
    int AlphaCount = 0; // letters and digits, tag "4"
};

// One input of a test (a commit of the input method, or what was typed into the
// box): where it began in the text, how many UTF-16 units it typed, and its key
// presses as inferred from the key releases (see typing::TypingCheck::inputs).
struct TypedInput {
    int position = 0;
    int length = 0;
    int keys = 0;

    friend bool operator==(const TypedInput &, const TypedInput &) = default;
};

// The last test: typing::Session keeps it while the test runs.
struct TestRecord {
    int RightCount = 0;                   // characters currently marked right
    int ErrCount = 0;                     // characters currently marked wrong
    qint64 TestDuration = 0;              // ms: end - start - pauses
    std::array<int, 5> TypedWordCounts{}; // input bursts of 1, 2, 3, 4, 5+ characters
    int KeyPressCount = 0;                // key presses in the input box during the test
    QString TypedText;                    // the text's characters at the typed positions
};

// The keystroke counts of a text under the four ways of typing it, in the index
// layout of stats/keystrokes.h.
using KeyCounts = std::array<int, 24>;

// The result dialog's figures as it last showed them ("95.00%", "40字/分",
// "38字/分"), for the statistics file.
struct ResultTexts {
    QString AccuracyText;
    QString SpeedText;
    QString EffSpeedText;
};

// The learner's figures as the detailed statistics last showed them.
struct LearnerFigures {
    int UserCharTotal = 0;                  // characters typed (RightCount + ErrCount)
    int UserKeyTotal = 0;                   // key presses
    std::array<int, 5> UserWordLenCounts{}; // input bursts of 1, 2, 3, 4, 5+ characters
    double UserAvgKeys = 0.0;               // key presses per character, two decimals
};

// The typed text segmented (UserTags) and its tables.
struct TypedTables {
    QString UserTags;
    TextTables tables;
};

// What the statistics windows compute from the text and the test, each kept until
// what it is computed from changes: everything with a new text, what comes from
// the typing with a new test (AppState::setText, AppState::beginTest). The names of
// the questions are those the windows have always asked.
struct DerivedStats {
    std::optional<TextTables> textTables;  // the text's tables ("更多信息(&M)")
    std::optional<ResultTexts> result;     // DlgResult
    std::optional<LearnerFigures> learner; // DlgMoreInfo
    std::optional<KeyCounts> textKeys;     // DlgKeys
    std::optional<TypedTables> typed;      // DlgUserKeys
    std::optional<KeyCounts> userKeys;     // DlgUserKeys

    bool WordTableDone() const { return textTables.has_value(); }
    bool MoreInfoStatsReady() const { return textTables.has_value(); }
    bool ResultStatsReady() const { return result.has_value(); }
    bool TextKeysDone() const { return textKeys.has_value(); }
    bool UserKeysDone() const { return typed.has_value(); }
};

// What goes between the open-file dialog and the segmentation editor.
struct EditorHandover {
    // True while the segmentation editor receives the texts opened through
    // frmOpenFile, false while the test window does; each sets it when it opens.
    bool EditorIsTarget = false;
    // The editor's text as first handed over: the words separated by single blanks.
    QString InitialSegmentation;
};

// The input method (set by ime::DetectInputMethod at start-up): the framework's
// ids of the Qorvan input method (empty while not found) and of the English
// keyboard (empty until known), and the framework that switches them (not owned;
// null when none runs, and then nothing is switched).
struct InputMethodState {
    QString ImeLayoutHandle;
    QString EnglishLayoutHandle;
    ime::InputMethodBackend *backend = nullptr;
    // Hands words that the library has just added to the input method, so that the
    // learner can type them with their codes (ime::HandOverCustomWords; main() sets
    // it, tests record). Unset: the words stay the library's alone.
    std::function<void(const QList<CustomWord> &)> handOverCustomWords;
};

// What the windows share for the whole run, one part per concern. main() creates
// one and hands it to each window by reference; every test builds its own.
struct AppState {
    explicit AppState(AppDirectory dir, std::unique_ptr<SegmentationLibrary> library)
        : appDir(std::move(dir)), library(std::move(library)) {}

    AppDirectory appDir;
    std::unique_ptr<SegmentationLibrary> library;
    Services services;         // message boxes, file and colour dialogs, clock, beep
    CodeDatabase codeDatabase; // jtdb.dat: one connection for the run (openCodeDatabase)

    SettingValues settings; // LoadSettings; the options dialog writes them back
    CurrentText text;       // setText
    TestRecord test;        // the typing test
    DerivedStats derived;   // the statistics windows
    EditorHandover editor;  // the open-file dialog and the editor
    InputMethodState inputMethod;
    // The learner's results history (not owned; null: nothing is recorded).
    history::ResultsHistory *history = nullptr;

    // A new text under test: its classes are counted from its tags, and the record
    // of the last test and everything derived go.
    void setText(const QString &text, const QString &tags);
    // A new test of the current text: what was typed and what is derived from the
    // typing go.
    void beginTest();
};

} // namespace coding
