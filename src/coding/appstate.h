#pragma once

#include "appdirectory.h"
#include "codedatabase.h"
#include "coderecord.h"
#include "segmentationlibrary.h"
#include "services.h"

#include <QList>
#include <QString>

#include <array>
#include <memory>

namespace ime {
class InputMethodBackend; // src/ime/inputmethodbackend.h
}

namespace coding {

// The state that the windows share for the whole run: the text's tags, the
// settings, the tables and counts, the test record and the flags. Fields keep the
// names the windows have always used for them. main() creates one and hands it to
// each window by reference; every test builds its own.
struct AppState {
    explicit AppState(AppDirectory dir, std::unique_ptr<SegmentationLibrary> library)
        : appDir(std::move(dir)), library(std::move(library)) {}

    AppDirectory appDir;
    std::unique_ptr<SegmentationLibrary> library;
    Services services; // message boxes, file and colour dialogs, clock, beep

    // --- Segmentation -------------------------------------------------------
    // One tag per character of the text under test ("0"/"1" words, "2"
    // punctuation, "3" separator blank, "4" letters and digits).
    QString SegmentTags;

    // --- Settings (coding::LoadSettings; the options dialog writes them back) -
    // Colours are COLORREF values, 0x00BBGGRR, red in the low byte
    // (coding::colorFromColorRef).
    qint32 AltColor1 = 0;     // words tagged "0"
    qint32 AltColor2 = 0;     // words tagged "1"
    qint32 RightColor = 0;    // correctly typed text
    qint32 ErrorColor = 0;    // wrongly typed text
    qint32 SymColor = 0;      // punctuation (tag "2")
    qint32 AlphaColor = 0;    // letters and digits (tag "4")
    bool NeedJmTips = false;  // hint mark on words that have a short code
    bool NeedFc = false;      // show the segmentation by colours
    bool AutoOpenIme = false; // switch the input method on when the test window opens
    bool IsLimitTime = false; // limit the test time
    int LimitTimeLen = 0;     // the time limit in minutes

    // --- Codes, counts and tables of the test text (coding) -------------------
    CodeDatabase codeDatabase; // jtdb.dat: one connection for the run (coding::openCodeDatabase)
    int HzCount = 0;           // Chinese characters (coding::PrepareTestText)
    int SymCount = 0;          // punctuation, tag "2"
    int AlphaCount = 0;        // letters and digits, tag "4"
    // Distinct characters other than ASCII letters and digits, in order of first
    // occurrence (coding::BuildCharTable); CharTableLast = CharTable.size() - 1.
    QList<CodeRecord> CharTable;
    int CharTableLast = -1;
    // Distinct words by length: WordTable[c - 1] holds the WordCount[c - 1] words of
    // c characters (class 5: five or more), most frequent first
    // (coding::BuildWordTable; WordTableDone below ties them to the text).
    std::array<QList<CodeRecord>, 5> WordTable;
    std::array<int, 5> WordCount{};

    // --- Text preparation (prepare: open-file dialog, segmentation editor) --
    // True while the segmentation editor receives the texts opened through
    // frmOpenFile, false while the test window does; each sets it when it opens.
    bool EditorIsTarget = false;
    // The editor's text as first handed over: the words separated by single blanks.
    QString InitialSegmentation;

    // --- Test record ----------------------------------------------------------
    // The last test and what has been computed from it. Opening a text clears
    // the results of earlier tests (prepare::clearEarlierResults).
    int RightCount = 0;                   // characters currently marked right
    int ErrCount = 0;                     // characters currently marked wrong
    qint64 TestDuration = 0;              // ms: end - start - pauses of the last test
    std::array<int, 5> TypedWordCounts{}; // input bursts of 1, 2, 3, 4, 5+ characters
    int KeyPressCount = 0;                // key presses in the input box during the test
    QString TypedText;                    // the text's characters at the typed positions
    bool WordTableDone = false;           // WordTable belongs to the current text
    bool ResultStatsReady = false;        // the result dialog has computed its figures
    bool MoreInfoStatsReady = false;      // the detailed statistics are computed
    bool TextKeysDone = false;            // keystroke counts of the whole text are computed
    bool UserKeysDone = false;            // keystroke counts of the typed text are computed
    // The result dialog's figures as it last showed them ("95.00%", "40字/分",
    // "38字/分"), for the statistics file; valid while ResultStatsReady.
    QString AccuracyText;
    QString SpeedText;
    QString EffSpeedText;

    // --- Detailed statistics (stats: DlgMoreInfo, DlgKeys, DlgUserKeys) ------
    // Keystroke counts of the whole text and of the typed text, 24 each, in the
    // index layout of stats/keystrokes.h; valid while TextKeysDone / UserKeysDone.
    std::array<int, 24> TextKeyCounts{};
    std::array<int, 24> UserKeyCounts{};
    // The learner's figures as DlgMoreInfo last showed them.
    int UserCharTotal = 0;                  // characters typed (RightCount + ErrCount)
    int UserKeyTotal = 0;                   // key presses
    std::array<int, 5> UserWordLenCounts{}; // input bursts of 1, 2, 3, 4, 5+ characters
    double UserAvgKeys = 0.0;               // key presses per character, two decimals
    // The tables of the typed text (stats::buildUserTables), built when DlgUserKeys
    // opens while UserKeysDone is false and kept until then: UserTags segments
    // TypedText; UserWordTable[c - 1] holds the UserWordCount[c - 1] items of c
    // characters (class 5: five or more; punctuation runs included, unsorted);
    // UserCharTable the distinct characters other than ASCII letters and digits.
    QString UserTags;
    std::array<QList<CodeRecord>, 5> UserWordTable;
    std::array<int, 5> UserWordCount{};
    int UserAlphaCount = 0; // letters and digits of TypedText
    QList<CodeRecord> UserCharTable;
    int UserCharLast = -1;

    // --- Input method (set by ime::DetectInputMethod at start-up) -----------
    // The framework's ids of the Qorvan input method (empty while not found)
    // and of the English keyboard (empty until known), and the framework that
    // switches them (not owned; null when none runs).
    QString ImeLayoutHandle;
    QString EnglishLayoutHandle;
    ime::InputMethodBackend *imeBackend = nullptr;
};

} // namespace coding
