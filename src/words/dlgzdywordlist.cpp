#include "dlgzdywordlist.h"

#include "customwords.h"

#include "widgets/centring.h"
#include "widgets/digitbox.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace words {

namespace {
const QString kMessageTitle = QStringLiteral("提示信息");
} // namespace

dlgZdyCode::dlgZdyCode(coding::AppState &state, const QString &word, QWidget *parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("dlgZdyCode"));
    setWindowTitle(QStringLiteral("自定义编码"));
    setModal(true);
    lblZdyWord = new QLabel(QStringLiteral("\"") + word +
                                QStringLiteral("\" 是自定义词。\n请修改其自定义编码："),
                            this);
    lblZdyWord->setObjectName(QStringLiteral("lblZdyWord"));
    txtCode = new QLineEdit(this);
    txtCode->setObjectName(QStringLiteral("txtCode"));
    txtCode->setMaxLength(6);
    txtCode->setToolTip(QStringLiteral("自定义编码的最大长度为6位数位"));
    widgets::makeDigitBox(*txtCode);
    txtCode->installEventFilter(this);
    cmdOk = new QPushButton(QStringLiteral("确    定"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblZdyWord);
    layout->addWidget(txtCode);
    layout->addWidget(cmdOk, 0, Qt::AlignRight);
    widgets::centreOnFirstShow(*this);
}

QString dlgZdyCode::code() const {
    return txtCode->text();
}

bool dlgZdyCode::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtCode && widgets::dropsNonDigitKey(*event, m_state.services.beep()))
        return true;
    return QDialog::eventFilter(watched, event);
}

dlgZdyWordList::dlgZdyWordList(coding::AppState &state, const QString &handOver, QWidget *parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("dlgZdyWordList"));
    setWindowTitle(QStringLiteral("自定义词列表"));
    setModal(true);
    Label1 = new QLabel(QStringLiteral("自定义词列表："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    gridWordList = new QTableWidget(0, 2, this);
    gridWordList->setObjectName(QStringLiteral("gridWordList"));
    gridWordList->setHorizontalHeaderLabels(
        {QStringLiteral("文      字"), QStringLiteral("自定义编码")});
    gridWordList->verticalHeader()->hide();
    gridWordList->setColumnWidth(0, 167); // 2500 twips
    gridWordList->setColumnWidth(1, 100); // 1500 twips
    gridWordList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridWordList->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridWordList->setSelectionMode(QAbstractItemView::SingleSelection);
    gridWordList->setToolTip(QStringLiteral("单击修改自定义编码"));
    Label1->setBuddy(gridWordList);
    OKButton = new QPushButton(QStringLiteral("确    定"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(gridWordList);
    layout->addWidget(OKButton, 0, Qt::AlignRight);
    resize(320, 360);

    // One row per distinct word, with the code the library proposes.
    for (const QString &word : handOverWords(handOver)) {
        const int row = gridWordList->rowCount();
        gridWordList->insertRow(row);
        gridWordList->setItem(row, 0, new QTableWidgetItem(word));
        gridWordList->setItem(row, 1, new QTableWidgetItem(m_state.library->convert(word)));
    }

    connect(gridWordList, &QTableWidget::cellClicked, this,
            [this](int row, int) { gridWordList_Click(row); });
    connect(gridWordList, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { gridWordList_Click(row); });
    connect(OKButton, &QPushButton::clicked, this, &dlgZdyWordList::OKButton_Click);
    widgets::centreOnFirstShow(*this);
}

void dlgZdyWordList::gridWordList_Click(int row) {
    if (row < 0 || row >= gridWordList->rowCount())
        return;
    dlgZdyCode dialog(m_state, gridWordList->item(row, 0)->text(), this);
    execDialog(dialog);
    // An empty code box keeps the row's code.
    if (!dialog.code().isEmpty())
        gridWordList->item(row, 1)->setText(dialog.code());
}

void dlgZdyWordList::OKButton_Click() {
    QList<coding::CustomWord> added;
    coding::MessageService &messages = m_state.services.messages();
    // The words added before a failure reach the input method all the same.
    const auto handOver = [this, &added] {
        if (!added.isEmpty() && m_state.inputMethod.handOverCustomWords)
            m_state.inputMethod.handOverCustomWords(added);
    };
    for (int row = 0; row < gridWordList->rowCount(); ++row) {
        const QString code = gridWordList->item(row, 1)->text();
        const QString word = gridWordList->item(row, 0)->text();
        const int result = m_state.library->addWord(code, word);
        if (result == -1) {
            messages.show(QStringLiteral("打开自定义词库失败，无法加入自定义词！"), kMessageTitle,
                          coding::MsgButtons::Ok, coding::MsgIcon::Critical);
            handOver();
            return;
        }
        if (result == 0)
            added.append({word, code});
    }
    handOver();
    const auto count = added.size();
    messages.show(QString::number(count) + QStringLiteral(" 条自定义词成功加入自定义词库！"),
                  kMessageTitle, coding::MsgButtons::Ok, coding::MsgIcon::Information);
    accept();
}

} // namespace words
