#include "frmfctest.h"

#include "practice.h"
#include "testtextfile.h"
#include "testtextview.h"
#include "typingbox.h"
#include "widgets/picturebutton.h"
#include "widgets/workwindow.h"

#include "coding/codelookup.h"
#include "coding/settings.h"
#include "coding/textcolouring.h"
#include "history/dlgreview.h"
#include "history/frmhistory.h"
#include "history/historyfigures.h"
#include "options/frmoptions.h"
#include "prepare/filterfiles.h"
#include "prepare/frmopenfile.h"
#include "prepare/handover.h"
#include "prepare/textpreparation.h"
#include "stats/dlgmissed.h"
#include "stats/dlgresult.h"
#include "stats/keyplan.h"
#include "stats/resultfigures.h"
#include "widgets/centring.h"
#include "widgets/layout.h"
#include "widgets/messages.h"
#include "widgets/pictures.h"
#include "words/dlgaddword.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStatusBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace typing {

namespace {

const QString kMessageTitle = QStringLiteral("提示信息");
const QString kWelcomeTitle = QStringLiteral("欢迎信息");
const QString kStatusWelcome = QStringLiteral("欢迎进入分词测试");
const QString kPauseCaption = QStringLiteral("暂停测试");
const QString kResumeCaption = QStringLiteral("继续测试");

// 400 twips: the input box keeps this far from the right edge of the text.
constexpr int kBoxRightGap = 27;
// The text ends this far above the status bar (the original measured its 500 twips
// from the window's outer height, title bar included).
constexpr int kTextBottomGap = 4;

// The design rectangles of the controls (px, in the window's inner area at the
// design size).
constexpr int kButtonLeft = 670, kButtonWidth = 100, kButtonHeight = 32;
constexpr QSize kBoxSize{14, 25}; // about 210 x 375 twips

QString tipsText() {
    return QStringLiteral(
        "\n\n    本单元根据用户打开的文本文件进行分词测试。系统把用户打开的文本文件切"
        "分成词组，帮助用户练习Qorvan输入法的词组输入，并对文本文件包含的词组信"
        "息和用户的输入练习情况提供详细的统计信息。\n    系统还提供保存分词结果和"
        "统计信息的功能，以方便用户对文件进行分析和记录自己的练习成绩。\n\n");
}

// The time of day as the system shows it, without a time zone.
QString timeOfDay(const QTime &time) {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

} // namespace

frmFcTest::frmFcTest(coding::AppState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_document(new QTextDocument(this)),
      m_session(state, *m_document) {
    setObjectName(QStringLiteral("frmFcTest"));
    setWindowTitle(QStringLiteral("分词测试"));
    buildControls();
    buildMenus();
    connect(&m_lockKeys, &widgets::LockKeys::changed, this, &frmFcTest::updateNumLockPanel);
    connect(&m_session, &Session::phaseChanged, this, &frmFcTest::applyPhase);
    connect(&m_session, &Session::markChanged, mainText, &TestTextView::setMark);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { m_state.services.help().showHelp(kTestHelpPage); });
    updateNumLockPanel();
    setMinimumSize(kMinimumSize);
    resize(kDesignSize);
}

frmFcTest::~frmFcTest() = default;

void frmFcTest::buildControls() {
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("fcTestArea"));
    setCentralWidget(area);
    const int areaHeight = kDesignSize.height() - 22; // the status bar takes the rest
    const int textWidth = kDesignSize.width() - kButtonWidth * 16 / 10;
    const int textHeight = areaHeight - kTextBottomGap;

    // Title, frame and help first, so that the text covers them once it is shown.
    const widgets::WelcomePanel welcome = widgets::buildWelcomePanel(
        *area, QStringLiteral("欢迎进入分词测试！"), QStringLiteral("LabelFc"));
    LabelFc = welcome.title;
    Shape1 = welcome.frame;
    lblTips = welcome.tips;

    // The text: no caret, no clicks, no typing; it scrolls.
    mainText = new TestTextView(area);
    mainText->setObjectName(QStringLiteral("mainText"));
    mainText->setDocument(m_document);
    mainText->document()->setUndoRedoEnabled(false);
    mainText->setFont(testTextFont());
    mainText->setReadOnly(true);
    mainText->setTextInteractionFlags(Qt::NoTextInteraction);
    mainText->setFocusPolicy(Qt::NoFocus);
    mainText->setContextMenuPolicy(Qt::NoContextMenu);
    mainText->viewport()->installEventFilter(this);
    mainText->setGeometry(0, 0, textWidth, textHeight);
    mainText->hide();

