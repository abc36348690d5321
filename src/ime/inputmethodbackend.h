#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QObject;

namespace ime {

// One installed input method: the framework's id and the name a user sees.
struct InputMethodInfo {
    QString id;
    QString name;
};

// The input-method framework of the desktop (IBus, Fcitx 5, or a fake in tests):
// lists the installed input methods and switches between them. The id of an
// input method is what the program keeps as its handle.
class InputMethodBackend {
public:
    virtual ~InputMethodBackend() = default;

    // "IBus", "Fcitx 5", ...: for messages and diagnostics.
    virtual QString frameworkName() const = 0;
    // The installed input methods in the framework's order, or nothing when the
    // framework cannot be asked.
    virtual std::optional<QList<InputMethodInfo>> list() = 0;
    // Makes the input method with this id the active one; false when the
    // framework refused or could not be reached.
    virtual bool activate(const QString &id) = 0;
    // The id of the US English keyboard in this framework.
    virtual QString englishId() const = 0;
    bool activateEnglish() { return activate(englishId()); }
    // The id of the active input method, empty when it cannot be read.
    virtual QString currentId() = 0;
    // Asks for currentId() without waiting for the framework: done gets the
    // answer later, from the event loop, unless context is destroyed first. By
    // default done gets currentId() at once.
    virtual void queryCurrentId(QObject *context, std::function<void(const QString &)> done) {
        (void)context;
        done(currentId());
    }
    // Has the framework read the user's own phrases of input method id again after
    // they changed, as far as it can without a restart. By default nothing.
    virtual void reloadUserPhrases(const QString &id) { (void)id; }
};

} // namespace ime
