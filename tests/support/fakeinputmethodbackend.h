#pragma once

#include "ime/inputmethodbackend.h"

#include <QStringList>

namespace ime {

// A framework for tests: the installed input methods are whatever the test puts
// into `installed`; every activation is recorded.
class FakeInputMethodBackend : public InputMethodBackend {
public:
    QList<InputMethodInfo> installed;
    bool reachable = true;   // false: list() fails as with a framework that does not answer
    QStringList activations; // every id passed to activate(), in order
    QString current;         // the active input method
    int listCalls = 0;
    QString framework = QStringLiteral("fake"); // frameworkName()
    QStringList reloads;                        // every id passed to reloadUserPhrases(), in order

    QString frameworkName() const override { return framework; }
    void reloadUserPhrases(const QString &id) override { reloads << id; }
    std::optional<QList<InputMethodInfo>> list() override {
        ++listCalls;
        if (!reachable)
            return std::nullopt;
        return installed;
    }
    bool activate(const QString &id) override {
        activations << id;
        if (!reachable)
            return false;
        if (id != englishId() && !hasId(id))
            return false;
        current = id;
        return true;
    }
    QString englishId() const override { return QStringLiteral("english"); }
    QString currentId() override { return current; }

private:
    bool hasId(const QString &id) const {
        for (const auto &im : installed)
            if (im.id == id)
                return true;
        return false;
    }
};

} // namespace ime
