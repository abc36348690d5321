#include "fcitxbackend.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QTimer>

namespace ime {

namespace {

const QString kService = QStringLiteral("org.fcitx.Fcitx5");
const QString kPath = QStringLiteral("/controller");
const QString kInterface = QStringLiteral("org.fcitx.Fcitx.Controller1");
constexpr int kTimeoutMs = 3000;
// After a switch, Fcitx is told again every kRetryIntervalMs: always during the
// first kRetryAlways repetitions (it reads back the input method of the field that
// had the focus last, which may not yet be the field that has it now), then while
// the switch does not read back, up to kRetryMost repetitions in all. Telling it
// the input method it already has changes nothing.
constexpr int kRetryIntervalMs = 100;
constexpr int kRetryAlways = 10;
constexpr int kRetryMost = 20;

} // namespace

// One entry of an input-method group: the input method and its keyboard layout
// (empty for the group's default layout).
struct FcitxGroupItem {
    QString id;
    QString layout;
};

QDBusArgument &operator<<(QDBusArgument &arg, const FcitxGroupItem &item) {
    arg.beginStructure();
    arg << item.id << item.layout;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, FcitxGroupItem &item) {
    arg.beginStructure();
    arg >> item.id >> item.layout;
    arg.endStructure();
    return arg;
}

} // namespace ime

Q_DECLARE_METATYPE(ime::FcitxGroupItem)

namespace ime {

namespace {

QDBusMessage callFcitx(const QDBusConnection &bus, const QString &method,
                       const QVariantList &args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(args);
    // Never let the bus start the daemon: a second copy would fight the first.
    message.setAutoStartService(false);
    return bus.call(message, QDBus::Block, kTimeoutMs);
}

bool ok(const QDBusMessage &reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

std::unique_ptr<FcitxBackend> FcitxBackend::connect() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    auto backend = std::make_unique<FcitxBackend>(bus);
    if (!backend->running())
        return nullptr;
    return backend;
}

FcitxBackend::FcitxBackend(const QDBusConnection &bus)
    : m_bus(bus), m_retryContext(std::make_unique<QObject>()) {
    qDBusRegisterMetaType<FcitxGroupItem>();
    qDBusRegisterMetaType<QList<FcitxGroupItem>>();
}

bool FcitxBackend::running() {
    const QDBusConnectionInterface *busInterface = m_bus.interface();
    if (!busInterface)
        return false;
    const QDBusReply<bool> owned = busInterface->isServiceRegistered(kService);
    return owned.isValid() && owned.value();
}

std::optional<QList<InputMethodInfo>> FcitxBackend::list() {
    if (!running())
        return std::nullopt;
    const QDBusMessage reply = callFcitx(m_bus, QStringLiteral("AvailableInputMethods"));
    if (!ok(reply) || reply.arguments().isEmpty() ||
        !reply.arguments().constFirst().canConvert<QDBusArgument>())
        return std::nullopt;
    // a(ssssssb): unique name, name, native name, icon, label, language, configurable
    const auto arg = qvariant_cast<QDBusArgument>(reply.arguments().constFirst());
    if (arg.currentSignature() != QLatin1String("a(ssssssb)"))
        return std::nullopt;
    QList<InputMethodInfo> methods;
    arg.beginArray();
    while (!arg.atEnd()) {
        QString id, name, nativeName, icon, label, language;
        bool configurable = false;
        arg.beginStructure();
        arg >> id >> name >> nativeName >> icon >> label >> language >> configurable;
        arg.endStructure();
        methods << InputMethodInfo{id, name};
    }
    arg.endArray();
    return methods;
}

std::optional<FcitxBackend::Group> FcitxBackend::currentGroup() {
    const QDBusMessage groupReply = callFcitx(m_bus, QStringLiteral("CurrentInputMethodGroup"));
    if (!ok(groupReply) || groupReply.arguments().isEmpty())
        return std::nullopt;
    Group group;
    group.name = groupReply.arguments().constFirst().toString();
    const QDBusMessage info =
        callFcitx(m_bus, QStringLiteral("InputMethodGroupInfo"), {group.name});
    if (!ok(info) || info.arguments().size() != 2 ||
        !info.arguments().at(1).canConvert<QDBusArgument>())
        return std::nullopt;
    group.layout = info.arguments().at(0).toString();
    const auto items = qdbus_cast<QList<FcitxGroupItem>>(info.arguments().at(1));
    for (const auto &item : items)
        group.items.append({item.id, item.layout});
    return group;
}

bool FcitxBackend::setGroup(const Group &group) {
    QList<FcitxGroupItem> items;
    for (const auto &[method, layout] : group.items)
        items.append({method, layout});
    return ok(callFcitx(m_bus, QStringLiteral("SetInputMethodGroupInfo"),
                        {group.name, group.layout, QVariant::fromValue(items)}));
}

bool FcitxBackend::addToGroup(const Group &group, const QString &id) {
    Group more = group;
    more.items.append({id, QString()});
    return setGroup(more);
}

void FcitxBackend::reloadUserPhrases(const QString &id) {
    if (!running())
        return;
    const auto group = currentGroup();
    if (!group || !group->has(id))
        return;
    Group without = *group;
    without.items.removeIf([&id](const auto &item) { return item.first == id; });
    if (setGroup(without))
        setGroup(*group);
}

bool FcitxBackend::setCurrent(const QString &id, bool deactivate) {
    if (deactivate)
        return ok(callFcitx(m_bus, QStringLiteral("Deactivate")));
    return ok(callFcitx(m_bus, QStringLiteral("SetCurrentIM"), {id}));
}

bool FcitxBackend::activate(const QString &id) {
    const int generation = ++m_generation;
    if (id.isEmpty() || !running())
        return false;
    const auto group = currentGroup();
    if (!group)
        return false;
    const bool inGroup = group->has(id);
    // The English keyboard where the user's group lacks it: switch the input
    // method off, back to the group's own keyboard, rather than change the group.
    const bool deactivate = !inGroup && id == englishId();
    if (!inGroup && !deactivate && !addToGroup(*group, id))
        return false;
    if (!setCurrent(id, deactivate))
        return false;
    repeatLater(id, deactivate, generation, 1);
    return true;
}

void FcitxBackend::repeatLater(const QString &id, bool deactivate, int generation, int repetition) {
    QTimer::singleShot(
        kRetryIntervalMs, m_retryContext.get(), [this, id, deactivate, generation, repetition] {
            if (generation != m_generation || !running() || !setCurrent(id, deactivate))
                return;
            if (repetition < kRetryAlways ||
                (repetition < kRetryMost && !deactivate && currentId() != id))
                repeatLater(id, deactivate, generation, repetition + 1);
        });
}

QString FcitxBackend::currentId() {
    if (!running())
        return {};
    const QDBusMessage reply = callFcitx(m_bus, QStringLiteral("CurrentInputMethod"));
    if (!ok(reply) || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toString();
}

void FcitxBackend::queryCurrentId(QObject *context, std::function<void(const QString &)> done) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                          QStringLiteral("CurrentInputMethod"));
    message.setAutoStartService(false); // an error when the daemon is gone, never a new one
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         const QDBusMessage reply = watcher->reply();
                         done(ok(reply) && !reply.arguments().isEmpty()
                                  ? reply.arguments().constFirst().toString()
                                  : QString());
                     });
}

} // namespace ime
