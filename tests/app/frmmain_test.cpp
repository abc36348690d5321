// The main window, driven offscreen through its controls: start-up with its
// pictures and failure messages, the exit question, the help file and its
// viewer, the About box, the working windows and the lock-key panels.

#include "app/chmbrowser.h"
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/helpviewer.h"
#include "app/startup.h"
#include "support/fakeinputmethodbackend.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"
#include "widgets/clickablelabel.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

using coding::MsgAnswer;
using coding::MsgButtons;
using coding::MsgIcon;

namespace {

const QStringList kPictures = {QStringLiteral("101.jpg"), QStringLiteral("102.jpg"),
                               QStringLiteral("103.jpg")};

QByteArray resourceBytes(int id) {
    QFile file(QStringLiteral(":/JPG/%1").arg(id));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One run's state in a temporary application directory, with messages answered
// from a queue and an input-method framework that has the Qorvan input method.
struct Run {
    explicit Run(const QString &appDir = {}) {
        state = std::make_unique<coding::AppState>(
            coding::AppDirectory::at(appDir.isEmpty() ? dir.path() : appDir),
            std::make_unique<coding::FakeLibrary>());
        state->services.setMessages(&messages);
        ime.installed = {{QStringLiteral("table:qorvan"), QStringLiteral("Qorvan输入法第四版")}};
    }
    QString path(const QString &name) const { return state->appDir.filePath(name); }

    QTemporaryDir dir;
    coding::FakeMessages messages;
    ime::FakeInputMethodBackend ime;
    std::unique_ptr<coding::AppState> state;
};

// A started main window on screen.
struct StartedWindow : Run {
    StartedWindow() : window(*state) {
        ok = window.Form_Load(&ime) == app::frmMain::StartupResult::Ready;
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        windowSizeAtStart = window.size();
        messages.shown.clear();
    }
    app::frmMain window;
    QSize windowSizeAtStart;
    bool ok = false;
    bool exposed = false;
};

void clickLabel(QLabel *label) {
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

// The ways to the exit question and to the help.
enum class Way { Picture, Caption, Menu, CloseWindow };

void goExit(app::frmMain &window, Way way) {
    switch (way) {
    case Way::Picture:
        clickLabel(window.Image1[3]);
        break;
    case Way::Caption:
        clickLabel(window.Label4);
        break;
    case Way::Menu:
        window.mnuExit->trigger();
        break;
    case Way::CloseWindow:
        window.close();
        break;
    }
}

void goHelp(app::frmMain &window, Way way) {
    switch (way) {
    case Way::Picture:
        clickLabel(window.Image1[2]);
        break;
    case Way::Caption:
        clickLabel(window.Label3);
        break;
    default:
        window.mnuHelpTopic->trigger();
        break;
    }
}

QString builtHelpFile() {
    return QDir(qEnvironmentVariable("TREVIX_TEST_APP_DIR"))
        .filePath(QStringLiteral("Trevix2002.chm"));
}

// Clicks the link whose text is `text` in the browser.
bool clickLink(QTextBrowser &browser, const QString &text) {
    QTextCursor cursor = browser.document()->find(text);
    if (cursor.isNull())
        return false;
    cursor.setPosition(cursor.selectionStart() + 1);
    browser.ensureCursorVisible();
    browser.setTextCursor(cursor);
    browser.ensureCursorVisible();
    const QPoint at = browser.cursorRect(cursor).center();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Way)
Q_DECLARE_METATYPE(MsgAnswer)

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void startupOverwritesPicturesOfAnEarlierRun();
    void picturesHaveTheirFormatsAndSizes_data();
    void picturesHaveTheirFormatsAndSizes();
    void unwritablePicturesEndTheProgram_data();
    void unwritablePicturesEndTheProgram();
    void startupWithoutQorvanWarnsAndGoesOn();
    void controlsAsDesigned();
    void exitQuestion_data();
    void exitQuestion();
    void helpFileMissingOrDamaged_data();
    void helpFileMissingOrDamaged();
    void helpShowsDefaultTopicLinksAndPictures();
    void f1OpensTheHelpAtThePageOfTheWindowInFront();
    void aboutBox();
    void workWindowsOpenFromPicturesCaptionsAndMenus();
    void lockPanelsFollowTheLockKeys();
    void standardDialogsSpeakChinese();
};

void FrmMainTest::startupOverwritesPicturesOfAnEarlierRun() {
    Run run;
    // Longer than the pictures: nothing of them may remain after the new bytes.
    for (const QString &name : kPictures)
        QVERIFY(writeFile(run.path(name), QByteArray(512 * 1024, 'x')));
    app::frmMain window(*run.state);
    QCOMPARE(window.Form_Load(&run.ime), app::frmMain::StartupResult::Ready);
    QVERIFY(run.messages.shown.isEmpty());
    for (int id : {101, 102, 103}) {
        const QByteArray expected = resourceBytes(id);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(fileBytes(run.path(QStringLiteral("%1.jpg").arg(id))), expected);
    }
    QCOMPARE(window.writtenPictures(), kPictures);
    QCOMPARE(window.windowTitle(), app::kProgramTitle);
    QCOMPARE(run.state->inputMethod.ImeLayoutHandle, QStringLiteral("table:qorvan"));
    QCOMPARE(run.state->inputMethod.backend, &run.ime);
}

void FrmMainTest::picturesHaveTheirFormatsAndSizes_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("signature");
    QTest::newRow("101.jpg, the background")
        << 101 << QByteArray("jpeg") << QSize(1600, 1200) << QByteArray("\xff\xd8\xff", 3);
    QTest::newRow("102.jpg, the button face")
        << 102 << QByteArray("jpeg") << QSize(397, 150) << QByteArray("\xff\xd8\xff", 3);
    QTest::newRow("103.jpg, a GIF89a under a .jpg name")
        << 103 << QByteArray("gif") << QSize(185, 109) << QByteArray("GIF89a");
}

void FrmMainTest::picturesHaveTheirFormatsAndSizes() {
    QFETCH(int, id);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(QByteArray, signature);
    QByteArray bytes = resourceBytes(id);
    QVERIFY(bytes.startsWith(signature));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), format);
    QCOMPARE(reader.read().size(), size);
    // As the windows load it: by its file name.
    Run run;
    QVERIFY(writeFile(run.path(QStringLiteral("%1.jpg").arg(id)), bytes));
    QCOMPARE(QPixmap(run.path(QStringLiteral("%1.jpg").arg(id))).size(), size);
}

