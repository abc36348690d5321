#pragma once

// frmFcTest, "分词测试": the window in which the learner types a segmented text.
//
// A text arrives through the open-file dialog (this window is its TextReceiver),
// coloured word by word in mainText. "开始测试" saves the coloured text as
// temp.zh, switches the input method on (AutoOpenIme) once the input box tmpText
// has the focus, and starts the clock or the countdown. Every character that the
// input method commits into tmpText is checked by a TypingCheck: recoloured right
// or wrong, counted, grouped into the learner's words by its timing. The end of the
// text, "结束测试" or the countdown end the test: the input method goes back to
// English, TestDuration = end - start - pauses, and DlgResult shows the outcome;
// its exit puts the colours of temp.zh back.
//
// The window is opened modally from the main window (run()). Its file commands
// (testfilecommands.cpp) open examples and save the text as an example, plain
// text or word list, and the statistics report. The buttons whose work belongs to
// other windows (options, custom words) are here with their captions and states,
// under their names, for those windows to connect to.

#include "session.h"

#include "coding/appstate.h"
#include "coding/candidates.h"
#include "history/resultshistory.h"
#include "prepare/textreceiver.h"
#include "widgets/layout.h"
#include "widgets/lockkeys.h"
#include "widgets/pictures.h"

#include <QDialog>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>

class QAction;
class QEventLoop;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QTextDocument;
class QTextEdit;

namespace widgets {
class PictureButton;
}

namespace typing {

class TestTextView;
class TypingBox;

inline const QString kNoTextMessage = QStringLiteral("请先打开测试文件！");
inline const QString kWelcomeMessage = QStringLiteral("欢迎使用Qorvan输入法2006分词测试！");
// Asked when the window is closed while a test runs or is paused: "是" ends the test
// and shows its result, "否" goes on with the test.
inline const QString kCloseDuringTestQuestion =
    QStringLiteral("测试尚未结束，要结束测试并查看结果吗？\n（选择“否”继续测试）");
// The page of the help that F1 opens in the window.
inline const QString kTestHelpPage = QStringLiteral("test.html");
inline const QString kPicturesMissingMessage =
    QStringLiteral("背景图片文件不完整，请重新启动程序！");
// The program's title, under which a missing companion file is told.
inline const QString kProgramTitle = QStringLiteral("Qorvan输入法第四版分词教学系统");
// Added to the message of a save that failed.
inline const QString kDiskWriteMessage = QStringLiteral("请检查硬盘是否写保护，或者硬盘空间已满！");

class frmFcTest : public QMainWindow, public prepare::TextReceiver {
    Q_OBJECT
public:
    // Sizes of the design, in device-independent pixels (15 twips = 1 px).
    static constexpr QSize kDesignSize{800, 600};
    static constexpr QSize kMinimumSize{600, 533}; // 9000 x 8000 twips

    explicit frmFcTest(coding::AppState &state, QWidget *parent = nullptr);
    ~frmFcTest() override;

    // Opens the window modally over parent and returns when it has closed. When
    // its pictures are missing it tells the user and returns false: the program
    // is to end.
    static bool run(coding::AppState &state, QWidget &parent);

    // Loading: centring, layout, pictures, settings, states. False when a picture
    // is missing: the message has been shown and the program is to end.
    bool Form_Load();
    // Shows the window modally and returns when it has closed.
    void exec();

    // Runs a dialog modally (the open-file dialog, the result dialog); tests
    // replace it so that nothing blocks.
    std::function<int(QDialog &)> execDialog = [](QDialog &dialog) { return dialog.exec(); };

    // The hand-over of the open-file dialog.
    void receiveText(const prepare::PreparedText &prepared,
                     const prepare::ProgressCallback &progress) override;

    // Event handlers, named as in the window's design.
    void CmdStartTest_Click();
    void CmdPauTest_Click();
    void CmdEndTest_Click();
    void cmdFile_Click();
    void CmdCalc_Click();
    void CmdSetting_Click();
    void CmdQuit_Click();
    void mnuOpenTestFile_Click();
    // The file commands (testfilecommands.cpp).
    void mnuOpenExample_Click();
    void mnuSaveResult_Click();
    void mnuSaveTestFile_Click();
    void mnuStaSave_Click();
    void mnuStaInfo_Click();
    void Timer1_Timer();
    // Asks for the active input method, without waiting; the status bar shows it
    // when the answer comes (one question at a time).
    void showInputMethodState();
    void tmrLimitTime_Timer();
    // Places mainText and tmpText for the window's size; tmpText gets the focus
    // when it is visible.
    void SetPosofText();

