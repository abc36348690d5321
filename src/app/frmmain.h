#pragma once

// How a text flows through the program:
//   open     frmOpenFile reads a text file and cleans it (quotes, blanks, line breaks);
//   segment  the segmentation library gives one tag per character (coding/tags.h);
//            the hand-over makes it the current text (AppState::setText), whose
//            character classes are counted from the tags;
//   colour   PrepareTestText colours the words alternately (formats only);
//   type     typing::Session runs the test (no text, ready, running, paused,
//            ended) and switches the input method; frmFcTest shows its phase;
//   check    the session's TypingCheck compares, recolours and counts every
//            committed character into the test record (AppState::test);
//   count    the result and statistics dialogs build the text's and the typed
//            text's tables with one function (coding::buildTextTables) and count
//            their keystrokes with one set of passes; what they compute stays in
//            AppState::derived until a new text or a new test clears it;
//   report   the test window saves the statistics, the word list or an example.
// The segmentation editor frmPreSplit corrects a segmentation by hand and saves it
// as an example that the test window opens. All windows share one coding::AppState,
// one part per concern.
//
// Libraries, each linking only those below it: marvik (the segmenter), coding (no
// widgets: state, settings, code database, tags, tables, colouring), widgets
// (layout, centring, pictures, messages, Qt services), ime (IBus, Fcitx 5),
// prepare / typing / stats (a widget-free core and thin windows), and app (this
// window, start-up, help and About), which alone knows every window.
//
// frmMain is where the learner starts: it writes the pictures that the windows
// wear, finds the input method, and opens the test window, the segmentation
// editor, the help and the About box.

#include "coding/appstate.h"
#include "widgets/lockkeys.h"
#include "widgets/pictures.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;

namespace widgets {
class ClickableLabel;
}
namespace ime {
class InputMethodBackend;
}

class QGridLayout;

namespace app {

class HelpViewer;

// The window's fixed texts (string table 101 to 103) and the start-up messages.
inline const QString kExitQuestion = QStringLiteral("确定要退出Qorvan输入法第四版分词教学系统？");
inline const QString kMessageTitle = QStringLiteral("提示信息");
inline const QString kProgramTitle = QStringLiteral("Qorvan输入法第四版分词教学系统");
inline const QString kWriteFailedText = QStringLiteral("请检查硬盘是否写保护，或者硬盘空间已满！");
inline const QString kBackgroundMissingText =
    QStringLiteral("背景图片文件不完整，请重新启动程序！");
inline const QString kHelpMissingText = QStringLiteral("帮助文件不存在或已损坏！");
inline const QString kHelpFileName = QStringLiteral("Trevix2002.chm");

// The pages of the help for the windows that open it with F1.
inline constexpr QSize kMainDesignSize{560, 430};
inline constexpr int kPictureSize = 32;
inline const QString kMainHelpPage = QStringLiteral("index.html");

class frmMain : public QMainWindow, public coding::HelpService {
    Q_OBJECT
public:
    // The working windows, each shown modally over the main window. main() sets
    // them; an unset one leaves its button and menu item without effect. Each
    // returns false when it could not open and the program is to end (its message
    // has told why): the main window then closes with exit code 1.
    struct WorkWindows {
        std::function<bool(QWidget &parent)> fcTest;   // the test window frmFcTest
        std::function<bool(QWidget &parent)> preSplit; // the segmentation editor frmPreSplit
    };

    enum class StartupResult {
        Ready,             // the window can be shown
        PictureNotWritten, // a picture could not be written: the program ends
        BackgroundMissing, // 101.jpg is missing or not a picture: the program ends
    };

    explicit frmMain(coding::AppState &state, QWidget *parent = nullptr);
    ~frmMain() override;

    void setWorkWindows(WorkWindows windows) { m_windows = std::move(windows); }
    // 0, or 1 once a working window has ended the program.
    int exitCode() const { return m_exitCode; }

    // Start-up: caption, centring, the input method (through backend, which may be
    // null), menu icons, mouse pointer, the three pictures written into the
    // application directory, the background. On a failure the message has been
    // shown and the program is to end.
    StartupResult Form_Load(ime::InputMethodBackend *backend);

    // 0 the test window, 1 the segmentation editor, 2 the help, 3 the exit question.
    void Image1_Click(int index);
    void mnuHelpTopic_Click();
    // The help at this page of the help file ("test.html"; its default topic when
    // the file lacks the page), in front of the window in front: a working window
    // that runs modally, or this one. F1 asks for it, with the page of the window.
    void showHelp(const QString &page) override;
    void mnuAbout_Click();
    // The exit question. Yes deletes the pictures that this run wrote and returns
    // true (the window may close); No returns false.
    bool Form_QueryUnload();

    // The pictures that this run wrote into the application directory.
    QStringList writtenPictures() const { return m_writtenPictures; }
    // The help window while it is open.
    HelpViewer *helpViewer() const;

    // Controls, named as in the window's design.
    std::array<widgets::ClickableLabel *, 4> Image1{};
    widgets::ClickableLabel *Label1;
    widgets::ClickableLabel *Label2;
    widgets::ClickableLabel *Label3;
    widgets::ClickableLabel *Label4;
    std::array<QPixmap, 3> picMenuIcons;
    QStatusBar *StatusBar1;
    std::array<QLabel *, 3> StatusBar1Panels{}; // welcome, Caps Lock, Num Lock
    QMenu *mnuSplit;
    QAction *mnuFcTest;
    QAction *mnuPreSplit;
    QAction *mnuHistory; // the results history (成绩记录)
    QMenu *mnuHelp;
    QAction *mnuHelpTopic;
    QAction *mnuAbout;
    QAction *mnuExit;

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    // The pictures, their captions and the spaces between them in proportion to
    // the window's size against its design size (the smaller of the two factors).
    void scaleControls();
    void buildMenus();
    void updateLockPanels();
    void leave();
    void openWorkWindow(const std::function<bool(QWidget &)> &window);

    coding::AppState &m_state;
    WorkWindows m_windows;
    int m_exitCode = 0;
    widgets::LockKeys m_lockKeys;
    QStringList m_writtenPictures;
    widgets::Background m_background;
    QPointer<HelpViewer> m_help;
    QGridLayout *m_grid = nullptr;
    qreal m_captionPoints = 0; // the captions' design size
    bool m_leaving = false;    // the exit has been confirmed
};

} // namespace app
