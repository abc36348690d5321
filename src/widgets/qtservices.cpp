#include "qtservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace widgets {

using coding::MsgAnswer;
using coding::MsgButtons;
using coding::MsgIcon;

MsgAnswer QtMessages::show(const QString &text, const QString &title, MsgButtons buttons,
                           MsgIcon icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::None:
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // The captions of a Chinese system's message boxes, whatever the locale.
    const struct {
        QMessageBox::StandardButton button;
        const char *text;
    } captions[] = {{QMessageBox::Ok, "确定"},
                    {QMessageBox::Cancel, "取消"},
                    {QMessageBox::Yes, "是(&Y)"},
                    {QMessageBox::No, "否(&N)"}};
    for (const auto &caption : captions)
        if (QAbstractButton *b = box.button(caption.button))
            b->setText(QString::fromUtf8(caption.text));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
}

QString QtFiles::getOpenFileName(const QString &caption, const QString &filter,
                                 const QString &dir) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, dir, filter);
}

QString QtFiles::getSaveFileName(const QString &caption, const QString &filter, const QString &dir,
                                 const QString &defaultSuffix, QString *selectedFilter) {
    QFileDialog dialog(QApplication::activeWindow(), caption, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog adds the suffix before it asks whether to replace a file: the
    // default one, or that of the filter the user picks ("纯文本(*.txt)" gives txt).
    dialog.setDefaultSuffix(defaultSuffix);
    if (!defaultSuffix.isEmpty()) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString &chosen) {
                             const QString suffix = filterSuffix(chosen);
                             if (!suffix.isEmpty())
                                 dialog.setDefaultSuffix(suffix);
                         });
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

QString filterSuffix(const QString &filter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([^ ;)*?]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<QColor> QtColors::getColor(const QColor &initial) {
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!c.isValid())
        return std::nullopt;
    return c;
}

void QtBeep::beep() {
    QApplication::beep();
}

} // namespace widgets