    tmpText = new TypingBox(area);
    tmpText->setObjectName(QStringLiteral("tmpText"));
    // As small as the box of the design, but never lower than its font needs.
    const int boxHeight = std::max(kBoxSize.height(), tmpText->sizeHint().height());
    tmpText->setGeometry(textWidth - kBoxSize.width() - kBoxRightGap, textHeight - boxHeight,
                         kBoxSize.width(), boxHeight);
    tmpText->hide();
    connect(tmpText, &TypingBox::typed, this, &frmFcTest::tmpText_Typed);
    connect(tmpText, &TypingBox::navigationKey, this, &frmFcTest::tmpText_KeyDown);
    connect(tmpText, &TypingBox::keyReleased, this, &frmFcTest::tmpText_KeyUp);
    connect(tmpText, &TypingBox::focusEntered, &m_session, &Session::inputBoxFocused);

    const auto button = [&](widgets::PictureButton *&control, const char *name, const char *caption,
                            int top) {
        control = widgets::addCommandButton(*area, name, QString::fromUtf8(caption),
                                            QRect(kButtonLeft, top, kButtonWidth, kButtonHeight));
    };
    button(CmdStartTest, "CmdStartTest", "开始测试", 40);
    button(CmdPauTest, "CmdPauTest", "暂停测试", 86);
    button(CmdEndTest, "CmdEndTest", "结束测试", 132);
    button(cmdFile, "cmdFile", "文   件", 200);
    button(CmdCalc, "CmdCalc", "统计信息", 246);
    button(CmdSetting, "CmdSetting", "选项设置", 292);
    button(CmdQuit, "CmdQuit", "退   出", 360);
    connect(CmdStartTest, &QPushButton::clicked, this, &frmFcTest::CmdStartTest_Click);
    connect(CmdPauTest, &QPushButton::clicked, this, &frmFcTest::CmdPauTest_Click);
    connect(CmdEndTest, &QPushButton::clicked, this, &frmFcTest::CmdEndTest_Click);
    connect(cmdFile, &QPushButton::clicked, this, &frmFcTest::cmdFile_Click);
    connect(CmdCalc, &QPushButton::clicked, this, &frmFcTest::CmdCalc_Click);
    connect(CmdQuit, &QPushButton::clicked, this, &frmFcTest::CmdQuit_Click);
    connect(CmdSetting, &QPushButton::clicked, this, &frmFcTest::CmdSetting_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmFcTest::Timer1_Timer);
    tmrLimitTime = new QTimer(this);
    tmrLimitTime->setObjectName(QStringLiteral("tmrLimitTime"));
    tmrLimitTime->setInterval(1000);
    connect(tmrLimitTime, &QTimer::timeout, this, &frmFcTest::tmrLimitTime_Timer);
    tmrImeState = new QTimer(this);
    tmrImeState->setObjectName(QStringLiteral("tmrImeState"));
    tmrImeState->setInterval(1000);
    connect(tmrImeState, &QTimer::timeout, this, &frmFcTest::showInputMethodState);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true);
    const QString panelTexts[4] = {kStatusWelcome, QString(), QStringLiteral("NUM"), QString()};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(panelTexts[i], StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setContentsMargins(6, 0, 6, 0);
        StatusBar1Panels[size_t(i)] = panel;
        if (i == 0)
            StatusBar1->addWidget(panel, 1);
        else
            StatusBar1->addPermanentWidget(panel);
    }
    lblLiveFigures = new QLabel(StatusBar1);
    lblLiveFigures->setObjectName(QStringLiteral("lblLiveFigures"));
    lblLiveFigures->setContentsMargins(6, 0, 6, 0);
    StatusBar1->insertPermanentWidget(1, lblLiveFigures); // after the message panel
    tmrLiveFigures = new QTimer(this);
    tmrLiveFigures->setObjectName(QStringLiteral("tmrLiveFigures"));
    tmrLiveFigures->setInterval(1000);
    connect(tmrLiveFigures, &QTimer::timeout, this, &frmFcTest::showLiveFigures);
    StatusBar1Panels[1]->setMinimumWidth(90);
    StatusBar1Panels[2]->setToolTip(QStringLiteral("数字锁定"));
}

