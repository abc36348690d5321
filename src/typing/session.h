#pragma once

// The life of one test, without windows: which phase it is in, its times, its
// countdown, the typing check, and when the input method is switched. The test
// window turns the phase into the states of its controls and hands the session
// what arrives in its input box.
//
// With AutoOpenIme the input method follows the current character while the test
// runs: the English keyboard for a letter or digit (tag "4"), the Qorvan input
// method for everything else (Chinese characters and the full-width punctuation it
// types). It is switched when the kind of the current character changes, not on
// every character; pausing and ending go back to English whatever the setting.

#include "typingcheck.h"

#include "coding/appstate.h"
#include "ime/inputmethodbackend.h"

#include <QDateTime>
#include <QObject>

class QTextDocument;

namespace typing {

enum class Phase {
    NoText,  // nothing to type yet
    Ready,   // a text is there; no test runs (also after a test has ended)
    Running, // the learner types; every commit is checked
    Paused,  // the clock and the checking stand still
    Ended,   // the test is over: its record is complete
};

// What the status bar says of the active input method, the id the framework
// gives: the Qorvan input method, the English keyboard, another input method by
// its name in installed (or its id), or that no input method can be read.
QString inputMethodCaption(const QString &id, const coding::InputMethodState &im,
                           const QList<ime::InputMethodInfo> &installed);
inline const QString kQorvanCaption = QStringLiteral("Qorvan输入法第四版");
inline const QString kEnglishCaption = QStringLiteral("英文");
inline const QString kNoInputMethodCaption = QStringLiteral("输入法不可用");

class Session : public QObject {
    Q_OBJECT
public:
    // doc is the test window's text; times come from state.services.clock().
    Session(coding::AppState &state, QTextDocument &doc, QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    bool running() const { return m_phase == Phase::Running; }
    // A test runs or is paused.
    bool inProgress() const { return m_phase == Phase::Running || m_phase == Phase::Paused; }
    const TypingCheck &check() const { return m_check; }
    int remainingSeconds() const { return m_remainingSeconds; }

    // A text has arrived in the document (or an empty one): Ready (NoText).
    void textArrived();

    // Starts a test of the text: the start time, the countdown when the time is
    // limited, a new test record (AppState::beginTest), the first character
    // current. With AutoOpenIme the input method for the first character is
    // switched on once the input box has the focus (inputBoxFocused). False, and
    // nothing happens, without a text.
    bool start();
    // Pauses a running test: the clock stands still and the input method goes back
    // to English. Resumes a paused one: the time paused is taken off the duration,
    // and (AutoOpenIme) the input method for the current character is switched on
    // once the box has the focus.
    void pauseOrResume();
    // Ends a running or paused test: the end time, the input method back to English,
    // TestDuration = end - start - pauses. Ended.
    void end();
    // Gives up a test left running or paused (the window closes): the check stops
    // and the input method goes back to English; nothing is recorded as ended.
    void abandon();

    // What the input box hands on while the test runs. typed: true when it typed
    // the text's last character, which ends the test (the key that typed it is let
    // go only afterwards and is counted here). Typing and the moves make another
    // character current, and the input method follows it (AutoOpenIme).
    bool typed(const QString &text);
    void keyReleased();
    void moveRight();
    void moveLeft();
    // The time the test has run so far, pauses not counted (TestDuration once it
    // has ended); 0 before a test.
    qint64 elapsedMs() const;
    // The item whose codes F2 shows.
    QString hintItem() const { return m_check.hintItem(); }

    // The input box has the focus now: a switch of the input method that waited
    // for it happens (Fcitx 5 switches the focused field).
    void inputBoxFocused();

    // One second of the countdown has passed: the remaining seconds go down; at
    // zero a running test ends. Returns the seconds left (never below 0).
    int countdownTick();

signals:
    void phaseChanged(Phase phase);
    // The character the view marks as current (TypingCheck::markedPosition).
    void markChanged(int position, int length);

private:
    // Which input method a character is typed with.
    enum class Keyboard { Unknown, Qorvan, English };

    void setPhase(Phase phase);
    void closeInputMethod();
    Keyboard keyboardForCurrent() const;
    void switchTo(Keyboard keyboard);
    void followCurrentCharacter();

    coding::AppState &m_state;
    QTextDocument &m_doc;
    TypingCheck m_check;
    Phase m_phase = Phase::NoText;
    bool m_openImeOnFocus = false;
    Keyboard m_keyboard = Keyboard::Unknown; // what the session last switched to
    QDateTime m_startTime, m_endTime, m_pauseStartTime;
    qint64 m_pausedMs = 0;
    int m_remainingSeconds = 0;
};

} // namespace typing