void FrmMainTest::unwritablePicturesEndTheProgram_data() {
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<QStringList>("written");
    // Running as root, permissions stop nothing: the blockers are things in the way.
    QTest::newRow("the directory lies under a regular file")
        << QStringLiteral("parent-file") << MsgAnswer::Ok << QStringList{};
    QTest::newRow("a directory where 102.jpg goes, Cancel pressed")
        << QStringLiteral("102.jpg") << MsgAnswer::Cancel << QStringList{"101.jpg"};
}

void FrmMainTest::unwritablePicturesEndTheProgram() {
    QFETCH(QString, blocker);
    QFETCH(MsgAnswer, answer);
    QFETCH(QStringList, written);
    QTemporaryDir top;
    QString appDir = top.path();
    if (blocker == QLatin1String("parent-file")) {
        QVERIFY(writeFile(top.filePath(QStringLiteral("file")), "not a directory"));
        appDir = top.filePath(QStringLiteral("file/app"));
    } else {
        QVERIFY(QDir(top.path()).mkdir(blocker));
    }

    Run run(appDir);
    run.messages.answers.enqueue(answer);
    {
        app::frmMain window(*run.state);
        QCOMPARE(window.Form_Load(&run.ime), app::frmMain::StartupResult::PictureNotWritten);
        QCOMPARE(window.writtenPictures(), written);
    }
    QCOMPARE(run.messages.shown.size(), 1);
    const auto &shown = run.messages.shown.first();
    QCOMPARE(shown.text, QStringLiteral("请检查硬盘是否写保护，或者硬盘空间已满！"));
    QCOMPARE(shown.title, QStringLiteral("Qorvan输入法第四版分词教学系统"));
    QCOMPARE(shown.buttons, MsgButtons::OkCancel);
    QCOMPARE(shown.icon, MsgIcon::Critical);

    // The program ends: the run returns a failure without showing the window.
    run.messages.shown.clear();
    QCOMPARE(app::runMainWindow(*run.state, &run.ime, {}), 1);
    QCOMPARE(run.messages.shown.size(), 1);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void FrmMainTest::startupWithoutQorvanWarnsAndGoesOn() {
    Run run;
    run.ime.installed.clear();
    app::frmMain window(*run.state);
    QCOMPARE(window.Form_Load(&run.ime), app::frmMain::StartupResult::Ready);
    QCOMPARE(run.messages.shown.size(), 1);
    QCOMPARE(
        run.messages.shown.first().text,
        QStringLiteral("本计算机未安装Qorvan输入法第四版，\r\n本软件大部分功能无法正常使用！"));
    QVERIFY(run.state->inputMethod.ImeLayoutHandle.isEmpty());
    QCOMPARE(window.writtenPictures(), kPictures);
}

void FrmMainTest::controlsAsDesigned() {
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    const QString captions[4] = {QStringLiteral("分词测试"), QStringLiteral("分词结果处理"),
                                 QStringLiteral("帮助信息"), QStringLiteral("退出系统")};
    const std::array<QLabel *, 4> labels = {w.window.Label1, w.window.Label2, w.window.Label3,
                                            w.window.Label4};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.window.Image1[i]->toolTip(), captions[i]);
        QCOMPARE(labels[i]->text(), captions[i]);
        QCOMPARE(w.window.Image1[i]->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!w.window.Image1[i]->pixmap().isNull());
        // Each caption stands under its picture; test and editor above help and exit.
        QVERIFY(labels[i]->geometry().top() >= w.window.Image1[i]->geometry().bottom());
    }
    QVERIFY(w.window.Image1[0]->y() < w.window.Image1[2]->y());
    QVERIFY(w.window.Image1[0]->x() < w.window.Image1[1]->x());

    // The pictures and captions follow the window's size, in proportion.
    const auto placeOf = [&w](QWidget *control) {
        const QPointF centre = control->geometry().center();
        const QSize area = w.window.centralWidget()->size();
        return QPointF(centre.x() / area.width(), centre.y() / area.height());
    };
    const QPointF designPlace = placeOf(w.window.Image1[3]);
    const qreal designPoints = w.window.Label1->font().pointSizeF();
    const QSize designPicture = w.window.Image1[0]->size();
    w.window.resize(app::kMainDesignSize * 2);
    QTRY_COMPARE(w.window.size(), app::kMainDesignSize * 2);
    QCoreApplication::processEvents();
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(w.window.Image1[i]->size(), QSize(64, 64));
        QCOMPARE(labels[i]->font().pointSizeF(), designPoints * 2);
        QVERIFY(labels[i]->geometry().top() >= w.window.Image1[i]->geometry().bottom());
    }
    const QPointF grownPlace = placeOf(w.window.Image1[3]);
    QVERIFY(qAbs(grownPlace.x() - designPlace.x()) < 0.05);
    QVERIFY(qAbs(grownPlace.y() - designPlace.y()) < 0.05);
    w.window.resize(w.windowSizeAtStart);
    QTRY_COMPARE(w.window.Image1[0]->size(), designPicture);

    const QList<QAction *> bar = w.window.menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->text(), QStringLiteral("分词训练"));
    QCOMPARE(bar[1]->text(), QStringLiteral("帮助"));
    QCOMPARE(bar[2], w.window.mnuExit);
    QCOMPARE(w.window.mnuExit->text(), QStringLiteral("退出"));
    QVERIFY(!w.window.mnuExit->menu());
    const QList<QAction *> split = w.window.mnuSplit->actions();
    QCOMPARE(split.size(), 4);
    QCOMPARE(split[0], w.window.mnuFcTest);
    QCOMPARE(split[1], w.window.mnuPreSplit);
    QVERIFY(split[2]->isSeparator());
    QCOMPARE(split[3], w.window.mnuHistory);
    QCOMPARE(w.window.mnuHistory->text(), QStringLiteral("成绩记录"));
    QCOMPARE(w.window.mnuHelp->actions(),
             (QList<QAction *>{w.window.mnuHelpTopic, w.window.mnuAbout}));
    QCOMPARE(w.window.mnuAbout->text(), QStringLiteral("关于..."));
    for (QAction *withIcon : {w.window.mnuFcTest, w.window.mnuPreSplit, w.window.mnuHelpTopic})
        QVERIFY(!withIcon->icon().isNull());
    QCOMPARE(w.window.StatusBar1Panels[0]->text(),
             QStringLiteral("欢迎使用Qorvan输入法第四版分词教学系统"));
}

