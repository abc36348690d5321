#include "session.h"

#include "coding/tags.h"
#include "ime/inputmethod.h"

#include <QTextDocument>

namespace typing {

QString inputMethodCaption(const QString &id, const coding::InputMethodState &im,
                           const QList<ime::InputMethodInfo> &installed) {
    if (id.isEmpty())
        return kNoInputMethodCaption;
    if (id == im.ImeLayoutHandle)
        return kQorvanCaption;
    if (id == im.EnglishLayoutHandle)
        return kEnglishCaption;
    for (const auto &info : installed)
        if (info.id == id && !info.name.isEmpty())
            return info.name;
    return id;
}

Session::Session(coding::AppState &state, QTextDocument &doc, QObject *parent)
    : QObject(parent), m_state(state), m_doc(doc), m_check(state, doc) {
    m_check.setMarkListener(
        [this](int position, int length) { emit markChanged(position, length); });
}

void Session::setPhase(Phase phase) {
    if (phase == m_phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void Session::closeInputMethod() {
    m_openImeOnFocus = false;
    ime::CloseInputMethod(m_state);
    m_keyboard = Keyboard::English;
}

Session::Keyboard Session::keyboardForCurrent() const {
    const QString &tags = m_state.text.SegmentTags;
    const int position = m_check.position();
    return position < tags.size() && coding::isTag(tags.at(position), coding::Tag::AlphaNum)
               ? Keyboard::English
               : Keyboard::Qorvan;
}

void Session::switchTo(Keyboard keyboard) {
    if (keyboard == Keyboard::English)
        ime::CloseInputMethod(m_state);
    else
        ime::OpenInputMethod(m_state);
    m_keyboard = keyboard;
}

void Session::followCurrentCharacter() {
    // Before the box has the focus the switch waits for it (inputBoxFocused),
    // and then takes the character current at that moment.
    if (m_phase != Phase::Running || !m_state.settings.AutoOpenIme || m_openImeOnFocus)
        return;
    const Keyboard wanted = keyboardForCurrent();
    if (wanted != m_keyboard)
        switchTo(wanted);
}

void Session::textArrived() {
    m_check.stop();
    setPhase(m_doc.isEmpty() ? Phase::NoText : Phase::Ready);
}

bool Session::start() {
    if (m_phase != Phase::Ready && m_phase != Phase::Ended)
        return false;
    m_startTime = m_state.services.clock().now();
    m_pausedMs = 0;
    if (m_state.settings.IsLimitTime)
        m_remainingSeconds = m_state.settings.LimitTimeLen * 60;
    m_state.beginTest();
    m_check.start();
    m_openImeOnFocus = m_state.settings.AutoOpenIme;
    setPhase(Phase::Running);
    return true;
}

void Session::pauseOrResume() {
    if (m_phase == Phase::Running) {
        m_pauseStartTime = m_state.services.clock().now();
        closeInputMethod();
        setPhase(Phase::Paused);
    } else if (m_phase == Phase::Paused) {
        m_pausedMs += m_pauseStartTime.msecsTo(m_state.services.clock().now());
        m_openImeOnFocus = m_state.settings.AutoOpenIme;
        setPhase(Phase::Running);
    }
}

void Session::end() {
    if (!inProgress())
        return;
    m_endTime = m_state.services.clock().now();
    closeInputMethod();
    m_check.stop();
    m_state.test.TestDuration = m_startTime.msecsTo(m_endTime) - m_pausedMs;
    setPhase(Phase::Ended);
}

void Session::abandon() {
    if (!inProgress())
        return;
    m_check.stop();
    closeInputMethod();
    setPhase(Phase::Ready);
}

bool Session::typed(const QString &text) {
    if (m_phase != Phase::Running)
        return false;
    if (!m_check.checkTyped(text)) {
        followCurrentCharacter();
        return false;
    }
    ++m_state.test.KeyPressCount;
    end();
    return true;
}

void Session::keyReleased() {
    if (m_phase == Phase::Running)
        ++m_state.test.KeyPressCount;
}

void Session::moveRight() {
    if (m_phase != Phase::Running)
        return;
    m_check.moveRight();
    followCurrentCharacter();
}

void Session::moveLeft() {
    if (m_phase != Phase::Running)
        return;
    m_check.moveLeft();
    followCurrentCharacter();
}

void Session::inputBoxFocused() {
    // At the start and on resuming the input method is set for the current
    // character whatever it was before: the learner may have switched meanwhile.
    if (m_openImeOnFocus && m_phase == Phase::Running) {
        m_openImeOnFocus = false;
        switchTo(keyboardForCurrent());
    }
}

int Session::countdownTick() {
    --m_remainingSeconds;
    if (m_remainingSeconds <= 0 && m_phase == Phase::Running)
        end();
    return std::max(m_remainingSeconds, 0);
}

qint64 Session::elapsedMs() const {
    switch (m_phase) {
    case Phase::Running:
        return m_startTime.msecsTo(m_state.services.clock().now()) - m_pausedMs;
    case Phase::Paused:
        return m_startTime.msecsTo(m_pauseStartTime) - m_pausedMs;
    case Phase::Ended:
        return m_state.test.TestDuration;
    default:
        return 0;
    }
}

} // namespace typing
