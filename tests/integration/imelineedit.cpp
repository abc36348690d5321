// trevix-ime-lineedit: a window with one line edit that the integration test
// types into through the real input-method framework.
//
// Once the window is active and the line edit has the focus, it runs the
// program's detection and switches to the input method (the framework switches
// the focused field), prints "open: <current id>" and "READY", and then waits
// for the text given with --expect. When it has arrived it switches back to English
// ("close: <current id>", "ENGLISH") and waits for the text given with
// --then-english to follow it. It logs every key and input-method event that
// reaches the line edit ("event: ..."), prints "COMMITTED <text>" and exits 0 when
// all the text arrived, 1 after --timeout milliseconds (default 15000).

#include "ime/inputmethod.h"
#include "printmessages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

void say(const QString &line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString eventTypeName(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
        return QStringLiteral("KeyPress");
    case QEvent::KeyRelease:
        return QStringLiteral("KeyRelease");
    case QEvent::ShortcutOverride:
        return QStringLiteral("ShortcutOverride");
    default:
        return QString::number(type);
    }
}

class EventLog : public QObject {
public:
    QElapsedTimer clock;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!clock.isValid())
            return QObject::eventFilter(watched, event); // typing has not begun
        const qint64 ms = clock.elapsed();
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride: {
            const auto *key = static_cast<QKeyEvent *>(event);
            say(QStringLiteral("event: %1 ms %2 key 0x%3 text '%4' autorepeat %5")
                    .arg(ms)
                    .arg(eventTypeName(event->type()))
                    .arg(key->key(), 0, 16)
                    .arg(key->text())
                    .arg(key->isAutoRepeat()));
            break;
        }
        case QEvent::InputMethod: {
            const auto *im = static_cast<QInputMethodEvent *>(event);
            say(QStringLiteral("event: %1 ms InputMethod commit '%2' preedit '%3'")
                    .arg(ms)
                    .arg(im->commitString(), im->preeditString()));
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("expect"), QStringLiteral("Text to wait for."), QStringLiteral("text")});
    parser.addOption({QStringLiteral("timeout"), QStringLiteral("Milliseconds to wait."),
                      QStringLiteral("ms"), QStringLiteral("15000")});
    parser.addOption({QStringLiteral("title"), QStringLiteral("The window's title."),
                      QStringLiteral("text"), QStringLiteral("trevix-ime-lineedit")});
    parser.addOption({QStringLiteral("then-english"),
                      QStringLiteral("Text to wait for after switching to English."),
                      QStringLiteral("text")});
    parser.process(application);
    const QString expected = parser.value(QStringLiteral("expect"));
    const QString englishText = parser.value(QStringLiteral("then-english"));

    QTemporaryDir appDir;
    coding::AppState state(coding::AppDirectory::at(appDir.path()), nullptr);
    PrintMessages messages;
    state.services.setMessages(&messages);
    auto backend = ime::chooseInputMethodBackend();
    say(QStringLiteral("framework: %1").arg(backend ? backend->frameworkName() : "none"));
    ime::DetectInputMethod(state, backend.get());
    say(QStringLiteral("handles: %1 %2")
            .arg(state.inputMethod.ImeLayoutHandle, state.inputMethod.EnglishLayoutHandle));

    QWidget window;
    window.setWindowTitle(parser.value(QStringLiteral("title")));
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.resize(420, 80);
    EventLog log;
    edit->installEventFilter(&log);

    bool switched = false;
    bool english = false;
    bool done = false;
    int result = 1;
    auto finish = [&](int code) {
        if (done)
            return;
        done = true;
        say(QStringLiteral("COMMITTED %1").arg(edit->text()));
        result = code;
        application.quit();
    };
    // Switch once the line edit really has the focus of an active window (the
    // framework switches the focused field), then watch the switch read back: Fcitx
    // learns of the focus a moment later, and the backend repeats the switch.
    QTimer focusPoll;
    focusPoll.setInterval(50);
    QElapsedTimer sinceOpen;
    QString current;
    QObject::connect(&focusPoll, &QTimer::timeout, [&] {
        if (!switched) {
            if (!window.isActiveWindow() || !edit->hasFocus())
                return;
            switched = true;
            sinceOpen.start();
            ime::OpenInputMethod(state);
        }
        const QString now = backend ? backend->currentId() : QString();
        if (now != current)
            say(QStringLiteral("at %1 ms: current '%2'").arg(sinceOpen.elapsed()).arg(now));
        current = now;
        if (current != state.inputMethod.ImeLayoutHandle && sinceOpen.elapsed() < 3000)
            return;
        focusPoll.stop();
        say(QStringLiteral("open: %1 (%2 ms)").arg(current).arg(sinceOpen.elapsed()));
        // The question the test window asks every second, without waiting.
        if (backend)
            backend->queryCurrentId(&application, [&](const QString &id) {
                say(QStringLiteral("queried: %1").arg(id));
            });
        log.clock.start();
        say(QStringLiteral("READY"));
    });
    // Once the input method has committed the expected text, switch to English;
    // what is typed then must arrive as it is.
    QObject::connect(edit, &QLineEdit::textChanged, [&](const QString &text) {
        say(QStringLiteral("text: %1").arg(text));
        if (!english && text == expected) {
            english = true;
            QTimer::singleShot(300, [&] {
                ime::CloseInputMethod(state);
                say(QStringLiteral("close: %1").arg(backend ? backend->currentId() : QString()));
                say(QStringLiteral("ENGLISH"));
                if (englishText.isEmpty())
                    finish(0);
            });
        } else if (english && !englishText.isEmpty() && text == expected + englishText) {
            QTimer::singleShot(300, [&] { finish(0); });
        }
    });
    QTimer::singleShot(parser.value(QStringLiteral("timeout")).toInt(), [&] { finish(1); });

    window.show();
    edit->setFocus();
    focusPoll.start();
    application.exec();
    return result;
}