    // True while a test runs and is not paused.
    bool testRunning() const { return m_session.running(); }
    const Session &session() const { return m_session; }
    const TypingCheck &typingCheck() const { return m_session.check(); }
    int remainingSeconds() const { return m_session.remainingSeconds(); }
    std::array<int, 3> baseFontSizes() const { return m_baseFontSizes; }
    const widgets::LayoutScale &layoutScale() const { return m_layout; }

    // Controls, named as in the window's design.
    TestTextView *mainText;
    TypingBox *tmpText;
    QLabel *LabelFc;
    QLabel *lblTips;
    QFrame *Shape1;
    widgets::PictureButton *CmdStartTest;
    widgets::PictureButton *CmdPauTest;
    widgets::PictureButton *CmdEndTest;
    widgets::PictureButton *cmdFile;
    widgets::PictureButton *CmdCalc;
    widgets::PictureButton *CmdSetting;
    widgets::PictureButton *CmdQuit;
    QTimer *Timer1;
    QTimer *tmrLimitTime;
    // Asks the framework every second which input method is active, for the
    // status bar's last panel: the framework or the user may switch on their own.
    QTimer *tmrImeState;
    QStatusBar *StatusBar1;
    std::array<QLabel *, 4> StatusBar1Panels{};
    QMenu *mnuFile;
    QAction *mnuOpenTestFile;
    QAction *mnuOpenExample;
    QAction *mnuAddWord;
    QAction *mnuSaveTestFile;
    QAction *mnuSaveResult;
    QAction *mnuDrill; // 练习这些词: the words of recent mistakes and missed shortcuts
    QMenu *mnuLessons; // 内置练习: graded lessons from the program's own data
    QMenu *mnuCalc;
    QAction *mnuStaInfo;
    QAction *mnuStaSave;
    QAction *mnuReview;  // the review of the last test's mistakes
    QAction *mnuHistory; // the results history
    // While a test runs: the time it has run (or is left), the speed and the
    // accuracy so far, renewed every second (never by the typing itself, which
    // keeps the check of a character as quick as it was).
    QLabel *lblLiveFigures;
    QTimer *tmrLiveFigures;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void Form_Resize();
    void Form_Unload();
    // The states of the controls in each phase of the test, all in one place.
    void applyPhase(Phase phase);
    void openInputMethodWhenFocused();
    void tmpText_Typed(const QString &typed);
    void tmpText_KeyDown(int key);
    void tmpText_KeyUp();
    void showCodeHint();
    coding::CandidatePlace candidatePlace(const QString &item);
    void placeInputBox();
    void followCurrentCharacter();
    void showResult();
    // A test has just ended: it goes into the results history, then its result
    // shows.
    void testEnded();
    void showReview();
    // Opens text as a test text, segmented and coloured as a text file is.
    void openPractice(const QString &text);
    void mnuDrill_Click();
    // The words to drill: those got wrong and those typed the long way in the
    // recent tests of the history, at most kWordsPerSet, the most recent first.
    QStringList drillWords();
    void showLiveFigures();
    void restoreTestText();
    void popUp(QMenu &menu, const QWidget &button);
    void updateNumLockPanel();
    void showSaveFailure(const QString &why);
    // Builds the character and word tables of the text when they are not built yet;
    // false (with the message told) when the code database fails.
    bool ensureWordTable();

    coding::AppState &m_state;
    QTextDocument *m_document; // mainText's text, owned by the window
    Session m_session;
    // The candidate places of jtdb.dat for the code hint: opened at the first hint
    // and kept while the window is open (not tried again when it could not open).
    coding::CandidateTable m_candidates;
    bool m_candidatesTried = false;
    bool m_imeQueryPending = false;
    // The text came from an example: its word list is not saved from here.
    bool m_textIsExample = false;
    // The record of the last test that ended, for its review.
    std::optional<history::TestDetail> m_lastTest;
    // The names of the installed input methods, asked once an unknown one is met.
    std::optional<QList<ime::InputMethodInfo>> m_imeNames;
    widgets::LockKeys m_lockKeys;
    widgets::LayoutScale m_layout;
    widgets::Background m_background;
    std::array<int, 3> m_baseFontSizes{};
    bool m_loaded = false;
    bool m_closed = false;
    QEventLoop *m_loop = nullptr;
};

} // namespace typing
