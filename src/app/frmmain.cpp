#include "frmmain.h"

#include "history/frmhistory.h"

#include "frmabout.h"
#include "helpviewer.h"
#include "ime/inputmethod.h"
#include "widgets/centring.h"
#include "widgets/clickablelabel.h"
#include "widgets/pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>
#include <QShortcut>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace app {

namespace {

const char *const kImageTips[4] = {"分词测试", "分词结果处理", "帮助信息", "退出系统"};

} // namespace

frmMain::frmMain(coding::AppState &state, QWidget *parent) : QMainWindow(parent), m_state(state) {
    setObjectName(QStringLiteral("frmMain"));
    for (int i = 0; i < 3; ++i)
        picMenuIcons[i] = QPixmap(QStringLiteral(":/pictures/menu%1.png").arg(i));
    buildControls();
    buildMenus();
    connect(&m_lockKeys, &widgets::LockKeys::changed, this, &frmMain::updateLockPanels);
    updateLockPanels();
    setMinimumSize(kMainDesignSize * 3 / 4);
    resize(kMainDesignSize);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { showHelp(kMainHelpPage); });
    m_state.services.setHelp(this);
}

frmMain::~frmMain() {
    if (&m_state.services.help() == this)
        m_state.services.setHelp(nullptr);
}

HelpViewer *frmMain::helpViewer() const {
    return m_help;
}

void frmMain::buildControls() {
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("mainArea"));
    auto *grid = m_grid = new QGridLayout(area);
    // The window's size sets the controls' sizes (scaleControls), not the other
    // way round: grown controls must not keep the window from shrinking back.
    grid->setSizeConstraint(QLayout::SetNoConstraint);
    grid->setContentsMargins(40, 30, 40, 30);
    grid->setHorizontalSpacing(80);
    grid->setVerticalSpacing(36);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(3, 1);

    QFont captionFont = font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.25);
    m_captionPoints = captionFont.pointSizeF();
    const std::array<widgets::ClickableLabel **, 4> labels = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        auto *picture = new widgets::ClickableLabel(area);
        picture->setObjectName(QStringLiteral("Image1(%1)").arg(i));
        picture->setPixmap(QPixmap(QStringLiteral(":/pictures/image1_%1.png").arg(i)));
        picture->setScaledContents(true);
        picture->setFixedSize(kPictureSize, kPictureSize);
        picture->setToolTip(QString::fromUtf8(kImageTips[i]));
        connect(picture, &widgets::ClickableLabel::clicked, this, [this, i] { Image1_Click(i); });
        Image1[i] = picture;

        auto *label = new widgets::ClickableLabel(area);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setText(QString::fromUtf8(kImageTips[i]));
        label->setFont(captionFont);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        *labels[i] = label;

        // Test and editor in the upper row, help and exit in the lower one; each
        // picture above its caption.
        auto *cell = new QVBoxLayout;
        cell->setSpacing(8);
        cell->addWidget(picture, 0, Qt::AlignHCenter);
        cell->addWidget(label, 0, Qt::AlignHCenter);
        grid->addLayout(cell, 1 + i / 2, 1 + i % 2);
    }
    connect(Label1, &widgets::ClickableLabel::clicked, this, [this] { Image1_Click(0); });
    connect(Label2, &widgets::ClickableLabel::clicked, this, [this] { Image1_Click(1); });
    connect(Label3, &widgets::ClickableLabel::clicked, this, &frmMain::mnuHelpTopic_Click);
    connect(Label4, &widgets::ClickableLabel::clicked, this, [this] { Image1_Click(3); });
    setCentralWidget(area);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true); // the panels stay readable over the picture
    const QString panelTexts[3] = {QStringLiteral("欢迎使用Qorvan输入法第四版分词教学系统"),
                                   QStringLiteral("CAPS"), QStringLiteral("NUM")};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(panelTexts[i], StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setContentsMargins(6, 0, 6, 0);
        StatusBar1Panels[i] = panel;
        if (i == 0)
            StatusBar1->addWidget(panel, 1);
        else
            StatusBar1->addPermanentWidget(panel);
    }
    StatusBar1Panels[1]->setToolTip(QStringLiteral("大写锁定"));
    StatusBar1Panels[2]->setToolTip(QStringLiteral("数字锁定"));
}

