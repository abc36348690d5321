#include "frmpresplit.h"

#include "editedsegmentation.h"
#include "examplefile.h"
#include "frmopenfile.h"

#include "coding/codelookup.h"
#include "coding/rtf.h"
#include "coding/settings.h"
#include "coding/textcolouring.h"
#include "widgets/centring.h"
#include "widgets/messages.h"
#include "widgets/picturebutton.h"
#include "widgets/workwindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QStatusBar>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace prepare {

namespace {

const QString kMessageTitle = QStringLiteral("提示信息");
const QString kPicturesMissingMessage = QStringLiteral("背景图片文件不完整，请重新启动程序！");
const QString kStatusWelcome = QStringLiteral("欢迎进入分词结果处理");

// The design rectangles of the controls (px, in the window's inner area at the
// design size), as in the test window.
constexpr int kButtonLeft = 670, kButtonWidth = 100, kButtonHeight = 32;
constexpr int kTextBottomGap = 4;
constexpr int kTextPoints = 16;

QString tipsText() {
    const QChar quote(u'"');
    return QStringLiteral(
               "\n\n     本单元提供分词结果处理功能。系统对用户打开的文本文件进行分词后，"
               "把文件内容以词的形式显示出来，用户可以对系统的分词结果进行修改，"
               "并保存为") +
           quote + QStringLiteral("分词例文") + quote + QStringLiteral("，然后在") + quote +
           QStringLiteral("分词测试") + quote +
           QStringLiteral("部分打开所保存的分词例文，进行分词测试。\n\n");
}

bool isEnterKey(const QKeyEvent &key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

frmPreSplit::frmPreSplit(coding::AppState &state, QWidget *parent)
    : QMainWindow(parent), m_state(state) {
    setObjectName(QStringLiteral("frmPreSplit"));
    setWindowTitle(QStringLiteral("分词结果处理 "));
    execDialog = [](QDialog &dialog) { return dialog.exec(); };
    buildControls();

    // Enter is "打开文件" (or the button that has the focus), Esc is "退    出".
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &frmPreSplit::enterPressed);
    }
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmPreSplit::cmdExit_Click);

    setMinimumSize(kMinimumSize);
    resize(kDesignSize);
}

frmPreSplit::~frmPreSplit() = default;

void frmPreSplit::buildControls() {
    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("preSplitArea"));
    setCentralWidget(area);
    const int areaHeight = kDesignSize.height() - 22; // the status bar takes the rest
    const int textWidth = kDesignSize.width() - kButtonWidth * 16 / 10;

    // Title, frame and help first, so that the text covers them once it is shown.
    const widgets::WelcomePanel welcome = widgets::buildWelcomePanel(
        *area, QStringLiteral("欢迎进入分词结果处理！"), QStringLiteral("lblPreSplit"));
    lblPreSplit = welcome.title;
    Shape1 = welcome.frame;
    lblTips = welcome.tips;

    // The segmentation: plain text only (a paste brings no formats and no lines).
    txtMain = new QTextEdit(area);
    txtMain->setObjectName(QStringLiteral("txtMain"));
    txtMain->setFont(QFont(QString::fromUtf16(coding::kKaiFontName), kTextPoints));
    txtMain->setAcceptRichText(false);
    txtMain->setTabChangesFocus(true);
    txtMain->setReadOnly(true);
    txtMain->setGeometry(0, 0, textWidth, areaHeight - kTextBottomGap);
    txtMain->installEventFilter(this);
    txtMain->hide();
    connect(txtMain, &QTextEdit::textChanged, this, [this] {
        if (!m_colouring && !txtMain->isReadOnly())
            txtMain_Edited();
    });

    const auto button = [&](widgets::PictureButton *&control, const char *name,
                            const QString &caption, int top) {
        control = widgets::addCommandButton(*area, name, caption,
                                            QRect(kButtonLeft, top, kButtonWidth, kButtonHeight));
    };
    button(cmdFile, "cmdFile", QStringLiteral("打开文件"), 40);
    button(cmdModify, "cmdModify", kModifyCaption, 86);
    button(cmdUndo, "cmdUndo", QStringLiteral("撤    消"), 132);
    button(cmdReset, "cmdReset", QStringLiteral("还    原"), 178);
    button(cmdSave, "cmdSave", QStringLiteral("保存结果"), 224);
    button(cmdExit, "cmdExit", QStringLiteral("退    出"), 292);
    connect(cmdFile, &QPushButton::clicked, this, &frmPreSplit::cmdFile_Click);
    connect(cmdModify, &QPushButton::clicked, this, &frmPreSplit::cmdModify_Click);
    connect(cmdUndo, &QPushButton::clicked, this, &frmPreSplit::cmdUndo_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmPreSplit::cmdReset_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmPreSplit::cmdSave_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmPreSplit::cmdExit_Click);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setAutoFillBackground(true);
    for (int i = 0; i < 2; ++i) {
        auto *panel = new QLabel(i == 0 ? kStatusWelcome : QString(), StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setContentsMargins(6, 0, 6, 0);
        StatusBar1Panels[size_t(i)] = panel;
        if (i == 0)
            StatusBar1->addWidget(panel, 1);
        else
            StatusBar1->addPermanentWidget(panel);
    }
}