void FrmMainTest::exitQuestion_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<MsgAnswer>("answer");
    const struct {
        const char *name;
        Way way;
    } ways[] = {{"picture", Way::Picture},
                {"caption", Way::Caption},
                {"menu", Way::Menu},
                {"window closed", Way::CloseWindow}};
    for (const auto &w : ways) {
        QTest::addRow("%s, No", w.name) << w.way << MsgAnswer::No;
        QTest::addRow("%s, Yes", w.name) << w.way << MsgAnswer::Yes;
    }
}

void FrmMainTest::exitQuestion() {
    QFETCH(Way, way);
    QFETCH(MsgAnswer, answer);
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    // The user's own files in the same directory, a picture among them.
    QVERIFY(writeFile(w.path(QStringLiteral("photo.jpg")), "\xff\xd8\xff my picture"));
    QVERIFY(writeFile(w.path(QStringLiteral("notes.txt")), "notes"));
    w.messages.answers.enqueue(answer);

    goExit(w.window, way);

    QCOMPARE(w.messages.shown.size(), 1);
    const auto &shown = w.messages.shown.first();
    QCOMPARE(shown.text, QStringLiteral("确定要退出Qorvan输入法第四版分词教学系统？"));
    QCOMPARE(shown.title, QStringLiteral("提示信息"));
    QCOMPARE(shown.buttons, MsgButtons::YesNo);
    QCOMPARE(shown.icon, MsgIcon::Question);
    const bool leaving = answer == MsgAnswer::Yes;
    QCOMPARE(w.window.isVisible(), !leaving);
    for (const QString &name : kPictures)
        QCOMPARE(QFile::exists(w.path(name)), !leaving);
    QCOMPARE(fileBytes(w.path(QStringLiteral("photo.jpg"))), QByteArray("\xff\xd8\xff my picture"));
    QVERIFY(QFile::exists(w.path(QStringLiteral("notes.txt"))));
}

