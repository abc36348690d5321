#include "keycountframes.h"

#include "widgets/centring.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace stats {

namespace {

QString captionOf(int index) {
    switch (index) {
    case CharStdTotal:
    case CharShortTotal:
    case WordStdTotal:
    case WordShortTotal:
        return QStringLiteral("总键数：");
    case CharStdChars:
    case WordStdChars:
        return QStringLiteral("字键数：");
    case WordStdWords:
        return QStringLiteral("词键数：");
    case CharShortStd:
    case WordShortStd:
        return QStringLiteral("标准码键数：");
    case CharShortShort:
        return QStringLiteral("简码键数：");
    case WordShortCharShort:
        return QStringLiteral("字简码键数：");
    case WordShortWordShort:
        return QStringLiteral("词简码键数：");
    case CharStdPunct:
    case CharShortPunct:
    case WordStdPunct:
    case WordShortPunct:
        return QStringLiteral("标点键数：");
    case CharStdFunc:
    case CharShortFunc:
    case WordStdFunc:
    case WordShortFunc:
        return QStringLiteral("功能键数：");
    default:
        return QStringLiteral("字母数字数：");
    }
}

struct InnerFrame {
    const char *name;
    QString caption, hint;
    std::initializer_list<int> rows; // indexes, top to bottom
};

QGroupBox *innerFrame(QWidget *parent, const InnerFrame &f, std::array<QLabel *, 24> &labels) {
    auto *frame = new QGroupBox(f.caption, parent);
    frame->setObjectName(QString::fromLatin1(f.name));
    frame->setToolTip(f.hint);
    auto *grid = new QGridLayout(frame);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const int index : f.rows) {
        auto *caption = new QLabel(captionOf(index), frame);
        caption->setObjectName(QStringLiteral("lblCaption(%1)").arg(index));
        auto *count = new QLabel(frame);
        count->setObjectName(QStringLiteral("lblkeys(%1)").arg(index));
        count->setMinimumWidth(60);
        grid->addWidget(caption, row, 0, Qt::AlignRight);
        grid->addWidget(count, row, 1);
        labels[size_t(index)] = count;
        ++row;
    }
    grid->setRowStretch(row, 1);
    return frame;
}

QGroupBox *outerFrame(QWidget *parent, const char *name, const QString &caption,
                      const QString &hint, QGroupBox *left, QGroupBox *right) {
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setToolTip(hint);
    left->setParent(frame);
    right->setParent(frame);
    auto *row = new QHBoxLayout(frame);
    row->addWidget(left);
    row->addWidget(right);
    return frame;
}

} // namespace

std::array<QLabel *, 24> buildKeyCountFrames(QDialog &dialog, QVBoxLayout &layout) {
    std::array<QLabel *, 24> labels{};
    auto *frame3 =
        innerFrame(&dialog,
                   {"Frame3",
                    QStringLiteral("使用标准码"),
                    QStringLiteral("单字标准码输入时的统计信息！"),
                    {CharStdTotal, CharStdChars, CharStdPunct, CharStdAlpha, CharStdFunc}},
                   labels);
    auto *frame4 = innerFrame(&dialog,
                              {"Frame4",
                               QStringLiteral("使用简码"),
                               QStringLiteral("单字简码输入时的统计信息！"),
                               {CharShortTotal, CharShortStd, CharShortShort, CharShortPunct,
                                CharShortAlpha, CharShortFunc}},
                              labels);
    auto *frame5 = innerFrame(
        &dialog,
        {"Frame5",
         QStringLiteral("使用标准码"),
         QStringLiteral("词组标准码输入时的统计信息！"),
         {WordStdTotal, WordStdChars, WordStdWords, WordStdPunct, WordStdAlpha, WordStdFunc}},
        labels);
    auto *frame6 = innerFrame(&dialog,
                              {"Frame6",
                               QStringLiteral("使用简码"),
                               QStringLiteral("词组简码输入时的统计信息！"),
                               {WordShortTotal, WordShortStd, WordShortCharShort,
                                WordShortWordShort, WordShortPunct, WordShortAlpha, WordShortFunc}},
                              labels);
    layout.addWidget(outerFrame(&dialog, "Frame1", QStringLiteral("单字输入"),
                                QStringLiteral("只使用单字输入时的键数统计信息！"), frame3,
                                frame4));
    layout.addWidget(outerFrame(&dialog, "Frame2", QStringLiteral("词组输入"),
                                QStringLiteral("使用词组输入时的键数统计信息！"), frame5, frame6));
    return labels;
}

QPushButton *addKeyCountExit(QDialog &dialog, QVBoxLayout &layout, const QString &caption) {
    auto *ok = new QPushButton(caption, &dialog);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout.addLayout(buttons);
    dialog.setFixedSize(dialog.sizeHint());
    widgets::centreOnScreen(dialog);
    return ok;
}

void showKeyCounts(const std::array<QLabel *, 24> &labels, const KeyCounts &counts) {
    for (size_t i = 0; i < labels.size(); ++i)
        labels[i]->setText(QString::number(counts[i]));
}

} // namespace stats