bool frmPreSplit::run(coding::AppState &state, QWidget &parent, CustomWordList customWordList) {
    frmPreSplit window(state, &parent);
    window.customWordList = std::move(customWordList);
    if (!window.Form_Load())
        return false; // the message has told why; the program ends
    window.exec();
    return true;
}

bool frmPreSplit::Form_Load() {
    // 1, 2: the place on the screen and the background.
    widgets::centreOnScreen(*this);
    const auto missing = [this] {
        m_state.services.messages().show(kPicturesMissingMessage, kMessageTitle,
                                         coding::MsgButtons::Ok, coding::MsgIcon::Critical);
        return false;
    };
    m_background = widgets::loadPicture(m_state.appDir.filePath(widgets::pictureFileName(101)));
    if (m_background.isNull())
        return missing();

    // 3, 4: nothing to modify, undo, reset or save yet; texts come here.
    for (QWidget *w : {cmdModify, cmdUndo, cmdSave, cmdReset})
        w->setEnabled(false);
    m_state.editor.EditorIsTarget = true;

    // 5, 6: the design of the layout, the settings, the faces of the buttons.
    widgets::RecordControlLayout(*this, m_layout);
    coding::LoadSettings(m_state);
    if (!widgets::setCommandFaces(*centralWidget(), m_state.appDir))
        return missing();

    // 7, 8: the design font sizes and the help.
    m_baseFontSizes = {cmdFile->font().pointSize(), lblPreSplit->font().pointSize(),
                       lblTips->font().pointSize()};
    lblTips->setText(tipsText());
    m_loaded = true;
    return true;
}

