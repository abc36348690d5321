#include "typingrules.h"

#include "coding/utf16.h"

namespace typing {

void BurstCounter::onCharacter(qint64 nowMs, qint64 lastTickMs, std::array<int, 5> &counts) {
    if (nowMs - lastTickMs > kBurstGapMs) {
        if (m_length >= 5)
            m_length = 5;
        if (m_length != 0)
            ++counts[size_t(m_length - 1)];
        m_length = 1;
    } else {
        ++m_length;
    }
}

QString formatCountdown(int remainingSeconds) {
    const int h = remainingSeconds / 3600;
    const int m = (remainingSeconds - h * 3600) / 60;
    const int s = remainingSeconds - h * 3600 - m * 60;
    return QStringLiteral("%1:%2:%3").arg(h).arg(m).arg(s);
}

QString codeHintItem(const QString &text, const QString &tags, int pos) {
    if (pos < 0 || pos >= text.size())
        return {};
    if (pos >= tags.size())
        return text.mid(pos, 1);
    const QChar tag = tags.at(pos);
    int start = pos;
    while (start > 0 && tags.at(start - 1) == tag)
        --start;
    if (start != pos) // inside a word: the character alone (both halves of a surrogate pair)
        return text.mid(pos, coding::utf16::characterLength(text, pos));
    int end = pos;
    while (end + 1 < tags.size() && end + 1 < text.size() && tags.at(end + 1) == tag)
        ++end;
    return text.mid(start, end - start + 1);
}

QString codeHintMessage(const QString &item, const QString &stdCode, const QString &shortCode,
                        const coding::CandidatePlace &place) {
    if (stdCode.isEmpty())
        return QStringLiteral("没有'") + item + QStringLiteral("'的编码！");
    QString msg = QStringLiteral("'") + item + QStringLiteral("'的编码为:") + stdCode;
    if (!shortCode.isEmpty())
        msg += QStringLiteral(",简码为：") + shortCode;
    if (place.position > 1) {
        // The place belongs to the shortest code, which is the last code shown; a
        // place under any other code says which.
        const QString &lastShown = shortCode.isEmpty() ? stdCode : shortCode;
        msg += QLatin1Char(',');
        if (place.code != lastShown)
            msg += QStringLiteral("是") + place.code + QStringLiteral("的");
        msg += QStringLiteral("第%1个候选").arg(place.position);
    }
    return msg;
}

} // namespace typing