void frmMain::buildMenus() {
    mnuSplit = menuBar()->addMenu(QStringLiteral("分词训练"));
    mnuSplit->setObjectName(QStringLiteral("mnuSplit"));
    mnuFcTest = mnuSplit->addAction(QStringLiteral("分词测试"));
    mnuFcTest->setObjectName(QStringLiteral("mnuFcTest"));
    mnuPreSplit = mnuSplit->addAction(QStringLiteral("分词结果处理"));
    mnuPreSplit->setObjectName(QStringLiteral("mnuPreSplit"));
    mnuSplit->addSeparator();
    mnuHistory = mnuSplit->addAction(QStringLiteral("成绩记录"));
    mnuHistory->setObjectName(QStringLiteral("mnuHistory"));

    mnuHelp = menuBar()->addMenu(QStringLiteral("帮助"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpTopic = mnuHelp->addAction(QStringLiteral("帮助主题"));
    mnuHelpTopic->setObjectName(QStringLiteral("mnuHelpTopic"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("关于..."));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));

    // A command on the menu bar itself, without a drop-down.
    mnuExit = menuBar()->addAction(QStringLiteral("退出"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    connect(mnuFcTest, &QAction::triggered, this, [this] { Image1_Click(0); });
    connect(mnuPreSplit, &QAction::triggered, this, [this] { Image1_Click(1); });
    connect(mnuHistory, &QAction::triggered, this, [this] { history::showHistory(m_state, this); });
    connect(mnuHelpTopic, &QAction::triggered, this, &frmMain::mnuHelpTopic_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
    connect(mnuExit, &QAction::triggered, this, [this] { Image1_Click(3); });
}

frmMain::StartupResult frmMain::Form_Load(ime::InputMethodBackend *backend) {
    coding::MessageService &messages = m_state.services.messages();

    // 1, 2: caption and place.
    setWindowTitle(kProgramTitle);
    widgets::centreOnScreen(*this);

    // 3: the input method; its message (if any) does not stop the start.
    DetectInputMethod(m_state, backend);

    // 4, 5: menu icons and the pointer over the picture buttons.
    mnuFcTest->setIcon(QIcon(picMenuIcons[0]));
    mnuPreSplit->setIcon(QIcon(picMenuIcons[1]));
    mnuHelpTopic->setIcon(QIcon(picMenuIcons[2]));
    const QCursor pointer(QPixmap(QStringLiteral(":/pictures/pointer.png")), 1, 1);
    for (auto *picture : Image1)
        picture->setCursor(pointer);

    // 6: the pictures that the windows wear.
    for (qint16 id : widgets::kPictureIds) {
        const QString name = widgets::pictureFileName(id);
        if (!widgets::ExtractResourceFile(m_state.appDir, id, widgets::kPictureType, name)) {
            messages.show(kWriteFailedText, kProgramTitle, coding::MsgButtons::OkCancel,
                          coding::MsgIcon::Critical);
            return StartupResult::PictureNotWritten;
        }
        m_writtenPictures << name;
    }

    // 7: the background.
    m_background = widgets::loadPicture(m_state.appDir.filePath(widgets::pictureFileName(101)));
    if (m_background.isNull()) {
        messages.show(kBackgroundMissingText, kMessageTitle, coding::MsgButtons::Ok,
                      coding::MsgIcon::Critical);
        return StartupResult::BackgroundMissing;
    }
    update();
    return StartupResult::Ready;
}

void frmMain::Image1_Click(int index) {
    switch (index) {
    case 0:
        openWorkWindow(m_windows.fcTest);
        break;
    case 1:
        openWorkWindow(m_windows.preSplit);
        break;
    case 2:
        mnuHelpTopic_Click();
        break;
    case 3:
        if (Form_QueryUnload())
            leave();
        break;
    default:
        break;
    }
}

void frmMain::openWorkWindow(const std::function<bool(QWidget &)> &window) {
    if (window && !window(*this)) {
        m_exitCode = 1;
        leave();
    }
}

void frmMain::mnuHelpTopic_Click() {
    showHelp(kMainHelpPage);
}

void frmMain::showHelp(const QString &page) {
    auto file = HelpViewer::openHelpFile(m_state.appDir.dataFile(kHelpFileName));
    if (!file) {
        m_state.services.messages().show(kHelpMissingText, kProgramTitle, coding::MsgButtons::Ok,
                                         coding::MsgIcon::Information);
        return;
    }
    // A window that runs modally blocks every window but its own: the help must
    // be one of its windows to be read while it runs.
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = this;
    if (m_help && m_help->parentWidget() != front)
        delete m_help;
    if (!m_help) {
        m_help = new HelpViewer(front);
        widgets::centreOnScreen(*m_help);
    }
    m_help->showFile(std::move(file), page);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void frmMain::mnuAbout_Click() {
    frmAbout about(this);
    about.exec();
}

bool frmMain::Form_QueryUnload() {
    const auto answer = m_state.services.messages().show(
        kExitQuestion, kMessageTitle, coding::MsgButtons::YesNo, coding::MsgIcon::Question);
    if (answer != coding::MsgAnswer::Yes)
        return false;
    // Only the pictures this run wrote: other files of the directory, pictures of
    // the user's own among them, stay.
    for (const QString &name : std::as_const(m_writtenPictures))
        QFile::remove(m_state.appDir.filePath(name));
    m_writtenPictures.clear();
    return true;
}

void frmMain::leave() {
    m_leaving = true;
    if (m_help)
        m_help->close();
    close();
}

void frmMain::closeEvent(QCloseEvent *event) {
    if (m_leaving || Form_QueryUnload()) {
        m_leaving = true;
        if (m_help)
            m_help->close();
        event->accept();
    } else {
        event->ignore();
    }
}

void frmMain::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    scaleControls();
}

void frmMain::scaleControls() {
    const qreal f = std::clamp(std::min(qreal(width()) / kMainDesignSize.width(),
                                        qreal(height()) / kMainDesignSize.height()),
                               qreal(0.75), qreal(4));
    const auto scaled = [f](int design) { return int(std::lround(design * f)); };
    m_grid->setContentsMargins(scaled(40), scaled(30), scaled(40), scaled(30));
    m_grid->setHorizontalSpacing(scaled(80));
    m_grid->setVerticalSpacing(scaled(36));
    for (widgets::ClickableLabel *picture : Image1)
        picture->setFixedSize(scaled(kPictureSize), scaled(kPictureSize));
    for (widgets::ClickableLabel *label : {Label1, Label2, Label3, Label4}) {
        QFont font = label->font();
        font.setPointSizeF(m_captionPoints * f);
        label->setFont(font);
    }
}

void frmMain::paintEvent(QPaintEvent *event) {
    // The background fills the window, cut to the window's proportions.
    if (!m_background.paint(*this))
        QMainWindow::paintEvent(event);
}

void frmMain::updateLockPanels() {
    // Lit when the lock is on, greyed when it is off.
    StatusBar1Panels[1]->setEnabled(m_lockKeys.capsLock());
    StatusBar1Panels[2]->setEnabled(m_lockKeys.numLock());
}

} // namespace app
