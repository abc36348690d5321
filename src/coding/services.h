#pragma once

// Small services through which windows reach the user and the clock, so that tests
// can answer message boxes and file dialogs and set the time. The implementations
// over Qt's dialogs live with the windows (src/app/qtservices.*); tests use the fakes
// of fakeservices.h.

#include <QColor>
#include <QDateTime>
#include <QString>

#include <optional>

namespace coding {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class MessageService {
public:
    virtual ~MessageService() = default;
    // A modal message box over the active window.
    virtual MsgAnswer show(const QString &text, const QString &title, MsgButtons buttons,
                           MsgIcon icon) = 0;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file, or an empty string when the user cancelled.
    virtual QString getOpenFileName(const QString &caption, const QString &filter,
                                    const QString &dir = {}) = 0;
    virtual QString getSaveFileName(const QString &caption, const QString &filter,
                                    const QString &dir = {}) = 0;
};

class ColorDialogService {
public:
    virtual ~ColorDialogService() = default;
    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> getColor(const QColor &initial) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // A millisecond tick that only moves forward (GetTickCount).
    virtual qint64 tickMs() const = 0;
    // The local date and time (Now).
    virtual QDateTime now() const = 0;
};

class BeepService {
public:
    virtual ~BeepService() = default;
    virtual void beep() = 0;
};

// The services of one run.
struct Services {
    MessageService *messages = nullptr;
    FileDialogService *files = nullptr;
    ColorDialogService *colors = nullptr;
    Clock *clock = nullptr;
    BeepService *beep = nullptr;
};

} // namespace coding