void FrmMainTest::helpFileMissingOrDamaged_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QFile built(builtHelpFile());
    QVERIFY(built.open(QIODevice::ReadOnly));
    const QByteArray good = built.readAll();
    const struct {
        const char *name;
        Way way;
    } ways[] = {{"picture", Way::Picture}, {"caption", Way::Caption}, {"menu", Way::Menu}};
    for (const auto &w : ways) {
        QTest::addRow("%s, missing", w.name) << w.way << QByteArray();
        QTest::addRow("%s, not a help file", w.name) << w.way << QByteArray("<html>help</html>");
        QTest::addRow("%s, cut short", w.name) << w.way << good.left(good.size() / 4);
    }
}

void FrmMainTest::helpFileMissingOrDamaged() {
    QFETCH(Way, way);
    QFETCH(QByteArray, file);
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    if (!file.isEmpty())
        QVERIFY(writeFile(w.path(app::kHelpFileName), file));

    goHelp(w.window, way);

    QCOMPARE(w.messages.shown.size(), 1);
    const auto &shown = w.messages.shown.first();
    QCOMPARE(shown.text, QStringLiteral("帮助文件不存在或已损坏！"));
    QCOMPARE(shown.title, QStringLiteral("Qorvan输入法第四版分词教学系统"));
    QCOMPARE(shown.buttons, MsgButtons::Ok);
    QCOMPARE(shown.icon, MsgIcon::Information);
    QVERIFY(!w.window.helpViewer());
    QVERIFY(w.window.isVisible());
}

