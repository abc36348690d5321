#include "typingcheck.h"

#include "coding/utf16.h"

#include "coding/colorref.h"
#include "coding/textcolouring.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace typing {

namespace {

QTextCharFormat colourFormat(qint32 colorRef) {
    QTextCharFormat format;
    format.setForeground(coding::colorFromColorRef(colorRef));
    return format;
}

} // namespace

QFont testTextFont() {
    QFont font(QString::fromUtf16(coding::kKaiFontName), 16);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

TypingCheck::TypingCheck(coding::AppState &state, QTextDocument &doc)
    : m_state(state), m_doc(doc) {}

void TypingCheck::start() {
    stop();
    m_text = m_doc.toRawText();
    m_marks.assign(size_t(m_text.size()), Mark::Untyped);
    m_rightFormat = colourFormat(m_state.settings.RightColor);
    m_wrongFormat = colourFormat(m_state.settings.ErrorColor);
    m_state.test.RightCount = 0;
    m_state.test.ErrCount = 0;
    m_state.test.KeyPressCount = 0;
    m_state.test.TypedWordCounts.fill(0);
    m_burst.reset();
    m_wrongTyped.clear();
    m_arrivals.clear();
    m_position = 0;
    m_active = true;
    m_marked = !m_text.isEmpty();
    publishMark();
    m_lastInputTick = tick();
}

bool TypingCheck::checkTyped(const QString &typed) {
    if (!m_active || typed.isEmpty())
        return false;
    const qint64 now = tick();
    const int arrivedAt = m_position;
    const int keysBefore = m_state.test.KeyPressCount;
    QTextCursor cursor(&m_doc);
    cursor.beginEditBlock();
    bool ended = false;
    for (int i = 0; i < typed.size() && !ended;) {
        const int typedLength = int(coding::utf16::characterLength(typed, i));
        const QStringView typedChar = QStringView(typed).mid(i, typedLength);
        i += typedLength;

        if (m_position >= length()) { // an empty text: nothing to compare with
            ended = true;
            break;
        }
        m_burst.onCharacter(now, m_lastInputTick, m_state.test.TypedWordCounts);
        const int len = charLength(m_position);
        const QStringView current = QStringView(m_text).mid(m_position, len);
        m_state.test.TypedText += current;

        // The counts are those of the characters currently marked right and wrong:
        // typing a position again moves it from one count to the other at most.
        const Mark was = m_marks[size_t(m_position)];
        const Mark result = typedChar == current ? Mark::Right : Mark::Wrong;
        if (was != result) {
            if (was == Mark::Right)
                --m_state.test.RightCount;
            else if (was == Mark::Wrong)
                --m_state.test.ErrCount;
            if (result == Mark::Right)
                ++m_state.test.RightCount;
            else
                ++m_state.test.ErrCount;
            for (int k = 0; k < len; ++k)
                m_marks[size_t(m_position + k)] = result;
        }
        if (result == Mark::Wrong)
            m_wrongTyped.insert(m_position, typedChar.toString());
        else if (was == Mark::Wrong)
            m_wrongTyped.remove(m_position);
        select(cursor, m_position);
        cursor.mergeCharFormat(result == Mark::Right ? m_rightFormat : m_wrongFormat);

        m_position += len;
        if (m_position >= length())
            ended = true;
        else
            m_lastInputTick = now;
    }
    cursor.endEditBlock();
    if (m_position > arrivedAt)
        m_arrivals.append({arrivedAt, m_position - arrivedAt, keysBefore});
    if (ended) {
        m_active = false;
        m_marked = false;
    }
    publishMark();
    return ended;
}

void TypingCheck::moveRight() {
    if (!m_active)
        return;
    const int next = m_position + charLength(m_position);
    if (next < length())
        moveTo(next);
}

void TypingCheck::moveLeft() {
    if (!m_active)
        return;
    if (m_position >= 1)
        moveTo(previousCharStart(m_position));
}

QString TypingCheck::hintItem() const {
    return codeHintItem(m_text, m_state.text.SegmentTags, m_position);
}

void TypingCheck::stop() {
    m_marked = false;
    m_active = false;
    publishMark();
}

TypingCheck::Mark TypingCheck::markAt(int position) const {
    if (position < 0 || size_t(position) >= m_marks.size())
        return Mark::Untyped;
    return m_marks[size_t(position)];
}

int TypingCheck::charLength(int position) const {
    return position < m_text.size() ? int(coding::utf16::characterLength(m_text, position)) : 1;
}

int TypingCheck::previousCharStart(int position) const {
    return int(coding::utf16::previousCharacterStart(m_text, position));
}

qint64 TypingCheck::tick() const {
    return m_state.services.clock().tickMs();
}

void TypingCheck::select(QTextCursor &cursor, int position) const {
    const int end = std::min(position + charLength(position), m_doc.characterCount() - 1);
    cursor.setPosition(std::min(position, end));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
}

void TypingCheck::publishMark() {
    const int position = markedPosition(), len = markedLength();
    if (position == m_publishedPosition && len == m_publishedLength)
        return;
    m_publishedPosition = position;
    m_publishedLength = len;
    if (m_markListener)
        m_markListener(position, len);
}

void TypingCheck::moveTo(int position) {
    if (!m_active || length() == 0)
        return;
    position = std::clamp(position, 0, length() - 1);
    if (coding::utf16::isSecondHalf(m_text, position))
        --position;
    if (position == m_position)
        return;
    m_position = position;
    publishMark();
}

} // namespace typing

namespace typing {

QList<coding::TypedInput> TypingCheck::inputs() const {
    QList<coding::TypedInput> list;
    for (qsizetype i = 0; i < m_arrivals.size(); ++i) {
        const Arrival &a = m_arrivals.at(i);
        const int keys = i == 0 ? a.keysBefore + 1 : a.keysBefore - m_arrivals.at(i - 1).keysBefore;
        list.append({a.position, a.length, std::max(keys, 0)});
    }
    return list;
}

QList<TypingCheck::WrongCharacter> TypingCheck::wrongCharacters() const {
    QList<WrongCharacter> wrong;
    for (int position = 0; position < length(); position += charLength(position)) {
        if (m_marks[size_t(position)] == Mark::Wrong)
            wrong.append({position, m_text.mid(position, charLength(position)),
                          m_wrongTyped.value(position)});
    }
    return wrong;
}

} // namespace typing
