#include "frmdeffilter.h"

#include "widgets/centring.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace prepare {

namespace {
const QString MessageTitle = QStringLiteral("提示信息");
} // namespace

frmDefFilter::frmDefFilter(coding::AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state), m_files(state.appDir) {
    setObjectName(QStringLiteral("frmDefFilter"));
    setWindowTitle(QStringLiteral("自定义过滤符号"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("已定义的过滤符号："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    listofFilters = new QListWidget(this);
    listofFilters->setObjectName(QStringLiteral("listofFilters"));
    listofFilters->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1->setBuddy(listofFilters);

    Label2 = new QLabel(QStringLiteral("输入符号："), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtSymbol = new QLineEdit(this);
    txtSymbol->setObjectName(QStringLiteral("txtSymbol"));
    txtSymbol->setMaxLength(4);
    // A blank would split the symbol from itself in the list file.
    txtSymbol->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\S*")), txtSymbol));
    Label2->setBuddy(txtSymbol);

    Label3 = new QLabel(QStringLiteral("输入符号的说明："), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    txtSymbolSpe = new QLineEdit(this);
    txtSymbolSpe->setObjectName(QStringLiteral("txtSymbolSpe"));
    txtSymbolSpe->setMaxLength(6);
    txtSymbolSpe->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\r\\n]*")), txtSymbolSpe));
    Label3->setBuddy(txtSymbolSpe);

    cmdAddFilter = new QPushButton(QStringLiteral("增加(&A)"), this);
    cmdAddFilter->setObjectName(QStringLiteral("cmdAddFilter"));
    cmdAddFilter->setAutoDefault(false);
    cmdDelFilter = new QPushButton(QStringLiteral("删除(&D)"), this);
    cmdDelFilter->setObjectName(QStringLiteral("cmdDelFilter"));
    cmdDelFilter->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);                                       // Enter
    cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this); // Esc
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *input = new QGridLayout;
    input->addWidget(Label2, 0, 0);
    input->addWidget(txtSymbol, 0, 1);
    input->addWidget(Label3, 1, 0);
    input->addWidget(txtSymbolSpe, 1, 1);
    auto *editButtons = new QHBoxLayout;
    editButtons->addWidget(cmdAddFilter);
    editButtons->addWidget(cmdDelFilter);
    auto *right = new QVBoxLayout;
    right->addLayout(input);
    right->addLayout(editButtons);
    right->addStretch();
    right->addWidget(cmdOK);
    right->addWidget(cmdCancel);
    auto *left = new QVBoxLayout;
    left->addWidget(Label1);
    left->addWidget(listofFilters, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    resize(460, 300);
    widgets::centreOnFirstShow(*this);

    connect(txtSymbol, &QLineEdit::textChanged, this, &frmDefFilter::inputChanged);
    connect(txtSymbolSpe, &QLineEdit::textChanged, this, &frmDefFilter::inputChanged);
    connect(listofFilters, &QListWidget::itemSelectionChanged, this,
            [this] { cmdDelFilter->setEnabled(!listofFilters->selectedItems().isEmpty()); });
    connect(cmdAddFilter, &QPushButton::clicked, this, &frmDefFilter::cmdAddFilter_Click);
    connect(cmdDelFilter, &QPushButton::clicked, this, &frmDefFilter::cmdDelFilter_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDefFilter::cmdCancel_Click);

    // Load: the list, the button states, then the backup for "取消(&C)".
    FilterList list;
    QString error;
    if (!m_files.load(&list, &error))
        showExclamation(error);
    showList(list);
    inputChanged();
    if (!m_files.backUp(&error)) {
        m_files.removeBackup(); // never restore a stale backup of an earlier visit
        showExclamation(error);
    }
}

frmDefFilter::~frmDefFilter() {
    if (!m_unloaded)
        m_files.removeBackup();
}

void frmDefFilter::done(int result) {
    m_unloaded = true;
    m_files.removeBackup();
    QDialog::done(result);
}

void frmDefFilter::reject() {
    cmdCancel_Click();
}

void frmDefFilter::closeEvent(QCloseEvent *event) {
    // Closing the window keeps what was written, as "确定(&O)" does.
    event->accept();
    done(QDialog::Rejected);
}

void frmDefFilter::cmdAddFilter_Click() {
    const QString symbol = txtSymbol->text();
    const QString description = txtSymbolSpe->text();
    FilterList list;
    QString error;
    if (!m_files.load(&list, &error)) {
        showExclamation(error);
        return;
    }
    if (list.hasSymbol(symbol)) {
        showExclamation(QStringLiteral("你所输入的符号已定义！"));
    } else if (list.append(makeFilterEntry(symbol, description))) {
        if (!m_files.save(list, &error)) {
            // Nothing was written: keep the input so that nothing is lost.
            showExclamation(error);
            return;
        }
        showList(list);
    }
    txtSymbol->setFocus();
    txtSymbol->clear();
    txtSymbolSpe->clear();
}

void frmDefFilter::cmdDelFilter_Click() {
    QListWidgetItem *item = listofFilters->currentItem();
    if (!item || !item->isSelected())
        return;
    const int row = listofFilters->row(item);
    const QString entry = item->text();
    FilterList list;
    QString error;
    if (!m_files.load(&list, &error)) {
        showExclamation(error);
        return;
    }
    // An entry that is no longer in the file only leaves the list.
    if (list.remove(row, entry) && !m_files.save(list, &error)) {
        showExclamation(error);
        return;
    }
    showList(list);
    cmdDelFilter->setEnabled(false);
}

void frmDefFilter::cmdCancel_Click() {
    QString error;
    if (!m_files.restore(&error)) {
        // The backup stays, so that a second try or "确定(&O)" is still possible.
        showExclamation(error);
        return;
    }
    done(QDialog::Rejected);
}

void frmDefFilter::inputChanged() {
    cmdAddFilter->setEnabled(!txtSymbol->text().isEmpty() && !txtSymbolSpe->text().isEmpty());
}

void frmDefFilter::showList(const FilterList &list) {
    listofFilters->clear();
    listofFilters->addItems(list.entries());
    cmdDelFilter->setEnabled(!listofFilters->selectedItems().isEmpty());
}

void frmDefFilter::showExclamation(const QString &text) {
    m_state.services.messages().show(text, MessageTitle, coding::MsgButtons::Ok,
                                     coding::MsgIcon::Exclamation);
}

} // namespace prepare
