#include "ibusbackend.h"

#include <QAtomicInteger>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <csignal>

namespace ime {

namespace {

const QString kService = QStringLiteral("org.freedesktop.IBus");
const QString kPath = QStringLiteral("/org/freedesktop/IBus");
const QString kInterface = QStringLiteral("org.freedesktop.IBus");
constexpr int kTimeoutMs = 3000;

QString machineId() {
    for (const char *path : {"/var/lib/dbus/machine-id", "/etc/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            const QString id = QString::fromLatin1(file.readAll()).trimmed();
            if (!id.isEmpty())
                return id;
        }
    }
    return QStringLiteral("machine-id");
}

// The file in which the daemon publishes its address, named as IBus names it.
QString addressFilePath() {
    const QString explicitFile = qEnvironmentVariable("IBUS_ADDRESS_FILE");
    if (!explicitFile.isEmpty())
        return explicitFile;
    QString host, number;
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (!wayland.isEmpty()) {
        number = wayland;
    } else {
        const QString display = qEnvironmentVariable("DISPLAY");
        if (display.isEmpty()) {
            number = QStringLiteral("0");
        } else {
            const qsizetype colon = display.indexOf(u':');
            host = colon < 0 ? display : display.left(colon);
            number = colon < 0 ? QString() : display.mid(colon + 1);
            const qsizetype dot = number.indexOf(u'.');
            if (dot >= 0)
                number.truncate(dot);
        }
    }
    if (host.isEmpty())
        host = QStringLiteral("unix");
    const QString configDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(configDir).filePath(
        QStringLiteral("ibus/bus/%1-%2-%3").arg(machineId(), host, number));
}

bool processAlive(qint64 pid) {
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

QDBusMessage call(const QDBusConnection &bus, const QString &interface, const QString &method,
                  const QVariantList &args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    message.setArguments(args);
    return bus.call(message, QDBus::Block, kTimeoutMs);
}

QDBusMessage getProperty(const QDBusConnection &bus, const QString &name) {
    return call(bus, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                {kInterface, name});
}

// Properties arrive wrapped in variants, the global engine in two.
QVariant unwrapVariant(QVariant value) {
    for (int depth = 0; depth < 4 && value.userType() == qMetaTypeId<QDBusVariant>(); ++depth)
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

// An IBusEngineDesc travels as a variant holding the structure
// (type name, attachments, name, long name, description, ...).
std::optional<InputMethodInfo> readEngineDesc(const QVariant &wrapped) {
    const QVariant value = unwrapVariant(wrapped);
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const auto arg = qvariant_cast<QDBusArgument>(value);
    if (arg.currentType() != QDBusArgument::StructureType)
        return std::nullopt;
    QString typeName, name, longName;
    QVariantMap attachments;
    arg.beginStructure();
    arg >> typeName >> attachments >> name >> longName;
    arg.endStructure();
    if (typeName != QLatin1String("IBusEngineDesc") || name.isEmpty())
        return std::nullopt;
    return InputMethodInfo{name, longName};
}

std::optional<QList<InputMethodInfo>> readEngineList(const QVariant &wrapped) {
    const QVariant value = unwrapVariant(wrapped);
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return std::nullopt;
    const auto arg = qvariant_cast<QDBusArgument>(value);
    if (arg.currentType() != QDBusArgument::ArrayType)
        return std::nullopt;
    QList<InputMethodInfo> engines;
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusVariant item;
        arg >> item;
        if (auto engine = readEngineDesc(item.variant()))
            engines << *engine;
    }
    arg.endArray();
    return engines;
}

QAtomicInteger<int> connectionCounter;

} // namespace

QString IBusBackend::findAddress() {
    const QString fromEnv = qEnvironmentVariable("IBUS_ADDRESS");
    if (!fromEnv.isEmpty())
        return fromEnv;
    QFile file(addressFilePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString address;
    qint64 pid = -1;
    const auto lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        if (line.startsWith(u'#'))
            continue;
        if (line.startsWith(QLatin1String("IBUS_ADDRESS=")))
            address = line.mid(13).trimmed();
        else if (line.startsWith(QLatin1String("IBUS_DAEMON_PID=")))
            pid = line.mid(16).trimmed().toLongLong();
    }
    // A file left behind by a daemon that has ended names a dead bus.
    if (address.isEmpty() || !processAlive(pid))
        return {};
    return address;
}

std::unique_ptr<IBusBackend> IBusBackend::connect() {
    const QString address = findAddress();
    if (address.isEmpty())
        return nullptr;
    const QString name =
        QStringLiteral("trevix-ibus-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    QDBusConnection bus = QDBusConnection::connectToBus(address, name);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(name);
        return nullptr;
    }
    auto backend = std::make_unique<IBusBackend>(bus);
    // Something else may answer on that address (Fcitx 5 imitates IBus): only a
    // daemon that lists its engines counts.
    if (!backend->list())
        return nullptr;
    return backend;
}

IBusBackend::IBusBackend(const QDBusConnection &bus)
    : m_bus(bus), m_context(std::make_unique<QObject>()) {}

namespace {

// Runs gsettings; its output, or nothing when it failed.
std::optional<QString> gsettings(const QStringList &args) {
    QProcess process;
    process.start(QStringLiteral("gsettings"), args);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Long enough for the engine to see the first change before the second comes.
constexpr int kSettingTurnBackMs = 600;

} // namespace

void IBusBackend::reloadUserPhrases(const QString &id) {
    if (!id.startsWith(QLatin1String("table:")))
        return;
    const QString schema = QStringLiteral("org.freedesktop.ibus.engine.table:"
                                          "/org/freedesktop/ibus/engine/table/%1/")
                               .arg(id.mid(6));
    const QString key = QStringLiteral("onechar");
    const QString value = gsettings({QStringLiteral("get"), schema, key}).value_or(QString());
    if (value != QLatin1String("true") && value != QLatin1String("false"))
        return;
    const QString other =
        value == QLatin1String("true") ? QStringLiteral("false") : QStringLiteral("true");
    turnSettingBack();
    if (!gsettings({QStringLiteral("set"), schema, key, other}))
        return;
    m_turnBack = {schema, key, value};
    QTimer::singleShot(kSettingTurnBackMs, m_context.get(), [this] { turnSettingBack(); });
}

void IBusBackend::turnSettingBack() {
    if (m_turnBack.isEmpty())
        return;
    gsettings(QStringList{QStringLiteral("set")} + m_turnBack);
    m_turnBack.clear();
}

IBusBackend::~IBusBackend() {
    turnSettingBack(); // never leave the user's setting turned over
    const QString name = m_bus.name();
    m_bus = QDBusConnection(QString());
    if (name.startsWith(QLatin1String("trevix-ibus-")))
        QDBusConnection::disconnectFromBus(name);
}

std::optional<QList<InputMethodInfo>> IBusBackend::list() {
    const QDBusMessage reply = getProperty(m_bus, QStringLiteral("Engines"));
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        if (auto engines = readEngineList(unwrapVariant(reply.arguments().constFirst())))
            return engines;
    }
    // Older daemons have the method instead of the property.
    const QDBusMessage listReply = call(m_bus, kInterface, QStringLiteral("ListEngines"));
    if (listReply.type() == QDBusMessage::ReplyMessage && !listReply.arguments().isEmpty())
        return readEngineList(listReply.arguments().constFirst());
    return std::nullopt;
}

bool IBusBackend::activate(const QString &id) {
    if (id.isEmpty())
        return false;
    return call(m_bus, kInterface, QStringLiteral("SetGlobalEngine"), {id}).type() ==
           QDBusMessage::ReplyMessage;
}

namespace {

QString engineIdOf(const QDBusMessage &reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const auto engine = readEngineDesc(unwrapVariant(reply.arguments().constFirst()));
    return engine ? engine->id : QString();
}

} // namespace

QString IBusBackend::currentId() {
    return engineIdOf(getProperty(m_bus, QStringLiteral("GlobalEngine")));
}

void IBusBackend::queryCurrentId(QObject *context, std::function<void(const QString &)> done) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message.setArguments({kInterface, QStringLiteral("GlobalEngine")});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         done(engineIdOf(watcher->reply()));
                     });
}

} // namespace ime
