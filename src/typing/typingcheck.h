#pragma once

// The check of the learner's typing against the test text, without windows: the
// test window (frmFcTest) hands it every character that arrives in its input box
// and every navigation key, and it recolours the text, keeps the counts of the
// test record and moves the current position.

#include "typingrules.h"

#include "coding/appstate.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QTextCharFormat>

#include <cstdint>
#include <functional>
#include <vector>

class QTextDocument;

namespace typing {

// The font of the test text: "楷体_GB2312" at 16 points. Characters of scripts that
// need no shaping (Chinese, Latin) are laid out without it, which more than halves
// the time the text view takes to lay the one long paragraph out again after each
// recoloured character.
QFont testTextFont();

class TypingCheck {
public:
    // What a position of the text holds in the current test.
    enum class Mark : std::uint8_t { Untyped, Right, Wrong };

    // doc is the test window's text; the clock is state.services.clock().
    TypingCheck(coding::AppState &state, QTextDocument &doc);

    // Starts a test: the test record's counts (RightCount, ErrCount, KeyPressCount,
    // TypedWordCounts) to 0, every position untyped, the first character current
    // and marked, LastInputTick = the tick now. TypedText is the window's.
    void start();

    // Checks the characters of one arrival (a commit of the input method, or what
    // was typed into the box) one after another, in order, all at the same tick,
    // so that they belong to one burst. Each is compared with the current
    // character (exactly: case and width count), which is coloured RightColor or
    // ErrorColor; the counts follow the marks, the text's character is added to
    // TypedText and the position advances. Returns true when the last character
    // of the text has been typed: the check is then over and the rest of typed is
    // dropped. Does nothing (and returns false) while no test is being checked.
    bool checkTyped(const QString &typed);

    // The arrow keys and Backspace: the position moves by one character, never
    // past the last one (right) or before the first (left). Colours and counts
    // stay as they are.
    void moveRight();
    void moveLeft();
    // Makes position (clamped into the text, at the start of its character) the
    // current one.
    void moveTo(int position);

    // The item whose codes the code hint shows (codeHintItem at the position).
    QString hintItem() const;

    // Ends the check: the current character is unmarked. Harmless when over.
    void stop();

    bool active() const { return m_active; }
    int position() const { return m_position; }
    int length() const { return int(m_text.size()); }
    qint64 lastInputTick() const { return m_lastInputTick; }
    int burstLength() const { return m_burst.burstLength(); }
    Mark markAt(int position) const;
    // A character marked wrong: where, the text's character and what was typed
    // there (the last time).
    struct WrongCharacter {
        int position;
        QString expected;
        QString typed;
    };
    // The characters marked wrong now, in the order of the text.
    QList<WrongCharacter> wrongCharacters() const;
    // The inputs of the test, one an arrival (a commit of the input method, or what
    // was typed into the box), in order: where it began, how many units it typed
    // and its keys. The keys are inferred from when the key releases came: an
    // input's selection key is let go after its commit arrives, so each input is
    // given the releases from the one after the previous commit up to and with the
    // one after its own (the first input its releases and one). Exact while each
    // input ends with one key let go before the next is pressed.
    QList<coding::TypedInput> inputs() const;

    // The marked character: the current one while the check runs. It is marked
    // by the view, not in the document's formats, so that marking never lays the
    // text out again nor moves a line break. -1 and 0 when nothing is marked.
    int markedPosition() const { return m_marked ? m_position : -1; }
    int markedLength() const { return m_marked ? charLength(m_position) : 0; }
    // Told (markedPosition, markedLength) whenever the marked character changes.
    void setMarkListener(std::function<void(int position, int length)> listener) {
        m_markListener = std::move(listener);
    }

private:
    int charLength(int position) const;
    int previousCharStart(int position) const;
    qint64 tick() const;
    void publishMark();
    void select(QTextCursor &cursor, int position) const;

    coding::AppState &m_state;
    QTextDocument &m_doc;
    QString m_text;                   // the text as it was when the test started
    std::vector<Mark> m_marks;        // one per position (both halves of a pair alike)
    QHash<int, QString> m_wrongTyped; // what was typed at each position marked wrong
    struct Arrival {
        int position, length, keysBefore; // keysBefore: KeyPressCount as it arrived
    };
    QList<Arrival> m_arrivals;
    QTextCharFormat m_rightFormat, m_wrongFormat;
    BurstCounter m_burst;
    qint64 m_lastInputTick = 0;
    int m_position = 0;
    bool m_active = false;
    bool m_marked = false;
    std::function<void(int, int)> m_markListener;
    int m_publishedPosition = -1, m_publishedLength = 0;
};

} // namespace typing