void frmFcTest::buildMenus() {
    // Pop-up menus of cmdFile and CmdCalc; the window shows no menu bar.
    mnuFile = new QMenu(QStringLiteral("文件(&F)"), this);
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const auto item = [](QMenu *menu, QAction *&action, const char *name, const char *caption) {
        action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
    };
    item(mnuFile, mnuOpenTestFile, "mnuOpenTestFile", "打开测试文件(&O)…");
    item(mnuFile, mnuOpenExample, "mnuOpenExample", "打开分词例文(&E)…");
    item(mnuFile, mnuAddWord, "mnuAddWord", "添加自定义词…");
    item(mnuFile, mnuSaveTestFile, "mnuSaveTestFile", "保存分词结果…");
    item(mnuFile, mnuSaveResult, "mnuSaveResult", "保存分词例文(&S)…");
    mnuFile->addSeparator();
    item(mnuFile, mnuDrill, "mnuDrill", "练习这些词(&P)");
    mnuDrill->setToolTip(QStringLiteral("用最近测试中打错的词和错过捷径的词组成练习文本"));
    mnuLessons = mnuFile->addMenu(QStringLiteral("内置练习(&L)"));
    mnuLessons->setObjectName(QStringLiteral("mnuLessons"));
    for (const LessonKind kind : {LessonKind::TwoCharacterWords, LessonKind::ThreeCharacterWords,
                                  LessonKind::FourCharacterWords, LessonKind::ShortCodeItems}) {
        QMenu *sets = mnuLessons->addMenu(lessonKindName(kind));
        for (int set = 0; set < kLessonSets; ++set) {
            QAction *lesson = sets->addAction(QStringLiteral("第%1组").arg(set + 1));
            lesson->setObjectName(QStringLiteral("mnuLesson%1_%2").arg(int(kind)).arg(set + 1));
            connect(lesson, &QAction::triggered, this, [this, kind, set] {
                QString error;
                const auto words = lessonWords(
                    m_state.appDir.dataFile(QStringLiteral("qorvan.txt")), kind, set, &error);
                if (!words || words->isEmpty()) {
                    m_state.services.messages().show(
                        words ? QStringLiteral("这一组没有可练习的词。") : error, kMessageTitle,
                        coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
                    return;
                }
                openPractice(practiceText(*words, 2, quint32(int(kind) * 10 + set)));
            });
        }
    }
    connect(mnuDrill, &QAction::triggered, this, &frmFcTest::mnuDrill_Click);

    mnuCalc = new QMenu(QStringLiteral("统计(&S)"), this);
    mnuCalc->setObjectName(QStringLiteral("mnuCalc"));
    item(mnuCalc, mnuStaInfo, "mnuStaInfo", "统计信息(&C)…");
    item(mnuCalc, mnuStaSave, "mnuStaSave", "保存结果(&S)…");
    mnuCalc->addSeparator();
    item(mnuCalc, mnuReview, "mnuReview", "错误回顾(&R)…");
    item(mnuCalc, mnuHistory, "mnuHistory", "成绩记录(&H)…");
    connect(mnuReview, &QAction::triggered, this, &frmFcTest::showReview);
    connect(mnuHistory, &QAction::triggered, this, [this] { history::showHistory(m_state, this); });

    connect(mnuOpenTestFile, &QAction::triggered, this, &frmFcTest::mnuOpenTestFile_Click);
    connect(mnuStaInfo, &QAction::triggered, this, &frmFcTest::mnuStaInfo_Click);
    connect(mnuOpenExample, &QAction::triggered, this, &frmFcTest::mnuOpenExample_Click);
    connect(mnuAddWord, &QAction::triggered, this, [this] {
        words::DlgAddWord dialog(m_state, this);
        execDialog(dialog);
    });
    connect(mnuSaveResult, &QAction::triggered, this, &frmFcTest::mnuSaveResult_Click);
    connect(mnuSaveTestFile, &QAction::triggered, this, &frmFcTest::mnuSaveTestFile_Click);
    connect(mnuStaSave, &QAction::triggered, this, &frmFcTest::mnuStaSave_Click);
}

bool frmFcTest::run(coding::AppState &state, QWidget &parent) {
    frmFcTest window(state, &parent);
    if (!window.Form_Load())
        return false; // the message has told why; the program ends
    window.exec();
    return true;
}

bool frmFcTest::Form_Load() {
    // 1, 2: the place on the screen and the design of the layout.
    widgets::centreOnScreen(*this);
    widgets::RecordControlLayout(*this, m_layout);

    // 3, 4: the background and the faces of the command buttons.
    coding::MessageService &messages = m_state.services.messages();
    const auto picture = [this](qint16 id) {
        return widgets::loadPicture(m_state.appDir.filePath(widgets::pictureFileName(id)));
    };
    const auto missing = [&messages] {
        messages.show(kPicturesMissingMessage, kMessageTitle, coding::MsgButtons::Ok,
                      coding::MsgIcon::Critical);
        return false;
    };
    m_background = picture(101);
    if (m_background.isNull())
        return missing();
    if (!widgets::setCommandFaces(*centralWidget(), m_state.appDir))
        return missing();

    // 5, 6: the design font sizes and the settings.
    m_baseFontSizes = {cmdFile->font().pointSize(), LabelFc->font().pointSize(),
                       lblTips->font().pointSize()};
    coding::LoadSettings(m_state);

    // 7, 8, 9: no text yet.
    mainText->hide();
    tmpText->hide();
    lblTips->setText(tipsText());
    m_state.editor.EditorIsTarget = false;
    applyPhase(m_session.phase());
    tmrImeState->start();
    m_loaded = true;
    return true;
}

void frmFcTest::applyPhase(Phase phase) {
    const bool inProgress = phase == Phase::Running || phase == Phase::Paused;
    const bool hasText = phase != Phase::NoText;
    for (QWidget *w : {static_cast<QWidget *>(cmdFile), static_cast<QWidget *>(CmdStartTest),
                       static_cast<QWidget *>(CmdCalc), static_cast<QWidget *>(CmdSetting),
                       static_cast<QWidget *>(CmdQuit)})
        w->setEnabled(!inProgress);
    mnuOpenTestFile->setEnabled(!inProgress);
    mnuOpenExample->setEnabled(!inProgress);
    for (QAction *a : {mnuStaInfo, mnuStaSave})
        a->setEnabled(hasText && !inProgress);
    mnuSaveTestFile->setEnabled(hasText && !inProgress && !m_textIsExample);
    mnuSaveResult->setEnabled(hasText && !inProgress && m_state.settings.NeedFc);
    // Custom words can be added whenever no test runs.
    mnuAddWord->setEnabled(!inProgress);
    mnuReview->setEnabled(!inProgress && m_lastTest.has_value());
    mnuDrill->setEnabled(!inProgress && m_state.history);
    mnuLessons->setEnabled(!inProgress);
    mnuHistory->setEnabled(!inProgress && m_state.history);
    if (inProgress)
        tmrLiveFigures->start();
    else
        tmrLiveFigures->stop();
    showLiveFigures();

    CmdPauTest->setEnabled(inProgress);
    CmdPauTest->setText(phase == Phase::Paused ? kResumeCaption : kPauseCaption);
    CmdEndTest->setEnabled(phase == Phase::Running);
    tmpText->setChecking(phase == Phase::Running);

    // The clock shows the time of day, or the countdown while a limited test runs.
    const bool countdown = inProgress && m_state.settings.IsLimitTime;
    if (phase == Phase::Running && countdown) {
        if (!tmrLimitTime->isActive())
            tmrLimitTime->start();
    } else {
        tmrLimitTime->stop();
    }
    if (countdown)
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
    if (phase == Phase::Ended)
        StatusBar1Panels[0]->clear();
    showInputMethodState();
}

void frmFcTest::exec() {
    setWindowModality(Qt::ApplicationModal);
    show();
    if (m_closed)
        return;
    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
}

// --- The text arrives -----------------------------------------------------------

void frmFcTest::receiveText(const prepare::PreparedText &prepared,
                            const prepare::ProgressCallback &progress) {
    mainText->clear();
    // Nothing of the last text's formats may carry over: the view types new text
    // in the format at its cursor, which may rest in an underlined word.
    mainText->setCurrentCharFormat(QTextCharFormat());
    mainText->setPlainText(prepared.text);
    m_textIsExample = false;
    m_session.textArrived();
    applyPhase(m_session.phase()); // the commands of a text file, even from Ready to Ready
    if (!coding::PrepareTestText(m_state, *mainText->document(),
                                 prepare::colouringProgress(progress)))
        widgets::reportCodeDatabaseError(m_state);
    mainText->moveCursor(QTextCursor::Start);
}

void frmFcTest::mnuOpenTestFile_Click() {
    const Qt::WindowStates before = windowState();
    m_state.editor.EditorIsTarget = false;
    prepare::frmOpenFile dialog(m_state, *this, this);
    execDialog(dialog);
    if (!mainText->document()->isEmpty()) {
        mainText->show();
        SetPosofText();
    }
    setWindowState(before);
}

// --- Start, pause, end ----------------------------------------------------------

void frmFcTest::CmdStartTest_Click() {
    // A text must be shown.
    if (mainText->isHidden() || m_session.phase() == Phase::NoText) {
        m_state.services.messages().show(kNoTextMessage, kMessageTitle, coding::MsgButtons::Ok,
                                         coding::MsgIcon::Exclamation);
        return;
    }
    // The coloured text as it is now, for the result dialog's exit. Without a copy
    // the exit colours the text again by its tags, so an old copy must not stay
    // behind.
    if (!saveTestTextCopy(m_state, *mainText->document(), nullptr))
        removeTestTextCopy(m_state);

    // The input box, then the test: the times, the countdown, the counts, the
    // first character.
    tmpText->show();
    tmpText->setEnabled(true);
    tmpText->clear();
    m_session.start();

    // 11, 13: the box at its place with the focus, the welcome texts away.
    SetPosofText();
    placeInputBox();
    followCurrentCharacter();
    LabelFc->hide();
    lblTips->hide();
    Shape1->hide();

    // 3: the input method, once the box has the focus.
    openInputMethodWhenFocused();
}

void frmFcTest::CmdPauTest_Click() {
    m_session.pauseOrResume();
    if (m_session.running()) {
        tmpText->setFocus();
        openInputMethodWhenFocused();
    }
}

void frmFcTest::CmdEndTest_Click() {
    if (!m_session.running())
        return;
    m_session.end();
    testEnded();
}

void frmFcTest::showResult() {
    stats::DlgResult dialog(
        m_state, mainText->document()->toRawText(), [this] { restoreTestText(); }, this);
    if (m_state.history)
        dialog.setOpenHistory([this, &dialog] { history::showHistory(m_state, &dialog); });
    if (m_lastTest && !m_lastTest->inputs.isEmpty())
        dialog.setOpenMissed([this, &dialog] {
            stats::DlgMissed missed(m_state, m_lastTest->text, m_lastTest->tags, m_lastTest->inputs,
                                    &dialog);
            execDialog(missed);
        });
    execDialog(dialog);
}

void frmFcTest::testEnded() {
    showLiveFigures();
    QList<history::Mistake> mistakes;
    for (const auto &wrong : m_session.check().wrongCharacters())
        mistakes.append({wrong.position, wrong.expected, wrong.typed});
    // The fewest keys a character of the text, beside the learner's (理论码长).
    double best = 0;
    if (coding::openCodeDatabase(m_state)) {
        if (const auto plan = stats::planFewestKeys(m_state.codeDatabase, m_state.text.text,
                                                    m_state.text.SegmentTags);
            plan && !m_state.text.text.isEmpty())
            best = double(plan->total) / stats::characterCount(m_state.text.text);
    }
    m_lastTest = history::detailOfTest(m_state, mistakes, m_state.services.clock().now(), best);
    m_lastTest->inputs = m_session.check().inputs();
    if (m_state.history)
        m_state.history->recordAndTell(*m_lastTest, m_state.services.messages());
    applyPhase(m_session.phase());
    showResult();
}

void frmFcTest::openPractice(const QString &text) {
    coding::LibraryError error;
    const auto prepared = prepare::segmentAndPrepare(*m_state.library, text, {}, &error);
    if (!prepared) {
        m_state.services.messages().show(widgets::libraryMessage(error), kMessageTitle,
                                         coding::MsgButtons::Ok, coding::MsgIcon::Critical);
        return;
    }
    m_state.editor.EditorIsTarget = false;
    prepare::handOver(m_state, *this, *prepared, {});
    mainText->show();
    SetPosofText();
}

QStringList frmFcTest::drillWords() {
    QStringList words;
    QString error;
    const auto entries = m_state.history ? m_state.history->entries(&error, false) : std::nullopt;
    if (!entries)
        return words;
    constexpr int kRecentTests = 10;
    const bool database = coding::openCodeDatabase(m_state);
    for (qsizetype i = 0; i < entries->size() && i < kRecentTests; ++i) {
        const auto detail = m_state.history->detail(entries->at(i).id, &error);
        if (!detail || detail->text.isEmpty())
            continue;
        for (const history::WrongWord &w : history::wrongWords(*detail))
            if (!words.contains(w.word))
                words << w.word;
        if (!database || detail->inputs.isEmpty())
            continue;
        if (const auto plan =
                stats::planFewestKeys(m_state.codeDatabase, detail->text, detail->tags)) {
            const auto missed = stats::findMissedShortcuts(
                *plan, detail->text, detail->inputs, [this](const QString &part) {
                    return stats::fewestKeysOf(m_state.codeDatabase, part);
                });
            for (const stats::MissedShortcut &m : missed)
                if (!words.contains(m.item))
                    words << m.item;
        }
    }
    return words.mid(0, kWordsPerSet);
}

void frmFcTest::mnuDrill_Click() {
    const QStringList words = drillWords();
    if (words.isEmpty()) {
        m_state.services.messages().show(
            QStringLiteral("最近的测试中没有打错的词，也没有错过的捷径，暂无可练习的词。"),
            kMessageTitle, coding::MsgButtons::Ok, coding::MsgIcon::Information);
        return;
    }
    openPractice(practiceText(words, 3, quint32(m_state.services.clock().tickMs())));
}

void frmFcTest::showReview() {
    if (!m_lastTest)
        return;
    history::DlgReview review(m_state, *m_lastTest, this);
    execDialog(review);
}

void frmFcTest::showLiveFigures() {
    if (m_session.phase() != Phase::Running && m_session.phase() != Phase::Paused &&
        m_session.phase() != Phase::Ended) {
        lblLiveFigures->clear();
        return;
    }
    const bool countdown = m_state.settings.IsLimitTime && m_session.phase() != Phase::Ended;
    lblLiveFigures->setText(stats::liveFiguresText(m_session.elapsedMs(), m_state.test.RightCount,
                                                   m_state.test.ErrCount,
                                                   countdown ? m_session.remainingSeconds() : -1));
}

void frmFcTest::restoreTestText() {
    typing::restoreTestText(m_state, *mainText->document());
    widgets::reportCodeDatabaseError(m_state);
}

void frmFcTest::mnuStaInfo_Click() {
    showResult();
}

void frmFcTest::openInputMethodWhenFocused() {
    // Otherwise when the window gets the focus back.
    if (tmpText->hasFocus())
        m_session.inputBoxFocused();
}

// --- Typing -------------------------------------------------------------------

void frmFcTest::tmpText_Typed(const QString &typed) {
    if (!m_session.running())
        return;
    const bool ended = m_session.typed(typed);
    placeInputBox();
    if (!ended) {
        followCurrentCharacter();
        return;
    }
    // The result opens once the input box has finished with this input.
    QMetaObject::invokeMethod(this, &frmFcTest::testEnded, Qt::QueuedConnection);
}

void frmFcTest::tmpText_KeyDown(int key) {
    if (!m_session.running())
        return;
    switch (key) {
    case Qt::Key_Right:
        m_session.moveRight();
        break;
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        m_session.moveLeft();
        break;
    case Qt::Key_F2:
        tmpText->clear();
        showCodeHint();
        break;
    default:
        return;
    }
    followCurrentCharacter();
}

void frmFcTest::tmpText_KeyUp() {
    m_session.keyReleased();
}

void frmFcTest::showCodeHint() {
    const QString item = m_session.hintItem();
    QString stdCode, shortCode;
    if (!coding::LookupCodes(m_state, item, stdCode, shortCode)) {
        widgets::reportCodeDatabaseError(m_state);
        return;
    }
    const coding::CandidatePlace place =
        stdCode.isEmpty() ? coding::CandidatePlace{} : candidatePlace(item);
    StatusBar1Panels[0]->setText(codeHintMessage(item, stdCode, shortCode, place));
}

coding::CandidatePlace frmFcTest::candidatePlace(const QString &item) {
    // A database without the table (an older one) gives hints without a place; a
    // query that fails closes the table, and the hints go on without it.
    if (!m_candidatesTried) {
        m_candidatesTried = true;
        m_candidates.open(m_state.appDir.dataFile(QStringLiteral("jtdb.dat")));
    }
    coding::CandidatePlace place;
    if (m_candidates.isOpen())
        m_candidates.find(item, place);
    return place;
}

void frmFcTest::placeInputBox() {
    const QRect text = mainText->geometry();
    if (m_session.check().position() >= 200)
        tmpText->move(0, text.top() + text.height() / 4);
    else
        tmpText->move(text.left() + text.width() - tmpText->width() - kBoxRightGap,
                      text.top() + text.height() - tmpText->height());
    if (tmpText->hasFocus() && QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void frmFcTest::followCurrentCharacter() {
    QTextCursor cursor(mainText->document());
    cursor.setPosition(
        std::min(m_session.check().position(), mainText->document()->characterCount() - 1));
    mainText->setTextCursor(cursor);
    mainText->ensureCursorVisible();
}

// --- Clock and countdown --------------------------------------------------------

void frmFcTest::Timer1_Timer() {
    StatusBar1Panels[1]->setText(timeOfDay(m_state.services.clock().now().time()));
}

void frmFcTest::showInputMethodState() {
    ime::InputMethodBackend *backend = m_state.inputMethod.backend;
    if (!backend) {
        StatusBar1Panels[3]->setText(kNoInputMethodCaption);
        return;
    }
    if (m_imeQueryPending)
        return;
    m_imeQueryPending = true;
    backend->queryCurrentId(this, [this, backend](const QString &id) {
        m_imeQueryPending = false;
        const auto &im = m_state.inputMethod;
        if (!m_imeNames && !id.isEmpty() && id != im.ImeLayoutHandle &&
            id != im.EnglishLayoutHandle)
            m_imeNames = backend->list().value_or(QList<ime::InputMethodInfo>{});
        StatusBar1Panels[3]->setText(
            inputMethodCaption(id, im, m_imeNames.value_or(QList<ime::InputMethodInfo>{})));
    });
}

void frmFcTest::tmrLimitTime_Timer() {
    const bool wasRunning = m_session.running();
    StatusBar1Panels[1]->setText(formatCountdown(m_session.countdownTick()));
    if (wasRunning && m_session.phase() == Phase::Ended)
        testEnded();
}

// --- Buttons and menus ----------------------------------------------------------

void frmFcTest::popUp(QMenu &menu, const QWidget &button) {
    const QPoint at(button.x() + button.width(), button.y() + button.height() / 2);
    menu.popup(button.parentWidget()->mapToGlobal(at));
}

void frmFcTest::cmdFile_Click() {
    popUp(*mnuFile, *cmdFile);
}

void frmFcTest::CmdSetting_Click() {
    options::frmOptions dialog(m_state, this);
    // A setting that colours the text changed: the text on screen takes it at once,
    // and "保存分词例文" follows 需要分词.
    connect(&dialog, &options::frmOptions::displayChanged, this, [this] {
        if (!mainText->isVisible())
            return;
        applyPhase(m_session.phase());
        if (!coding::PrepareTestText(m_state, *mainText->document()))
            widgets::reportCodeDatabaseError(m_state);
        mainText->moveCursor(QTextCursor::Start);
    });
    execDialog(dialog);
}

void frmFcTest::CmdCalc_Click() {
    popUp(*mnuCalc, *CmdCalc);
}

void frmFcTest::CmdQuit_Click() {
    close();
}

// --- Layout ---------------------------------------------------------------------

void frmFcTest::SetPosofText() {
    if (isMinimized())
        return;
    const QWidget *area = centralWidget();
    mainText->setGeometry(0, 0, area->width() - cmdFile->width() * 16 / 10,
                          area->height() - kTextBottomGap);
    tmpText->move(mainText->x() + mainText->width() - tmpText->width() - kBoxRightGap,
                  mainText->y() + mainText->height() - tmpText->height());
    if (tmpText->isVisible())
        tmpText->setFocus();
    mnuFile->hide();
}

void frmFcTest::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (!m_loaded)
        return;
    Form_Resize();
}

void frmFcTest::Form_Resize() {
    widgets::ResizeForm(*this, m_layout);
    if (m_layout.ScaleFactorX > 0) {
        const double grow = m_layout.ScaleFactorY - 1;
        const auto sized = [](QWidget *w, int points) { widgets::setFontPoints(*w, points); };
        const int buttonPoints = int(std::trunc(grow * 12)) + m_baseFontSizes[0];
        for (QWidget *w : {static_cast<QWidget *>(cmdFile), static_cast<QWidget *>(CmdStartTest),
                           static_cast<QWidget *>(CmdPauTest), static_cast<QWidget *>(CmdEndTest),
                           static_cast<QWidget *>(CmdSetting), static_cast<QWidget *>(CmdCalc),
                           static_cast<QWidget *>(CmdQuit)})
            sized(w, buttonPoints);
        sized(LabelFc, int(std::trunc(grow * 12)) + m_baseFontSizes[1]);
        sized(lblTips, int(std::trunc(grow * 15)) + m_baseFontSizes[2]);
        // The test text in proportion to the smaller scale, so that a line holds
        // about as many characters at any size of the window.
        const double textScale = std::min(m_layout.ScaleFactorX, m_layout.ScaleFactorY);
        sized(mainText, int(std::trunc(testTextFont().pointSize() * textScale)));
    }
    // The window springs back to its smallest size.
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) &&
        (width() < kMinimumSize.width() || height() < kMinimumSize.height()))
        resize(std::max(width(), kMinimumSize.width()), std::max(height(), kMinimumSize.height()));
    // The text and the box keep their places at the new size.
    if (!mainText->isHidden()) {
        const QWidget *area = centralWidget();
        mainText->setGeometry(0, 0, area->width() - cmdFile->width() * 16 / 10,
                              area->height() - kTextBottomGap);
        placeInputBox();
    }
}

