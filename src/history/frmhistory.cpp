#include "frmhistory.h"

#include "dlgreview.h"

#include "stats/dlgmissed.h"
#include "stats/resultfigures.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace history {

namespace {

const QString kTitle = QStringLiteral("成绩记录");
const QString kDeleteQuestion = QStringLiteral("要删除所选的这次测试的成绩记录吗？");

} // namespace

// --- The table ----------------------------------------------------------------

void TestTableModel::setEntries(QList<TestEntry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void TestTableModel::removeEntry(int row) {
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    endRemoveRows();
}

int TestTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

int TestTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : Count;
}

QVariant TestTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const TestEntry &e = m_entries.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return index.column() == Text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                      : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Time:
        return e.endedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case Text:
        return e.textHead;
    case Duration:
        return stats::formatDuration(e.durationMs);
    case Total:
        return e.total;
    case Accuracy:
        return QString::number(e.accuracy, 'f', 2) + QLatin1Char('%');
    case Speed:
        return QString::number(e.speed, 'f', 0);
    case EffSpeed:
        return QString::number(e.effSpeed, 'f', 0);
    case KeysPerChar:
        return QString::number(e.keysPerChar, 'f', 2);
    case BestKeysPerChar:
        return e.bestKeysPerChar > 0 ? QString::number(e.bestKeysPerChar, 'f', 2) : QString();
    default:
        return {};
    }
}

QVariant TestTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const names[Count] = {
        "时间", "文本",    "时长", "总字数", "正确率", "速度(字/分)", "有效速度(字/分)",
        "码长", "理论码长"};
    return QString::fromUtf8(names[section]);
}

void TestTableModel::sort(int column, Qt::SortOrder order) {
    const auto key = [column](const TestEntry &e) -> std::pair<double, qint64> {
        switch (column) {
        case Duration:
            return {double(e.durationMs), e.id};
        case Total:
            return {double(e.total), e.id};
        case Accuracy:
            return {e.accuracy, e.id};
        case Speed:
            return {e.speed, e.id};
        case EffSpeed:
            return {e.effSpeed, e.id};
        case KeysPerChar:
            return {e.keysPerChar, e.id};
        case BestKeysPerChar:
            return {e.bestKeysPerChar, e.id};
        default:
            return {double(e.endedAt.toMSecsSinceEpoch()), e.id};
        }
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<qint64> ids;
    for (const QModelIndex &index : before)
        ids << m_entries.at(index.row()).id;
    if (column == Text) {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [order](const TestEntry &a, const TestEntry &b) {
                             return order == Qt::AscendingOrder ? a.textHead < b.textHead
                                                                : b.textHead < a.textHead;
                         });
    } else {
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [&key, order](const TestEntry &a, const TestEntry &b) {
                             return order == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
                         });
    }
    QHash<qint64, int> rowOf;
    for (int row = 0; row < m_entries.size(); ++row)
        rowOf.insert(m_entries.at(row).id, row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf.value(ids.at(i)), before.at(i).column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// --- The window ---------------------------------------------------------------

frmHistory::frmHistory(coding::AppState &state, ResultsHistory &history, QWidget *parent)
    : QDialog(parent), m_state(state), m_history(history) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(kTitle);
    resize(980, 700);

    model = new TestTableModel;
    model->setParent(this);
    tblTests = new QTableView(this);
    tblTests->setObjectName(QStringLiteral("tblTests"));
    tblTests->setModel(model);
    tblTests->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblTests->setSelectionMode(QAbstractItemView::SingleSelection);
    tblTests->verticalHeader()->hide();
    tblTests->verticalHeader()->setDefaultSectionSize(tblTests->fontMetrics().height() + 6);
    tblTests->horizontalHeader()->setSectionResizeMode(TestTableModel::Text, QHeaderView::Stretch);
    tblTests->horizontalHeader()->setSortIndicator(TestTableModel::Time, Qt::DescendingOrder);
    tblTests->setSortingEnabled(true);
    tblTests->setWordWrap(false);
    // Wide enough for a date and a time; measured once, not over the rows.
    tblTests->horizontalHeader()->resizeSection(
        TestTableModel::Time,
        tblTests->fontMetrics().horizontalAdvance(QStringLiteral("2026-12-31 23:59")) + 24);

    seriesSpeed = new QLineSeries;
    seriesSpeed->setName(QStringLiteral("速度(字/分)"));
    seriesEffSpeed = new QLineSeries;
    seriesEffSpeed->setName(QStringLiteral("有效速度(字/分)"));
    seriesAccuracy = new QLineSeries;
    seriesAccuracy->setName(QStringLiteral("正确率(%)"));
    auto *chart = new QChart;
    chart->addSeries(seriesSpeed);
    chart->addSeries(seriesEffSpeed);
    chart->addSeries(seriesAccuracy);
    auto *time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("yyyy-MM-dd"));
    auto *speedAxis = new QValueAxis;
    speedAxis->setTitleText(QStringLiteral("字/分"));
    speedAxis->setLabelFormat(QStringLiteral("%d"));
    auto *accuracyAxis = new QValueAxis;
    accuracyAxis->setTitleText(QStringLiteral("%"));
    accuracyAxis->setRange(0, 100);
    accuracyAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(speedAxis, Qt::AlignLeft);
    chart->addAxis(accuracyAxis, Qt::AlignRight);
    for (QLineSeries *series : {seriesSpeed, seriesEffSpeed, seriesAccuracy}) {
        series->attachAxis(time);
        series->attachAxis(series == seriesAccuracy ? accuracyAxis : speedAxis);
        series->setPointsVisible(true);
    }
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chartView = new QChartView(chart, this);
    chartView->setObjectName(QStringLiteral("chartView"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(260);

    chkThisText = new QCheckBox(QStringLiteral("只看所选测试的文本(&T)"), this);
    chkThisText->setObjectName(QStringLiteral("chkThisText"));
    lblGrouping = new QLabel(this);
    lblGrouping->setObjectName(QStringLiteral("lblGrouping"));
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    const auto button = [this](QPushButton *&b, const char *name, const char *caption) {
        b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
    };
    button(cmdReview, "cmdReview", "错误回顾(&R)…");
    button(cmdMissed, "cmdMissed", "错过的捷径(&S)…");
    button(cmdDelete, "cmdDelete", "删除(&D)");
    button(cmdExport, "cmdExport", "导出 CSV(&E)…");
    button(cmdClose, "cmdClose", "关闭(&C)");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tblTests, 3);
    auto *chartRow = new QHBoxLayout;
    chartRow->addWidget(chkThisText);
    chartRow->addStretch();
    chartRow->addWidget(lblGrouping);
    layout->addLayout(chartRow);
    layout->addWidget(chartView, 2);
    layout->addWidget(lblSummary);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdReview);
    buttons->addWidget(cmdMissed);
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdExport);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    connect(cmdReview, &QPushButton::clicked, this, &frmHistory::cmdReview_Click);
    connect(cmdMissed, &QPushButton::clicked, this, &frmHistory::cmdMissed_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmHistory::cmdDelete_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmHistory::cmdExport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(tblTests, &QTableView::doubleClicked, this, &frmHistory::cmdReview_Click);
    connect(chkThisText, &QCheckBox::toggled, this, &frmHistory::updateChart);
    connect(tblTests->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updateButtons();
        if (chkThisText->isChecked())
            updateChart();
    });
    updateButtons();
}

