#include "dlgaddword.h"

#include "customwords.h"

#include "widgets/centring.h"
#include "widgets/digitbox.h"
#include "widgets/picturebutton.h"

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextEdit>
#include <QVBoxLayout>

namespace words {

namespace {

const QString kMessageTitle = QStringLiteral("提示信息");
constexpr int kWordLength = 20; // what typing may put into the word box
constexpr int kCodeLength = 6;
constexpr qint64 kMaxResultFileBytes = 4 * 1024 * 1024;

const QString kHelpText = QStringLiteral(
    "\r\n\r\n    本单元帮助用户添加自定义词。用户可以选择自已输入或者对系统分词结果进行修改以形成新"
    "的自定义词，然后添加到自定义词库中。系统以后再进行分词时，将优先考虑用户自定义词。\r\n   "
    " 用户打开分词结果后，在左侧的文本框中选择要添加的自定义词，它将自动出现在‘自定义词’中并"
    "允许用户进行修改，用户输入‘自定义’编码后，即可进行‘加入自定义词库’的操作。\r\n    如果"
    "要对自定义词进行查询、修改、删除等操作，请在Qorvan输入法2006系统中完成。");

// Typing is limited to limit characters; text the program puts in is not cut.
void keepTypingLimit(QLineEdit &box, int limit) {
    box.setMaxLength(std::max<int>(limit, int(box.text().size())));
}

// The result text: a selection made with the left button goes to the word when
// the button is let go (after a drag, or after the double click that selected a
// word).
class ResultView : public QTextEdit {
public:
    using QTextEdit::QTextEdit;
    std::function<void()> released;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override {
        QTextEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && released)
            released();
    }
};

} // namespace

DlgAddWord::DlgAddWord(coding::AppState &state, QWidget *parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("DlgAddWord"));
    setWindowTitle(QStringLiteral("添加自定义词"));
    setModal(true);
    resize(560, 360);

    auto *view = new ResultView(this);
    view->released = [this] { txtResult_Click(); };
    txtResult = view;
    txtResult->setObjectName(QStringLiteral("txtResult"));
    txtResult->setReadOnly(true);
    txtResult->setAcceptRichText(false);
    txtResult->setToolTip(QStringLiteral("拖动鼠标以选择要添加的自定义词"));
    txtResult->setContextMenuPolicy(Qt::NoContextMenu);
    txtResult->hide();
    lblTips = new QLabel(kHelpText, this);
    lblTips->setObjectName(QStringLiteral("lblTips"));
    lblTips->setWordWrap(true);
    lblTips->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblword = new QLabel(QStringLiteral("自定义词："), this);
    lblword->setObjectName(QStringLiteral("lblword"));
    txtWord = new QLineEdit(this);
    txtWord->setObjectName(QStringLiteral("txtWord"));
    txtWord->setMaxLength(kWordLength);
    txtWord->setMinimumHeight(48);
    txtWord->setToolTip(QStringLiteral("自定义词的最大长度为20个字"));
    txtWord->setContextMenuPolicy(Qt::NoContextMenu);
    lblword->setBuddy(txtWord);
    lblcode = new QLabel(QStringLiteral("自定义编码："), this);
    lblcode->setObjectName(QStringLiteral("lblcode"));
    txtCode = new QLineEdit(this);
    txtCode->setObjectName(QStringLiteral("txtCode"));
    txtCode->setMaxLength(kCodeLength);
    txtCode->setToolTip(QStringLiteral("自定义编码的最大长度为6个数字"));
    txtCode->setContextMenuPolicy(Qt::NoContextMenu);
    widgets::makeDigitBox(*txtCode);
    txtCode->installEventFilter(this);
    lblcode->setBuddy(txtCode);

    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new widgets::PictureButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(30);
        return b;
    };
    cmdModiRes = button("cmdModiRes", QStringLiteral("从分词结果引入"));
    cmdAddWord = button("cmdAddWord", QStringLiteral("加入自定义词库"));
    cmdExit = button("cmdExit", QStringLiteral("退      出"));
    cmdAddWord->setEnabled(false);

    auto *column = new QVBoxLayout;
    column->addWidget(lblword);
    column->addWidget(txtWord);
    column->addWidget(lblcode);
    column->addWidget(txtCode);
    column->addSpacing(12);
    column->addWidget(cmdModiRes);
    column->addWidget(cmdAddWord);
    column->addWidget(cmdExit);
    column->addStretch();
    auto *layout = new QGridLayout(this);
    layout->addWidget(txtResult, 0, 0);
    layout->addWidget(lblTips, 0, 0);
    layout->addLayout(column, 0, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 1);

    connect(txtWord, &QLineEdit::textChanged, this, &DlgAddWord::txtWord_Change);
    connect(txtCode, &QLineEdit::textChanged, this, [this] {
        keepTypingLimit(*txtCode, kCodeLength);
        applyEnablingRule();
    });
    connect(cmdAddWord, &QPushButton::clicked, this, &DlgAddWord::cmdAddWord_Click);
    connect(cmdModiRes, &QPushButton::clicked, this, &DlgAddWord::cmdModiRes_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);

    // The pictures of the application directory, where they are.
    m_background = widgets::loadPicture(m_state.appDir.filePath(widgets::pictureFileName(101)));
    widgets::setCommandFaces(*this, m_state.appDir);
    widgets::centreOnFirstShow(*this);
}