void FrmMainTest::helpShowsDefaultTopicLinksAndPictures() {
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    QVERIFY(QFile::copy(builtHelpFile(), w.path(app::kHelpFileName)));

    goHelp(w.window, Way::Caption);
    QVERIFY(w.messages.shown.isEmpty());
    app::HelpViewer *viewer = w.window.helpViewer();
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Qorvan输入法第四版分词教学系统 帮助"));
    app::ChmBrowser &browser = *viewer->browser();
    QCOMPARE(browser.source(), QUrl(QStringLiteral("chm:/index.html")));
    QVERIFY(
        browser.toPlainText().contains(QStringLiteral("欢迎使用Qorvan输入法第四版分词教学系统")));

    // The picture of the page comes out of the help file.
    const QVariant picture = browser.loadResource(QTextDocument::ImageResource,
                                                  QUrl(QStringLiteral("help_mainwindow.png")));
    QCOMPARE(QImage::fromData(picture.toByteArray()).size(), QSize(360, 230));
    browser.document()->documentLayout()->documentSize(); // lays the page out
    const QVariant shown = browser.document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("help_mainwindow.png")));
    QVERIFY(shown.isValid());

    // An internal link, the contents and the way back.
    QVERIFY(clickLink(browser, QStringLiteral("如何进行分词测试")));
    QTRY_COMPARE(browser.source(), QUrl(QStringLiteral("chm:/test.html")));
    QVERIFY(browser.toPlainText().contains(QStringLiteral("第一步：打开测试文章")));

    const auto items = viewer->contents()->findItems(QStringLiteral("编码方案与示例"),
                                                     Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(items.size(), 1);
    QTreeWidget &tree = *viewer->contents();
    const QRect itemRect = tree.visualItemRect(items.first());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, itemRect.center());
    QTRY_COMPARE(browser.source(), QUrl(QStringLiteral("chm:/codes.html")));
    QVERIFY(browser.toPlainText().contains(QStringLiteral("中华人民共和国")));

    browser.backward();
    QCOMPARE(browser.source(), QUrl(QStringLiteral("chm:/test.html")));

    // Asking for help again brings the same window back at the default topic.
    goHelp(w.window, Way::Menu);
    QCOMPARE(w.window.helpViewer(), viewer);
    QCOMPARE(browser.source(), QUrl(QStringLiteral("chm:/index.html")));
    QVERIFY(w.messages.shown.isEmpty());
}

void FrmMainTest::f1OpensTheHelpAtThePageOfTheWindowInFront() {
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    QVERIFY(QFile::copy(builtHelpFile(), w.path(app::kHelpFileName)));
    QCOMPARE(&w.state->services.help(), static_cast<coding::HelpService *>(&w.window));

    w.window.activateWindow();
    QTest::keyClick(&w.window, Qt::Key_F1);
    app::HelpViewer *viewer = w.window.helpViewer();
    QVERIFY(viewer);
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
    QCOMPARE(viewer->parentWidget(), &w.window);

    // A working window runs modally: the help opens as one of its windows, so that
    // it can be read while the working window runs, at the page asked for.
    QMainWindow working(&w.window, Qt::Window);
    working.setWindowModality(Qt::ApplicationModal);
    working.show();
    QVERIFY(QTest::qWaitForWindowExposed(&working));
    QTRY_COMPARE(QApplication::activeModalWidget(), &working);
    w.state->services.help().showHelp(QStringLiteral("test.html"));
    QVERIFY(w.messages.shown.isEmpty());
    viewer = w.window.helpViewer();
    QVERIFY(viewer);
    QCOMPARE(viewer->parentWidget(), &working);
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/test.html")));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("第一步：打开测试文章")));
    // A page the file lacks: its default topic.
    w.state->services.help().showHelp(QStringLiteral("no-such-page.html"));
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
    working.close();
}

