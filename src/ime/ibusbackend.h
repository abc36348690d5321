#pragma once

#include "inputmethodbackend.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

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
    // ibus-table keeps the phrases it looked up for each code; it forgets them all
    // when one of its settings changes. The setting "onechar" (only single
    // characters) is turned over and, a moment later, back (gsettings, on the
    // engine's own path), so that the engine looks up every code anew.
    void reloadUserPhrases(const QString &id) override;

private:
    void turnSettingBack();

    QDBusConnection m_bus;
    std::unique_ptr<QObject> m_context;
    QStringList m_turnBack; // schema, key and value of a setting to turn back
};

} // namespace ime