DlgAddWord::~DlgAddWord() = default;

void DlgAddWord::paintEvent(QPaintEvent *event) {
    if (!m_background.paint(*this))
        QDialog::paintEvent(event);
}

void DlgAddWord::applyEnablingRule() {
    cmdAddWord->setEnabled(!txtWord->text().isEmpty() && !txtCode->text().isEmpty());
}

void DlgAddWord::txtWord_Change() {
    keepTypingLimit(*txtWord, kWordLength);
    const QString word = txtWord->text();
    if (!word.isEmpty())
        txtCode->setText(m_state.library->convert(word));
    applyEnablingRule();
}

void DlgAddWord::txtResult_Click() {
    QString picked = txtResult->textCursor().selectedText();
    if (picked.isEmpty())
        return;
    picked.remove(QLatin1Char(' '));
    picked.remove(QChar::ParagraphSeparator);
    const QString word = txtWord->text() + picked;
    txtWord->setMaxLength(std::max<int>(kWordLength, int(word.size())));
    txtWord->setText(word);
}

void DlgAddWord::cmdAddWord_Click() {
    const QString code = txtCode->text();
    const QString word = txtWord->text();
    const int result = m_state.library->addWord(code, word);
    coding::MessageService &messages = m_state.services.messages();
    switch (result) {
    case -1:
        messages.show(QStringLiteral("打开自定义词库失败，无法加入自定义词！"), kMessageTitle,
                      coding::MsgButtons::Ok, coding::MsgIcon::Critical);
        break;
    case 0:
        messages.show(QStringLiteral("自定义词：") + word +
                          QStringLiteral("  成功加入自定义词库！"),
                      kMessageTitle, coding::MsgButtons::Ok, coding::MsgIcon::Information);
        if (m_state.inputMethod.handOverCustomWords)
            m_state.inputMethod.handOverCustomWords({{word, code}});
        break;
    case 1:
        messages.show(QStringLiteral("自定义词：") + word + QStringLiteral("  已经存在！"),
                      kMessageTitle, coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
        break;
    default:
        break;
    }
    txtWord->clear();
    txtCode->clear();
}

void DlgAddWord::cmdModiRes_Click() {
    const QString path = m_state.services.files().getOpenFileName(
        QStringLiteral("打开分词结果文件"), QStringLiteral("分词结果文件(*.fcr)"));
    if (path.isEmpty())
        return;
    // The file is read whole before anything changes: a file that cannot be read
    // leaves the dialog as it was, and says so.
    QFile file(path);
    QByteArray content;
    QString why;
    if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else if (file.size() > kMaxResultFileBytes)
        why = QStringLiteral("文件太大");
    else {
        content = file.readAll();
        if (file.error() != QFileDevice::NoError)
            why = file.errorString();
    }
    if (!why.isEmpty()) {
        m_state.services.messages().show(
            QStringLiteral("无法读取分词结果文件“%1”：%2").arg(path, why), kMessageTitle,
            coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
        return;
    }
    txtResult->setPlainText(resultText(listItems(content)));
    lblTips->hide();
    txtResult->show();
}

bool DlgAddWord::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtCode && widgets::dropsNonDigitKey(*event, m_state.services.beep()))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace words
