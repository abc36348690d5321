#include "dlgresult.h"

#include "dlgmoreinfo.h"
#include "resultfigures.h"

#include "coding/codelookup.h"
#include "coding/texttables.h"
#include "widgets/centring.h"
#include "widgets/messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace stats {

namespace {

QLabel *caption(const char *name, const char *text, QWidget *parent) {
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel *figure(const char *name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(90);
    return label;
}

// A frame of four caption/figure rows.
QGroupBox *frame(const char *name, const char *title, QWidget *parent,
                 const std::array<std::pair<QLabel *, QLabel *>, 4> &rows) {
    auto *box = new QGroupBox(QString::fromUtf8(title), parent);
    box->setObjectName(QString::fromLatin1(name));
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    for (int i = 0; i < 4; ++i) {
        rows[size_t(i)].first->setParent(box);
        rows[size_t(i)].second->setParent(box);
        grid->addWidget(rows[size_t(i)].first, i, 0, Qt::AlignRight);
        grid->addWidget(rows[size_t(i)].second, i, 1);
    }
    return box;
}

} // namespace

DlgResult::DlgResult(coding::AppState &state, const QString &testText,
                     std::function<void()> restoreTestText, QWidget *parent)
    : QDialog(parent), m_state(state), m_testText(testText),
      m_restoreTestText(std::move(restoreTestText)) {
    setObjectName(QStringLiteral("DlgResult"));
    setWindowTitle(QStringLiteral("统计信息"));
    widgets::centreOnFirstShow(*this);

    Label1 = caption("Label1", "总字数﹕", this);
    lblTotal = figure("lblTotal", this);
    Label3 = caption("Label3", "汉字数﹕", this);
    lblHz = figure("lblHz", this);
    Label5 = caption("Label5", "标点数﹕", this);
    lblSym = figure("lblSym", this);
    Label8 = caption("Label8", "字母数字数﹕", this);
    lblAlpha = figure("lblAlpha", this);
    Frame1 = frame("Frame1", "文本统计信息", this,
                   {{{Label1, lblTotal}, {Label3, lblHz}, {Label5, lblSym}, {Label8, lblAlpha}}});

    label2 = caption("label2", "用    时﹕", this);
    lblTime = figure("lblTime", this);
    label4 = caption("label4", "正 确 率﹕", this);
    lblRgtRate = figure("lblRgtRate", this);
    label6 = caption("label6", "输入速度﹕", this);
    lblRate = figure("lblRate", this);
    label7 = caption("label7", "有效速度﹕", this);
    lblEffRate = figure("lblEffRate", this);
    Frame2 =
        frame("Frame2", "用户技术信息", this,
              {{{label2, lblTime}, {label4, lblRgtRate}, {label6, lblRate}, {label7, lblEffRate}}});

    cmdMorInfo = new QPushButton(QStringLiteral("更多信息(&M)"), this);
    cmdMorInfo->setObjectName(QStringLiteral("cmdMorInfo"));
    cmdOk = new QPushButton(QStringLiteral("退   出(&X)"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdMorInfo, &QPushButton::clicked, this, &DlgResult::cmdMorInfo_Click);
    connect(cmdOk, &QPushButton::clicked, this, &DlgResult::cmdOk_Click);
    cmdHistory = new QPushButton(QStringLiteral("成绩记录(&H)…"), this);
    cmdHistory->setObjectName(QStringLiteral("cmdHistory"));
    cmdHistory->setAutoDefault(false);
    cmdHistory->hide();
    connect(cmdHistory, &QPushButton::clicked, this, [this] {
        if (m_openHistory)
            m_openHistory();
    });
    cmdMissed = new QPushButton(QStringLiteral("错过的捷径(&S)…"), this);
    cmdMissed->setObjectName(QStringLiteral("cmdMissed"));
    cmdMissed->setAutoDefault(false);
    cmdMissed->hide();
    connect(cmdMissed, &QPushButton::clicked, this, [this] {
        if (m_openMissed)
            m_openMissed();
    });

    auto *frames = new QHBoxLayout;
    frames->setSpacing(16);
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdMorInfo);
    buttons->addSpacing(24);
    buttons->addWidget(cmdHistory);
    buttons->addSpacing(24);
    buttons->addWidget(cmdMissed);
    buttons->addSpacing(24);
    buttons->addWidget(cmdOk);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(16);
    layout->addLayout(frames);
    layout->addLayout(buttons);

    Form_Load();
}

void DlgResult::Form_Load() {
    const auto &s = m_state;
    lblTotal->setText(QString::number(s.text.SymCount + s.text.HzCount + s.text.AlphaCount));
    lblHz->setText(QString::number(s.text.HzCount));
    lblSym->setText(QString::number(s.text.SymCount));
    lblAlpha->setText(QString::number(s.text.AlphaCount));

    const ResultFigures f =
        computeResultFigures(s.test.RightCount, s.test.ErrCount, s.test.TestDuration);
    lblTime->setText(f.duration);
    lblRgtRate->setText(f.accuracy);
    lblRate->setText(f.speed);
    lblEffRate->setText(f.effSpeed);

    m_state.derived.result = coding::ResultTexts{f.accuracy, f.speed, f.effSpeed};
}

void DlgResult::cmdMorInfo_Click() {
    if (!m_state.derived.MoreInfoStatsReady()) {
        const auto answer =
            m_state.services.messages().show(kMoreInfoQuestion, QStringLiteral("提示信息"),
                                             coding::MsgButtons::YesNo, coding::MsgIcon::Question);
        if (answer != coding::MsgAnswer::Yes)
            return;
        // The tables belong to this text only once they are built whole: a failing
        // database leaves none, so that the next try builds again.
        m_state.derived.textTables = coding::buildTextTables(
            m_state, m_testText, m_state.text.SegmentTags, coding::TableKind::TestText);
        if (!m_state.derived.textTables) {
            widgets::reportCodeDatabaseError(m_state);
            return;
        }
    }
    DlgMoreInfo moreInfo(m_state, this);
    execDialog(moreInfo);
}

void DlgResult::cmdOk_Click() {
    if (m_leaving)
        return;
    m_leaving = true;
    if (m_restoreTestText)
        m_restoreTestText();
    accept();
}

void DlgResult::reject() {
    if (m_leaving) {
        QDialog::reject();
        return;
    }
    m_leaving = true;
    if (m_restoreTestText)
        m_restoreTestText();
    QDialog::reject();
}

void DlgResult::setOpenHistory(std::function<void()> openHistory) {
    m_openHistory = std::move(openHistory);
    cmdHistory->setVisible(bool(m_openHistory));
}

void DlgResult::setOpenMissed(std::function<void()> openMissed) {
    m_openMissed = std::move(openMissed);
    cmdMissed->setVisible(bool(m_openMissed));
}

} // namespace stats
