#pragma once

// Driving modal dialogs from window tests: opening one by its button, looking at
// it while it is shown and leaving it by its exit button, and reading the 24 count
// labels of the keystroke dialogs.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <array>
#include <functional>

namespace support {

// Clicks button, which opens a modal dialog of type D; check sees it, then the
// button exitName closes it. False when no such dialog opened.
template <typename D>
bool whileOpen(QAbstractButton *button, const char *exitName,
               const std::function<void(D &)> &check) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        check(*dialog);
        QTest::mouseClick(dialog->template findChild<QPushButton *>(QString::fromLatin1(exitName)),
                          Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    return seen;
}

// The texts of the count labels lblkeys(0) ... lblkeys(23), by index.
inline QStringList keyLabelTexts(QWidget &dialog) {
    QStringList out;
    for (int i = 0; i < 24; ++i)
        out << dialog.findChild<QLabel *>(QStringLiteral("lblkeys(%1)").arg(i))->text();
    return out;
}

// The counts as the labels show them.
inline QStringList numbers(const std::array<int, 24> &counts) {
    QStringList out;
    for (int v : counts)
        out << QString::number(v);
    return out;
}

} // namespace support