void frmFcTest::paintEvent(QPaintEvent *event) {
    if (!m_background.paint(*this))
        QMainWindow::paintEvent(event);
}

bool frmFcTest::eventFilter(QObject *watched, QEvent *event) {
    if (watched == mainText->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonPress)
                m_state.services.messages().show(kWelcomeMessage, kWelcomeTitle,
                                                 coding::MsgButtons::Ok,
                                                 coding::MsgIcon::Information);
            return true; // no caret is placed, nothing is selected
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmFcTest::updateNumLockPanel() {
    StatusBar1Panels[2]->setEnabled(m_lockKeys.numLock());
}

// --- Closing --------------------------------------------------------------------

void frmFcTest::closeEvent(QCloseEvent *event) {
    // Closing in the middle of a test would lose the typing without a word: ask.
    if (!m_closed && m_session.inProgress()) {
        const auto answer =
            m_state.services.messages().show(kCloseDuringTestQuestion, kMessageTitle,
                                             coding::MsgButtons::YesNo, coding::MsgIcon::Question);
        if (answer != coding::MsgAnswer::Yes) {
            event->ignore();
            if (m_session.running()) {
                tmpText->setFocus();
                openInputMethodWhenFocused();
            }
            return;
        }
        m_session.end();
        testEnded();
    }
    Form_Unload();
    event->accept();
    QMainWindow::closeEvent(event);
}

void frmFcTest::Form_Unload() {
    if (m_closed)
        return;
    m_closed = true;
    // A test left running or paused is given up: the input method goes back to
    // English and the timers stop.
    m_session.abandon();
    Timer1->stop();
    tmrLimitTime->stop();
    tmrImeState->stop();
    removeTestTextCopy(m_state);
    prepare::FilterFiles(m_state.appDir).removeBackup();
    if (m_loop)
        m_loop->quit();
}

} // namespace typing