bool frmHistory::load() {
    QString error;
    auto entries = m_history.entries(&error, false);
    if (const QString notice = m_history.takeNotice(); !notice.isEmpty())
        tell(notice, coding::MsgIcon::Exclamation);
    if (!entries) {
        tell(error, coding::MsgIcon::Critical);
        return false;
    }
    model->setEntries(std::move(*entries));
    if (model->rowCount() > 0)
        tblTests->selectRow(0);
    updateChart();
    updateSummary();
    updateButtons();
    return true;
}

int frmHistory::selectedRow() const {
    const QModelIndexList rows = tblTests->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void frmHistory::updateButtons() {
    const bool selected = selectedRow() >= 0;
    cmdReview->setEnabled(selected);
    cmdMissed->setEnabled(selected);
    cmdDelete->setEnabled(selected);
    cmdExport->setEnabled(model->rowCount() > 0);
    chkThisText->setEnabled(selected);
}

void frmHistory::updateChart() {
    const int row = selectedRow();
    const QString hash =
        chkThisText->isChecked() && row >= 0 ? model->entry(row).textHash : QString();
    const QList<TestEntry> &entries = model->entries();
    QList<TestEntry> shown;
    if (hash.isEmpty()) {
        shown = entries;
    } else {
        for (const TestEntry &e : entries)
            if (e.textHash == hash)
                shown.append(e);
    }
    const Grouping grouping = groupingFor(shown);
    const QList<ChartPoint> points = chartPoints(shown, grouping);
    QList<QPointF> speed, eff, accuracy;
    double top = 10;
    for (const ChartPoint &p : points) {
        const double x = double(p.at.toMSecsSinceEpoch());
        speed << QPointF(x, p.speed);
        eff << QPointF(x, p.effSpeed);
        accuracy << QPointF(x, p.accuracy);
        top = std::max(top, p.speed);
    }
    seriesSpeed->replace(speed);
    seriesEffSpeed->replace(eff);
    seriesAccuracy->replace(accuracy);
    // Few points are drawn as points too; many only as lines.
    for (QLineSeries *series : {seriesSpeed, seriesEffSpeed, seriesAccuracy})
        series->setPointsVisible(points.size() <= 60);
    QChart *chart = chartView->chart();
    auto *time = qobject_cast<QDateTimeAxis *>(chart->axes(Qt::Horizontal).value(0));
    auto *speedAxis = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).value(0));
    if (time && points.isEmpty()) {
        // Nothing yet: the week up to today.
        const QDateTime today(QDate::currentDate(), QTime(0, 0));
        time->setRange(today.addDays(-6), today.addDays(1));
        time->setFormat(QStringLiteral("MM-dd"));
    } else if (time) {
        QDateTime first = points.first().at, last = points.last().at;
        if (first == last) {
            first = first.addSecs(-3600);
            last = last.addSecs(3600);
        }
        time->setRange(first, last);
        // Labels that differ from tick to tick: seconds within an hour, minutes
        // within two days, else days.
        const qint64 span = first.secsTo(last);
        time->setFormat(span < 3600        ? QStringLiteral("HH:mm:ss")
                        : span < 2 * 86400 ? QStringLiteral("MM-dd HH:mm")
                                           : QStringLiteral("yyyy-MM-dd"));
    }
    if (speedAxis) {
        speedAxis->setRange(0, top * 1.1);
        speedAxis->applyNiceNumbers(); // ticks at round figures
    }
    const char *const grouped[] = {"每次测试一点", "每天一点（平均）", "每周一点（平均）"};
    lblGrouping->setText(QString::fromUtf8(grouped[int(grouping)]) +
                         QStringLiteral("，共 %1 点").arg(points.size()));
}

