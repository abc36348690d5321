#pragma once

#include "coding/services.h"

#include <QElapsedTimer>

namespace app {

// The services of a real run: Qt's message box, file and colour dialogs, the
// monotonic clock and the system beep.
class QtMessages : public coding::MessageService {
public:
    coding::MsgAnswer show(const QString &text, const QString &title, coding::MsgButtons buttons,
                           coding::MsgIcon icon) override;
};

class QtFiles : public coding::FileDialogService {
public:
    QString getOpenFileName(const QString &caption, const QString &filter,
                            const QString &dir) override;
    QString getSaveFileName(const QString &caption, const QString &filter,
                            const QString &dir) override;
};

class QtColors : public coding::ColorDialogService {
public:
    std::optional<QColor> getColor(const QColor &initial) override;
};

class SystemClock : public coding::Clock {
public:
    SystemClock() { m_timer.start(); }
    qint64 tickMs() const override { return m_timer.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer m_timer;
};

class QtBeep : public coding::BeepService {
public:
    void beep() override;
};

} // namespace app
