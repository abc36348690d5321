#pragma once

#include "inputmethodbackend.h"

#include <QDBusConnection>
#include <QObject>

#include <algorithm>
#include <memory>
#include <utility>

namespace ime {

// Fcitx 5 on the session bus: org.fcitx.Fcitx5, /controller,
// org.fcitx.Fcitx.Controller1. Every call first checks that the name has an
// owner and never starts the service: calling the name of a daemon that is not
// running would start a second copy of it.
class FcitxBackend : public InputMethodBackend {
public:
    // A backend when Fcitx 5 owns its name on the session bus, otherwise null.
    static std::unique_ptr<FcitxBackend> connect();

    explicit FcitxBackend(const QDBusConnection &bus);

    QString frameworkName() const override { return QStringLiteral("Fcitx 5"); }
    std::optional<QList<InputMethodInfo>> list() override;
    // Puts the input method into the current group first when it is missing there
    // (Fcitx ignores a switch to an input method outside the group); the English
    // keyboard, where the group lacks it, is reached by switching the input method
    // off (back to the group's first, the user's keyboard). Fcitx switches
    // the focused text field, and learns of a new focus a moment after the program
    // gave it: the switch is repeated from the event loop for a second or two (and
    // no longer once another activation has replaced it).
    bool activate(const QString &id) override;
    QString englishId() const override { return QStringLiteral("keyboard-us"); }
    QString currentId() override;
    void queryCurrentId(QObject *context, std::function<void(const QString &)> done) override;
    // The table engine keeps a table from its first use until the input method
    // leaves the current group: the group is set once without it and once again
    // as it was, so that the next use reads the table and its user dictionary anew.
    // Nothing when the input method is not in the current group (its table is not
    // kept then).
    void reloadUserPhrases(const QString &id) override;

private:
    // An input-method group: its name, its layout and its input methods, each
    // with its own layout (empty: the group's).
    struct Group {
        QString name, layout;
        QList<std::pair<QString, QString>> items;
        bool has(const QString &id) const {
            return std::any_of(items.begin(), items.end(),
                               [&id](const auto &item) { return item.first == id; });
        }
    };

    bool running();
    std::optional<Group> currentGroup();
    bool addToGroup(const Group &group, const QString &id);
    bool setGroup(const Group &group);
    bool setCurrent(const QString &id, bool deactivate);
    void repeatLater(const QString &id, bool deactivate, int generation, int repetition);

    QDBusConnection m_bus;
    std::unique_ptr<QObject> m_retryContext; // pending retries die with the backend
    int m_generation = 0;                    // the activation that retries may repeat
};

} // namespace ime