void frmHistory::updateSummary() {
    const Summary s = summarize(model->entries());
    if (s.tests == 0) {
        lblSummary->setText(QStringLiteral("还没有测试记录。测试结束后，成绩会记在这里。"));
        return;
    }
    lblSummary->setText(
        QStringLiteral(
            "共 %1 次测试    最高速度 %2 字/分    最高有效速度 %3 字/分    最高正确率 %4%"
            "    平均速度 %5 字/分    平均有效速度 %6 字/分    平均正确率 %7%")
            .arg(s.tests)
            .arg(s.bestSpeed, 0, 'f', 0)
            .arg(s.bestEffSpeed, 0, 'f', 0)
            .arg(s.bestAccuracy, 0, 'f', 2)
            .arg(s.averageSpeed, 0, 'f', 0)
            .arg(s.averageEffSpeed, 0, 'f', 0)
            .arg(s.averageAccuracy, 0, 'f', 2));
}

void frmHistory::tell(const QString &text, coding::MsgIcon icon) {
    m_state.services.messages().show(text, kTitle, coding::MsgButtons::Ok, icon);
}

std::optional<TestDetail> frmHistory::selectedDetail() {
    const int row = selectedRow();
    if (row < 0)
        return std::nullopt;
    QString error;
    auto detail = m_history.detail(model->entry(row).id, &error);
    if (!detail)
        tell(error, coding::MsgIcon::Critical);
    return detail;
}

void frmHistory::cmdReview_Click() {
    if (const auto detail = selectedDetail()) {
        DlgReview review(m_state, *detail, this);
        execDialog(review);
    }
}

void frmHistory::cmdMissed_Click() {
    if (const auto detail = selectedDetail()) {
        stats::DlgMissed missed(m_state, detail->text, detail->tags, detail->inputs, this);
        execDialog(missed);
    }
}

void frmHistory::cmdDelete_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    if (m_state.services.messages().show(kDeleteQuestion, kTitle, coding::MsgButtons::YesNo,
                                         coding::MsgIcon::Question) != coding::MsgAnswer::Yes)
        return;
    QString error;
    if (!m_history.remove(model->entry(row).id, &error)) {
        tell(error, coding::MsgIcon::Critical);
        return;
    }
    model->removeEntry(row);
    if (model->rowCount() > 0)
        tblTests->selectRow(std::min(row, model->rowCount() - 1));
    updateChart();
    updateSummary();
    updateButtons();
}

void frmHistory::cmdExport_Click() {
    QString filter = QStringLiteral("CSV 文件(*.csv)");
    const QString path = m_state.services.files().getSaveFileName(
        QStringLiteral("导出成绩记录"), filter, QString(), QStringLiteral("csv"), &filter);
    if (path.isEmpty())
        return;
    QString error;
    const auto all = m_history.entries(&error); // with every figure
    if (!all || !exportCsv(path, *all, &error))
        tell(error, coding::MsgIcon::Critical);
}

void showHistory(coding::AppState &state, QWidget *parent) {
    if (!state.history)
        return;
    frmHistory window(state, *state.history, parent);
    if (window.load())
        window.exec();
}

} // namespace history
