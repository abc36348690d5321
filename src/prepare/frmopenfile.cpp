#include "frmopenfile.h"

#include "filterfiles.h"
#include "handover.h"
#include "textfilereader.h"

#include "widgets/centring.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace prepare {

namespace {
const QString kTooFewHanzi = QStringLiteral("此文件中的汉字太少，不适于进行分词测试！");
const QString MessageTitle = QStringLiteral("提示信息");
} // namespace

frmOpenFile::frmOpenFile(coding::AppState &state, TextReceiver &receiver, QWidget *parent)
    : QDialog(parent), m_state(state), m_receiver(receiver) {
    setObjectName(QStringLiteral("frmOpenFile"));
    setWindowTitle(QStringLiteral("打开测试文件"));
    setModal(true);

    lblFileContent = new QLabel(QStringLiteral("文件内容："), this);
    lblFileContent->setObjectName(QStringLiteral("lblFileContent"));

    // The file text is for reading only: no caret, no context menu.
    txtFileContent = new QPlainTextEdit(this);
    txtFileContent->setObjectName(QStringLiteral("txtFileContent"));
    txtFileContent->setReadOnly(true);
    txtFileContent->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txtFileContent->setContextMenuPolicy(Qt::NoContextMenu);
    txtFileContent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtFileContent->setFont(QFont(QStringLiteral("楷体_GB2312"), 12));
    lblFileContent->setBuddy(txtFileContent);

    chkUseFilter = new QCheckBox(QStringLiteral("过滤符号"), this);
    chkUseFilter->setObjectName(QStringLiteral("chkUseFilter"));
    chkUseFilter->setChecked(true);
    chkAlpha = new QCheckBox(QStringLiteral("过滤字母与数字"), this);
    chkAlpha->setObjectName(QStringLiteral("chkAlpha"));
    chkAlpha->setChecked(true);
    chkUserDefMb = new QCheckBox(QStringLiteral("使用自定义码本"), this);
    chkUserDefMb->setObjectName(QStringLiteral("chkUserDefMb"));
    chkUserDefMb->setChecked(false);
    chkUserDefMb->setVisible(false);

    prgBar = new QProgressBar(this);
    prgBar->setObjectName(QStringLiteral("prgBar"));
    prgBar->setRange(0, 100);
    prgBar->setValue(0);
    prgBar->setTextVisible(false);

    cmdSelectFile = new QPushButton(QStringLiteral("选择文件(&S)…"), this);
    cmdSelectFile->setObjectName(QStringLiteral("cmdSelectFile"));
    cmdSelectFile->setDefault(true); // Enter
    cmdOpenFile = new QPushButton(QStringLiteral("打开(&O)"), this);
    cmdOpenFile->setObjectName(QStringLiteral("cmdOpenFile"));
    cmdOpenFile->setAutoDefault(false);
    cmdExit = new QPushButton(QStringLiteral("退出(&X)"), this); // Esc rejects the dialog
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);

    auto *options = new QHBoxLayout;
    options->addWidget(chkUseFilter);
    options->addWidget(chkAlpha);
    options->addWidget(chkUserDefMb);
    options->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSelectFile);
    buttons->addWidget(cmdOpenFile);
    buttons->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblFileContent);
    layout->addWidget(txtFileContent, 1);
    layout->addLayout(options);
    layout->addWidget(prgBar);
    layout->addLayout(buttons);
    resize(520, 380);
    widgets::centreOnFirstShow(*this);

    connect(cmdSelectFile, &QPushButton::clicked, this, &frmOpenFile::cmdSelectFile_Click);
    connect(cmdOpenFile, &QPushButton::clicked, this, &frmOpenFile::cmdOpenFile_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
}

void frmOpenFile::cmdSelectFile_Click() {
    // A cancelled dialog changes nothing.
    const QString fileName = m_state.services.files().getOpenFileName(
        QStringLiteral("打开"), QStringLiteral("文本文件(*.txt)"));
    if (fileName.isEmpty())
        return;

    const TextFile file = readTextFile(fileName);
    switch (file.status) {
    case TextFile::Status::Ok:
        m_text = file.text;
        txtFileContent->setPlainText(m_text);
        // The preview says when the text was cut; no message box for it.
        lblFileContent->setText(
            file.cut ? QStringLiteral("文件内容（只取前%1个字）：").arg(MaxTextLength)
                     : QStringLiteral("文件内容："));
        m_fileChosen = true;
        break;
    case TextFile::Status::TooShort:
        showExclamation(kTooFewHanzi);
        m_text.clear();
        txtFileContent->clear();
        lblFileContent->setText(QStringLiteral("文件内容："));
        m_fileChosen = false;
        break;
    // A file that cannot be used leaves the dialog as it was.
    case TextFile::Status::Unreadable:
        showExclamation(QStringLiteral("无法读取此文件！\n%1\n%2")
                            .arg(QDir::toNativeSeparators(fileName), file.error));
        break;
    case TextFile::Status::Binary:
        showExclamation(QStringLiteral("此文件不是文本文件，不能进行分词测试！\n%1")
                            .arg(QDir::toNativeSeparators(fileName)));
        break;
    }
}

void frmOpenFile::cmdOpenFile_Click() {
    if (!m_fileChosen) {
        showExclamation(QStringLiteral("请先选择文件再打开！"));
        return;
    }

    PrepareOptions options;
    options.filterSymbols = chkUseFilter->isChecked();
    options.filterAlphaNum = chkAlpha->isChecked();
    QString error;
    if (options.filterSymbols) {
        FilterList filters;
        if (!FilterFiles(m_state.appDir).load(&filters, &error)) {
            showExclamation(error);
            return;
        }
        options.symbols = filters.symbols();
    }

    coding::LibraryError libraryError;
    const auto prepared = segmentAndPrepare(*m_state.library, m_text, options, &libraryError);
    if (!prepared) {
        showExclamation(widgets::libraryMessage(libraryError));
        return;
    }
    // Letters filtered away may leave only punctuation: nothing to type.
    if (!holdsChineseCharacter(*prepared)) {
        showExclamation(kTooFewHanzi);
        return;
    }
    handOver(m_state, m_receiver, *prepared,
             [this](int value, int maximum) { setProgress(value, maximum); });
    accept();
}

void frmOpenFile::setProgress(int value, int maximum) {
    if (maximum < 1)
        return;
    if (prgBar->minimum() != 1 || prgBar->maximum() != maximum)
        prgBar->setRange(1, maximum);
    prgBar->setValue(value);
    // The colouring runs without returning to the event loop: paint the bar at
    // most about a hundred times.
    const int step = std::max(1, maximum / 100);
    if (value % step == 0 || value == maximum)
        prgBar->repaint();
}

void frmOpenFile::showExclamation(const QString &text) {
    m_state.services.messages().show(text, MessageTitle, coding::MsgButtons::Ok,
                                     coding::MsgIcon::Exclamation);
}

} // namespace prepare
