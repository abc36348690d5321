#pragma once

// Small services through which windows reach the user and the clock, so that tests
// can answer message boxes and file dialogs and set the time. The implementations
// over Qt's dialogs live with the widgets (src/widgets/qtservices.*); tests use the
// fakes of tests/support/fakeservices.h.

#include <QColor>
#include <QDateTime>
#include <QElapsedTimer>
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
    // The same for a file to write: the dialog asks before an existing file is
    // replaced, and a name typed without a suffix gets defaultSuffix ("sav"), or
    // that of the filter the user has chosen. selectedFilter, when given, is set to
    // the chosen one of the filters ("纯文本(*.txt)").
    virtual QString getSaveFileName(const QString &caption, const QString &filter,
                                    const QString &dir = {}, const QString &defaultSuffix = {},
                                    QString *selectedFilter = nullptr) = 0;
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

// The help: shows the help at one of its pages ("test.html"), in front of the
// window that asked.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void showHelp(const QString &page) = 0;
};

// The clock of a real run: a monotonic tick and the local time.
class SystemClock : public Clock {
public:
    SystemClock() { m_timer.start(); }
    qint64 tickMs() const override { return m_timer.elapsed(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer m_timer;
};

// The services of one run. None is ever missing: what is not given is a null
// object with which nothing happens (no message is shown and the answer is the
// one that changes nothing: Ok, No or Cancel; file and colour dialogs are
// cancelled; the beep is silent; no help is shown), except the clock, which is
// the system's.
class Services {
public:
    Services() : Services(nullptr, nullptr, nullptr, nullptr, nullptr) {}
    Services(MessageService *messages, FileDialogService *files, ColorDialogService *colors,
             Clock *clock, BeepService *beep);

    MessageService &messages() const { return *m_messages; }
    FileDialogService &files() const { return *m_files; }
    ColorDialogService &colors() const { return *m_colors; }
    const Clock &clock() const { return *m_clock; }
    BeepService &beep() const { return *m_beep; }
    HelpService &help() const { return *m_help; }

    // Null gives the null object back.
    void setMessages(MessageService *messages);
    void setFiles(FileDialogService *files);
    void setColors(ColorDialogService *colors);
    void setClock(Clock *clock);
    void setBeep(BeepService *beep);
    void setHelp(HelpService *help);

private:
    MessageService *m_messages;
    FileDialogService *m_files;
    ColorDialogService *m_colors;
    Clock *m_clock;
    BeepService *m_beep;
    HelpService *m_help = &nullHelp();

public:
    // The null objects themselves (for tests of what they answer).
    static MessageService &nullMessages();
    static FileDialogService &nullFiles();
    static ColorDialogService &nullColors();
    static Clock &systemClock();
    static BeepService &nullBeep();
    static HelpService &nullHelp();
};

} // namespace coding
