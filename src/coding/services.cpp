#include "services.h"

namespace coding {

namespace {

class NullMessages : public MessageService {
public:
    MsgAnswer show(const QString &, const QString &, MsgButtons buttons, MsgIcon) override {
        switch (buttons) {
        case MsgButtons::Ok:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
            break;
        }
        return MsgAnswer::Cancel;
    }
};

class NullFiles : public FileDialogService {
public:
    QString getOpenFileName(const QString &, const QString &, const QString &) override {
        return {};
    }
    QString getSaveFileName(const QString &, const QString &, const QString &, const QString &,
                            QString *) override {
        return {};
    }
};

class NullColors : public ColorDialogService {
public:
    std::optional<QColor> getColor(const QColor &) override { return std::nullopt; }
};

class NullBeep : public BeepService {
public:
    void beep() override {}
};

class NullHelp : public HelpService {
public:
    void showHelp(const QString &) override {}
};

} // namespace

MessageService &Services::nullMessages() {
    static NullMessages instance;
    return instance;
}

FileDialogService &Services::nullFiles() {
    static NullFiles instance;
    return instance;
}

ColorDialogService &Services::nullColors() {
    static NullColors instance;
    return instance;
}

Clock &Services::systemClock() {
    static SystemClock instance;
    return instance;
}

HelpService &Services::nullHelp() {
    static NullHelp instance;
    return instance;
}

BeepService &Services::nullBeep() {
    static NullBeep instance;
    return instance;
}

Services::Services(MessageService *messages, FileDialogService *files, ColorDialogService *colors,
                   Clock *clock, BeepService *beep) {
    setMessages(messages);
    setFiles(files);
    setColors(colors);
    setClock(clock);
    setBeep(beep);
}

void Services::setMessages(MessageService *messages) {
    m_messages = messages ? messages : &nullMessages();
}

void Services::setFiles(FileDialogService *files) {
    m_files = files ? files : &nullFiles();
}

void Services::setColors(ColorDialogService *colors) {
    m_colors = colors ? colors : &nullColors();
}

void Services::setClock(Clock *clock) {
    m_clock = clock ? clock : &systemClock();
}

void Services::setBeep(BeepService *beep) {
    m_beep = beep ? beep : &nullBeep();
}

void Services::setHelp(HelpService *help) {
    m_help = help ? help : &nullHelp();
}

} // namespace coding
