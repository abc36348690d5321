#pragma once

#include "inputmethodbackend.h"

#include <QDBusConnection>

#include <memory>

namespace ime {

// IBus over its own bus: org.freedesktop.IBus on /org/freedesktop/IBus. The bus
// address comes from IBUS_ADDRESS or from the address file that `ibus address`
// reads (~/.config/ibus/bus/<machine id>-<host>-<display>).
class IBusBackend : public InputMethodBackend {
public:
    // Connects to the running daemon; null when there is none.
    static std::unique_ptr<IBusBackend> connect();
    // The daemon's bus address, empty when it cannot be found.
    static QString findAddress();

    explicit IBusBackend(const QDBusConnection &bus);
    ~IBusBackend() override;

    QString frameworkName() const override { return QStringLiteral("IBus"); }
    std::optional<QList<InputMethodInfo>> list() override;
    bool activate(const QString &id) override;
    QString englishId() const override { return QStringLiteral("xkb:us::eng"); }
    QString currentId() override;
    void queryCurrentId(QObject *context, std::function<void(const QString &)> done) override;

private:
    QDBusConnection m_bus;
};

} // namespace ime