void FrmMainTest::aboutBox() {
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    QString title, text, button;
    bool picture = false;
    QTimer::singleShot(0, this, [&] {
        auto *about = qobject_cast<app::frmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        title = about->windowTitle();
        text = about->Label1->text();
        button = about->cmdOK->text();
        picture = !about->Picture1->pixmap().isNull();
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    });
    w.window.mnuAbout->trigger(); // modal: returns once 确 定 is pressed

    QCOMPARE(title, QStringLiteral("关于Qorvan输入法第四版分词教学系统"));
    QCOMPARE(button, QStringLiteral("确 定"));
    QVERIFY(picture);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() >= 6);
    QCOMPARE(lines[0], QStringLiteral("Qorvan输入法第四版分词教学系统"));
    QCOMPARE(lines[1], QString());
    // What it runs on here.
    QCOMPARE(lines[2], QStringLiteral("for  简体中文  Linux（IBus 或 Fcitx 5 输入法框架）"));
    QCOMPARE(lines[3], QString());
    QVERIFY(!lines[4].isEmpty());
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(w.messages.shown.isEmpty());
}

void FrmMainTest::workWindowsOpenFromPicturesCaptionsAndMenus() {
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    // Not set yet: nothing happens, nothing is said.
    clickLabel(w.window.Image1[0]);
    clickLabel(w.window.Label2);
    QVERIFY(w.messages.shown.isEmpty());
    QVERIFY(w.window.isVisible());

    QStringList opened;
    w.window.setWorkWindows({
        [&](QWidget &parent) {
            opened << (&parent == &w.window ? "test" : "test?");
            return true;
        },
        [&](QWidget &parent) {
            opened << (&parent == &w.window ? "editor" : "editor?");
            return true;
        },
    });
    clickLabel(w.window.Image1[0]);
    clickLabel(w.window.Label1);
    w.window.mnuFcTest->trigger();
    clickLabel(w.window.Image1[1]);
    clickLabel(w.window.Label2);
    w.window.mnuPreSplit->trigger();
    QCOMPARE(opened, (QStringList{"test", "test", "test", "editor", "editor", "editor"}));
    QVERIFY(w.messages.shown.isEmpty());
    QCOMPARE(w.window.exitCode(), 0);
    QVERIFY(w.window.isVisible());

    // A working window that cannot open ends the program: the main window closes
    // without the exit question and with exit code 1.
    w.window.setWorkWindows({[](QWidget &) { return false; }, {}});
    clickLabel(w.window.Image1[0]);
    QVERIFY(w.messages.shown.isEmpty());
    QVERIFY(!w.window.isVisible());
    QCOMPARE(w.window.exitCode(), 1);
}

void FrmMainTest::lockPanelsFollowTheLockKeys() {
    StartedWindow w;
    QVERIFY(w.ok && w.exposed);
    QLabel *caps = w.window.StatusBar1Panels[1];
    QLabel *num = w.window.StatusBar1Panels[2];
    QCOMPARE(caps->text(), QStringLiteral("CAPS"));
    QCOMPARE(num->text(), QStringLiteral("NUM"));
    // Offscreen there are no keyboard indicators: both start off and follow the keys.
    QVERIFY(!caps->isEnabled());
    QVERIFY(!num->isEnabled());
    QTest::keyClick(&w.window, Qt::Key_CapsLock);
    QVERIFY(caps->isEnabled());
    QVERIFY(!num->isEnabled());
    QTest::keyClick(&w.window, Qt::Key_NumLock);
    QVERIFY(num->isEnabled());
    QTest::keyClick(&w.window, Qt::Key_CapsLock);
    QVERIFY(!caps->isEnabled());
    QVERIFY(num->isEnabled());
    QTest::keyClick(&w.window, Qt::Key_A); // other keys change nothing
    QVERIFY(!caps->isEnabled());
    QVERIFY(num->isEnabled());
}

void FrmMainTest::standardDialogsSpeakChinese() {
    // The test runs in the C locale, as an English desktop would.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QVERIFY(app::installChineseTranslations(*QCoreApplication::instance()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
}

QTEST_MAIN(FrmMainTest)
#include "frmmain_test.moc"