void frmPreSplit::exec() {
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

void frmPreSplit::receiveText(const PreparedText &prepared, const ProgressCallback &progress) {
    m_colouring = true;
    txtMain->clear();
    txtMain->setCurrentCharFormat(QTextCharFormat());
    setLocked(true);
    cmdModify->setEnabled(true);
    cmdModify->setText(kModifyCaption);
    cmdUndo->setEnabled(true);
    cmdSave->setEnabled(true);
    // Nothing is corrected yet, so there is nothing to put back.
    cmdReset->setEnabled(false);
    txtMain->setPlainText(prepared.text);
    m_colouring = false;
    colourText(progress);
    txtMain->moveCursor(QTextCursor::Start);
    m_edited = false;
    StatusBar1Panels[1]->clear();
    if (!txtMain->document()->isEmpty())
        txtMain->show();
}

void frmPreSplit::colourText(const ProgressCallback &progress) {
    // The colours are not the learner's editing: "撤    消" does not take them away.
    QTextDocument *doc = txtMain->document();
    m_colouring = true;
    doc->setUndoRedoEnabled(false);
    if (!coding::PreparePreSplitText(m_state, *doc, colouringProgress(progress)))
        widgets::reportCodeDatabaseError(m_state);
    doc->setUndoRedoEnabled(true);
    m_colouring = false;
}

void frmPreSplit::cmdFile_Click() {
    if (!unsavedEditsHandled())
        return;
    const Qt::WindowStates before = windowState();
    m_state.editor.EditorIsTarget = true;
    frmOpenFile dialog(m_state, *this, this);
    execDialog(dialog);
    setWindowState(before);
}

// --- Editing --------------------------------------------------------------------

void frmPreSplit::setLocked(bool locked) {
    txtMain->setReadOnly(locked);
    // A locked text still shows where the learner is.
    if (locked)
        txtMain->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void frmPreSplit::cmdModify_Click() {
    if (cmdModify->text() == kModifyCaption) {
        cmdModify->setText(kModifyingCaption);
        setLocked(false);
        if (txtMain->isVisible())
            txtMain->setFocus();
    } else {
        cmdModify->setText(kModifyCaption);
        setLocked(true);
    }
}

void frmPreSplit::txtMain_Edited() {
    cmdSave->setEnabled(true);
    cmdReset->setEnabled(true);
    m_edited = true;
}

void frmPreSplit::cmdUndo_Click() {
    txtMain->undo();
}

void frmPreSplit::cmdReset_Click() {
    const QString initial = m_state.editor.InitialSegmentation;
    if (txtMain->document()->toRawText().compare(initial, Qt::CaseInsensitive) == 0)
        return;
    m_colouring = true;
    txtMain->setPlainText(initial);
    m_colouring = false;
    colourText();
    m_edited = false;
}

// --- Saving ---------------------------------------------------------------------

bool frmPreSplit::cmdSave_Click() {
    // 1: the file; cancelling changes nothing.
    QString path = m_state.services.files().getSaveFileName(kSaveDialogTitle, kExampleFilter, {},
                                                            kExampleSuffix);
    if (path.isEmpty())
        return false;
    // A name without "sav" would make the companion the main file itself.
    if (companionPath(path) == path)
        path += QLatin1Char('.') + kExampleSuffix;

    // 3, 4: the tags of the words as they stand on the screen.
    const auto saved = segmentationForSave(
        txtMain->document()->toRawText(), [this](const QString &item) -> std::optional<QString> {
            QString standard, shortCode;
            if (!coding::LookupCodes(m_state, item, standard, shortCode))
                return std::nullopt;
            return standard;
        });
    if (!saved) {
        widgets::reportCodeDatabaseError(m_state);
        return false;
    }

    // 5, 6, 7: the text without blanks, coloured by its new tags, and its tags, as
    // a pair written whole. Until both files are in place the screen and the
    // state keep what they had.
    QTextDocument copy;
    copy.setDefaultFont(txtMain->document()->defaultFont());
    copy.setPlainText(saved->text);
    const QString tagsBefore = m_state.text.SegmentTags;
    m_state.text.SegmentTags = saved->tags;
    if (!coding::PreparePreSplitText(m_state, copy)) {
        m_state.text.SegmentTags = tagsBefore;
        widgets::reportCodeDatabaseError(m_state);
        return false;
    }
    const coding::RtfText example = coding::rtfTextFromDocument(copy);
    ExampleError error;
    if (!writeExample(path, example, saved->tags, &error)) {
        m_state.text.SegmentTags = tagsBefore;
        m_state.services.messages().show(exampleErrorMessage(error), kMessageTitle,
                                         coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
        return false;
    }

    // The example is saved: the screen shows it as saved.
    m_colouring = true;
    QTextDocument *doc = txtMain->document();
    doc->setUndoRedoEnabled(false);
    coding::applyRtfText(example, *doc);
    doc->setUndoRedoEnabled(true);
    txtMain->moveCursor(QTextCursor::Start);
    m_colouring = false;
    m_tag = saved->noCodeWords;
    m_savedFile = path;
    m_edited = false;

    // 8: to edit again the learner opens a file again.
    cmdSave->setEnabled(false);
    cmdReset->setEnabled(false);
    setLocked(true);
    cmdModify->setText(kModifyCaption);
    cmdModify->setEnabled(false);
    cmdUndo->setEnabled(false);
    StatusBar1Panels[1]->setText(QDir::toNativeSeparators(path));

    // The words without a code can be given custom codes at once.
    if (!m_tag.isEmpty() && customWordList &&
        m_state.services.messages().show(kCustomCodesQuestion, kMessageTitle,
                                         coding::MsgButtons::YesNo,
                                         coding::MsgIcon::Question) == coding::MsgAnswer::Yes)
        customWordList(*this, m_tag);
    return true;
}

bool frmPreSplit::unsavedEditsHandled() {
    if (!m_edited || txtMain->document()->toRawText() == m_state.editor.InitialSegmentation)
        return true;
    switch (m_state.services.messages().show(kUnsavedEditsQuestion, kMessageTitle,
                                             coding::MsgButtons::YesNoCancel,
                                             coding::MsgIcon::Question)) {
    case coding::MsgAnswer::Yes:
        return cmdSave_Click();
    case coding::MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

// --- Keys, size, closing --------------------------------------------------------

void frmPreSplit::enterPressed() {
    // The button that has the focus takes Enter; otherwise it is "打开文件".
    auto *focused = qobject_cast<QPushButton *>(focusWidget());
    if (focused && focused->isEnabled() && focused->isVisible())
        focused->click();
    else
        cmdFile->click();
}

bool frmPreSplit::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtMain &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!txtMain->isReadOnly()) {
            // The text has no lines: Enter neither breaks one nor leaves the editing.
            if (isEnterKey(*key)) {
                event->accept();
                return true;
            }
            if (event->type() == QEvent::KeyPress && key->key() != Qt::Key_Escape)
                txtMain_Edited();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmPreSplit::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void frmPreSplit::Form_Resize() {
    // 1: the window springs back to its smallest size.
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) &&
        (width() < kMinimumSize.width() || height() < kMinimumSize.height()))
        resize(std::max(width(), kMinimumSize.width()), std::max(height(), kMinimumSize.height()));
    // 2, 3: the controls in proportion, the fonts with the width.
    widgets::ResizeForm(*this, m_layout);
    const double s = m_layout.ScaleFactorX;
    if (s > 0) {
        const auto sized = [](QWidget *w, int points) { widgets::setFontPoints(*w, points); };
        const int buttonPoints = int(std::floor((s - 1) * 12)) + m_baseFontSizes[0];
        for (QWidget *w : {cmdFile, cmdModify, cmdUndo, cmdReset, cmdSave, cmdExit})
            sized(w, buttonPoints);
        sized(lblPreSplit, int(std::floor((s - 1) * 12)) + m_baseFontSizes[1]);
        sized(lblTips, int(std::floor((s - 1) * 15)) + m_baseFontSizes[2]);
        // The text in proportion to the smaller scale, so that a line holds about
        // as many words at any size of the window.
        const double textScale = std::min(m_layout.ScaleFactorX, m_layout.ScaleFactorY);
        sized(txtMain, int(std::floor(kTextPoints * textScale)));
    }
}

void frmPreSplit::paintEvent(QPaintEvent *event) {
    if (!m_background.paint(*this))
        QMainWindow::paintEvent(event);
}

void frmPreSplit::cmdExit_Click() {
    close();
}

void frmPreSplit::closeEvent(QCloseEvent *event) {
    if (!m_closed && !unsavedEditsHandled()) {
        event->ignore();
        return;
    }
    m_closed = true;
    event->accept();
    QMainWindow::closeEvent(event);
    if (m_loop)
        m_loop->quit();
}

} // namespace prepare
