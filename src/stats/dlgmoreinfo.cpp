#include "dlgmoreinfo.h"

#include "coding/codelookup.h"
#include "keyplan.h"

#include "dlgkeys.h"
#include "dlguserkeys.h"
#include "userstats.h"

#include "widgets/centring.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stats {

namespace {

// Twips as device-independent pixels.
constexpr int twips(int t) {
    return t / 15;
}

QTableWidgetItem *cell(const QString &text) {
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

DlgMoreInfo::DlgMoreInfo(coding::AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("DlgMoreInfo"));
    setWindowTitle(QStringLiteral("详细信息"));
    setModal(true);

    // The words of the text.
    Frame1 = new QGroupBox(QStringLiteral("文本详细统计信息"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    tspWords = new QTabBar(Frame1);
    tspWords->setObjectName(QStringLiteral("tspWords"));
    for (const char16_t *tab : {u"单  字", u"二字词", u"三字词", u"四字词", u"多字词"})
        tspWords->addTab(QString::fromUtf16(tab));
    m_gridStack = new QStackedWidget(Frame1);
    for (size_t c = 0; c < fgwords.size(); ++c) {
        auto *grid = new QTableWidget(m_gridStack);
        grid->setObjectName(QStringLiteral("fgwords(%1)").arg(c));
        grid->setColumnCount(5);
        grid->setHorizontalHeaderLabels({QStringLiteral("文   字"), QStringLiteral("次 数"),
                                         QStringLiteral("标准码"), QStringLiteral("简 码"),
                                         QStringLiteral("候选")});
        grid->horizontalHeaderItem(4)->setToolTip(QStringLiteral("在最短编码的候选中排第几个"));
        grid->setColumnWidth(0, twips(1800));
        grid->setColumnWidth(1, twips(700));
        grid->setColumnWidth(2, twips(1000));
        grid->setColumnWidth(3, twips(1000));
        grid->horizontalHeader()->setStretchLastSection(true);
        grid->verticalHeader()->setVisible(false);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        fgwords[c] = grid;
        m_gridStack->addWidget(grid);
    }
    auto *words = new QVBoxLayout(Frame1);
    words->addWidget(tspWords);
    words->addWidget(m_gridStack, 1);

    // The learner's figures.
    Frame2 = new QGroupBox(QStringLiteral("用户详细技术信息"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *figures = new QGridLayout(Frame2);
    const auto addRow = [&](const QString &labelName, const QString &caption,
                            const QString &valueName, QLabel *&label, QLabel *&value) {
        const int row = figures->rowCount();
        label = new QLabel(caption, Frame2);
        label->setObjectName(labelName);
        value = new QLabel(Frame2);
        value->setObjectName(valueName);
        value->setMinimumWidth(60);
        figures->addWidget(label, row, 0, Qt::AlignRight);
        figures->addWidget(value, row, 1);
    };
    addRow(QStringLiteral("Label1"), QStringLiteral("总字数﹕"), QStringLiteral("lblTotalWord"),
           Label1, lblTotalWord);
    const std::array<const char16_t *, 5> lengths{u"单  字﹕", u"二字词﹕", u"三字词﹕",
                                                  u"四字词﹕", u"多字词﹕"};
    for (size_t k = 0; k < lengths.size(); ++k)
        addRow(QStringLiteral("Label%1").arg(k + 2), QString::fromUtf16(lengths[k]),
               QStringLiteral("lblWordLen(%1)").arg(k), lblWordLenCaptions[k], lblWordLen[k]);
    addRow(QStringLiteral("Label7"), QStringLiteral("击键次数﹕"), QStringLiteral("lblUserKeys"),
           Label7, lblUserKeys);
    addRow(QStringLiteral("Label8"), QStringLiteral("平均键数﹕"), QStringLiteral("lblAvrKeys"),
           Label8, lblAvrKeys);
    // Beside the learner's keys a character, the fewest the text allows.
    addRow(QStringLiteral("Label9"), QStringLiteral("理论码长﹕"), QStringLiteral("lblBestKeys"),
           Label9, lblBestKeys);
    lblBestKeys->setToolTip(QStringLiteral("以最少键数输入全文时每字的平均键数"));
    figures->setRowStretch(figures->rowCount(), 1);

    cmdKeys = new QPushButton(QStringLiteral("全文键数(&K)…"), this);
    cmdKeys->setObjectName(QStringLiteral("cmdKeys"));
    cmdKeys->setToolTip(QStringLiteral("统计输入全部文本的键数"));
    cmdKeys->setAutoDefault(false);
    cmdUserKeys = new QPushButton(QStringLiteral("用户输入(&U)…"), this);
    cmdUserKeys->setObjectName(QStringLiteral("cmdUserKeys"));
    cmdUserKeys->setToolTip(QStringLiteral("统计用户输入的文本的键数"));
    cmdUserKeys->setAutoDefault(false);
    cmdOk = new QPushButton(QStringLiteral("退    出(&X)"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdKeys);
    buttons->addWidget(cmdUserKeys);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    auto *frames = new QHBoxLayout;
    frames->addWidget(Frame1, 1);
    frames->addWidget(Frame2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(frames, 1);
    layout->addLayout(buttons);

    connect(tspWords, &QTabBar::currentChanged, this, &DlgMoreInfo::tspWords_Click);
    connect(cmdKeys, &QPushButton::clicked, this, &DlgMoreInfo::cmdKeys_Click);
    connect(cmdUserKeys, &QPushButton::clicked, this, &DlgMoreInfo::cmdUserKeys_Click);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    resize(twips(1800 + 700 + 1000 + 1000 + 600) + 300, 400);
    widgets::centreOnScreen(*this);

    // Load. A database without candidate places (an older one) leaves the column
    // empty.
    coding::CandidateTable candidates;
    candidates.open(m_state.appDir.dataFile(QStringLiteral("jtdb.dat")));
    for (size_t c = 0; c < fgwords.size(); ++c)
        fillGrid(*fgwords[c], c, candidates);
    tspWords->setCurrentIndex(0);
    m_gridStack->setCurrentWidget(fgwords[0]);
    showUserFigures();
}

void DlgMoreInfo::fillGrid(QTableWidget &grid, size_t lengthClass,
                           coding::CandidateTable &candidates) {
    static const QList<coding::CodeRecord> none;
    const QList<coding::CodeRecord> &entries =
        m_state.derived.textTables ? m_state.derived.textTables->WordTable[lengthClass] : none;
    const int rows = int(entries.size());
    grid.clearContents();
    grid.setRowCount(rows);
    for (int j = 0; j < rows; ++j) {
        const coding::CodeRecord &e = entries[j];
        if (e.count <= 0)
            continue;
        grid.setItem(j, 0, cell(e.text));
        grid.setItem(j, 1, cell(QString::number(e.count)));
        grid.setItem(j, 2, cell(e.stdCode));
        grid.setItem(j, 3, cell(e.shortCode));
        coding::CandidatePlace place;
        if (candidates.isOpen())
            candidates.find(e.text, place);
        grid.setItem(j, 4, cell(place.position > 0 ? QString::number(place.position) : QString()));
    }
}

void DlgMoreInfo::showUserFigures() {
    const UserFigures f = computeUserFigures(m_state);
    lblTotalWord->setText(QString::number(f.charTotal));
    if (coding::openCodeDatabase(m_state)) {
        if (const auto plan =
                planFewestKeys(m_state.codeDatabase, m_state.text.text, m_state.text.SegmentTags))
            lblBestKeys->setText(formatRatio(plan->total, characterCount(m_state.text.text)));
    }
    if (!f.typed)
        return;
    for (size_t k = 0; k < lblWordLen.size(); ++k)
        lblWordLen[k]->setText(QString::number(f.wordLenCounts[k]));
    lblUserKeys->setText(QString::number(f.keyTotal));
    lblAvrKeys->setText(f.avgKeysText);
}

void DlgMoreInfo::tspWords_Click(int index) {
    if (index >= 0 && index < int(fgwords.size()))
        m_gridStack->setCurrentWidget(fgwords[size_t(index)]);
}

void DlgMoreInfo::cmdKeys_Click() {
    DlgKeys dialog(m_state, this);
    dialog.exec();
}

void DlgMoreInfo::cmdUserKeys_Click() {
    DlgUserKeys dialog(m_state, this);
    dialog.exec();
}

} // namespace stats
