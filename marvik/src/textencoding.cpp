#include "marvik/textencoding.h"

#include "utf.h"

namespace marvik {

namespace {

bool inRange(unsigned v, unsigned low, unsigned high) {
    return v >= low && v <= high;
}

// The characters a Chinese text is made of.
bool isPlausibleInText(char32_t c) {
    if (c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f')
        return true;
    return inRange(c, 0x20, 0x7E) ||     // ASCII
           inRange(c, 0xA0, 0x24F) ||    // Latin-1 and Latin Extended (pinyin)
           inRange(c, 0x2000, 0x206F) || // general punctuation
           inRange(c, 0x2100, 0x27BF) || // letterlike, numbers, arrows, shapes, symbols
           inRange(c, 0x3000, 0x4DBF) || // CJK punctuation, kana, bopomofo, extension A
           inRange(c, 0x4E00, 0x9FFF) || // CJK unified ideographs
           inRange(c, 0xF900, 0xFAFF) || // CJK compatibility ideographs
           inRange(c, 0xFE30, 0xFE4F) || // CJK compatibility forms
           inRange(c, 0xFF00, 0xFFEF) || // full-width and half-width forms
           inRange(c, 0x20000, 0x3FFFF); // CJK extensions B and later
}

// Whether the units of start, in the given byte order, read as plausible text.
bool readsAsText(std::string_view start, bool complete, bool littleEndian) {
    const std::size_t units = start.size() / 2;
    std::size_t characters = 0, implausible = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const auto lo = static_cast<unsigned char>(start[2 * i + (littleEndian ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(start[2 * i + (littleEndian ? 1 : 0)]);
        const char16_t u = static_cast<char16_t>(hi << 8 | lo);
        char32_t c = u;
        if (u == 0 || isLowSurrogate(u))
            return false;
        if (isHighSurrogate(u)) {
            if (i + 1 == units)
                return !complete && characters > 0 && implausible * 20 <= characters;
            const auto lo2 = static_cast<unsigned char>(start[2 * i + 2 + (littleEndian ? 0 : 1)]);
            const auto hi2 = static_cast<unsigned char>(start[2 * i + 2 + (littleEndian ? 1 : 0)]);
            const char16_t low = static_cast<char16_t>(hi2 << 8 | lo2);
            if (!isLowSurrogate(low))
                return false;
            c = combineSurrogates(u, low);
            ++i;
        }
        ++characters;
        if (!isPlausibleInText(c))
            ++implausible;
    }
    return characters > 0 && implausible * 20 <= characters;
}

} // namespace

bool startsWithUtf8Bom(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF");
}

std::optional<TextEncoding> utf16ByteOrder(std::string_view start, bool complete) {
    if (start.starts_with("\xFF\xFE"))
        return TextEncoding::Utf16Le;
    if (start.starts_with("\xFE\xFF"))
        return TextEncoding::Utf16Be;
    if (start.find('\0') == std::string_view::npos || (complete && start.size() % 2 != 0))
        return std::nullopt;
    const bool little = readsAsText(start, complete, true);
    const bool big = readsAsText(start, complete, false);
    if (little != big)
        return little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    if (!little)
        return std::nullopt;
    // The high byte of a unit stands second in little endian, first in big endian.
    std::size_t nulSecond = 0, nulFirst = 0;
    for (std::size_t i = 0; i + 1 < start.size(); i += 2) {
        nulFirst += start[i] == '\0';
        nulSecond += start[i + 1] == '\0';
    }
    if (nulSecond == nulFirst)
        return std::nullopt;
    return nulSecond > nulFirst ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
}

void ByteEncodingGuess::feed(std::string_view bytes) {
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (m_utf8Valid)
            feedUtf8(b);
        feedGb(b);
        feedBig5(b);
    }
}

void ByteEncodingGuess::finish() {
    if (m_utf8Missing > 0)
        m_utf8Valid = false;
    m_utf8Missing = 0;
    if (m_gbHeld > 0)
        ++m_gbCharacters;
    m_gbHeld = 0;
    if (m_big5Held)
        ++m_big5Characters;
    m_big5Held = false;
}

void ByteEncodingGuess::feedUtf8(unsigned char b) {
    if (m_utf8Missing > 0) {
        if (b < m_utf8Low || b > m_utf8High) {
            m_utf8Valid = false;
            return;
        }
        --m_utf8Missing;
        m_utf8Low = 0x80;
        m_utf8High = 0xBF;
        return;
    }
    if (b < 0x80)
        return;
    if (inRange(b, 0xC2, 0xDF))
        m_utf8Missing = 1;
    else if (inRange(b, 0xE0, 0xEF))
        m_utf8Missing = 2;
    else if (inRange(b, 0xF0, 0xF4))
        m_utf8Missing = 3;
    else
        m_utf8Valid = false;
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    if (b == 0xE0)
        m_utf8Low = 0xA0;
    else if (b == 0xED)
        m_utf8High = 0x9F;
    else if (b == 0xF0)
        m_utf8Low = 0x90;
    else if (b == 0xF4)
        m_utf8High = 0x8F;
}

void ByteEncodingGuess::feedGb(unsigned char b) {
    switch (m_gbHeld) {
    case 0:
        if (b < 0x80)
            return;
        if (b == 0x80 || b == 0xFF) {
            ++m_gbCharacters; // not decodable
            return;
        }
        m_gbLead = b;
        m_gbHeld = 1;
        return;
    case 1:
        if (inRange(b, 0x30, 0x39)) {
            m_gbHeld = 2; // a four-byte character
            return;
        }
        m_gbHeld = 0;
        ++m_gbCharacters;
        if (inRange(b, 0x40, 0x7E) || inRange(b, 0x80, 0xFE)) {
            const bool level1 = (inRange(m_gbLead, 0xB0, 0xD6) && b >= 0xA1) ||
                                (m_gbLead == 0xD7 && inRange(b, 0xA1, 0xF9));
            const bool symbolRow =
                (inRange(m_gbLead, 0xA1, 0xA3) || m_gbLead == 0xA8) && inRange(b, 0xA1, 0xFE);
            if (level1 || symbolRow)
                ++m_gbCommon;
            return;
        }
        feedGb(b); // the lead stood alone
        return;
    case 2:
        if (inRange(b, 0x81, 0xFE)) {
            m_gbHeld = 3;
            return;
        }
        m_gbHeld = 0;
        ++m_gbCharacters;
        feedGb(b);
        return;
    default:
        m_gbHeld = 0;
        ++m_gbCharacters;
        if (!inRange(b, 0x30, 0x39))
            feedGb(b);
        return;
    }
}

void ByteEncodingGuess::feedBig5(unsigned char b) {
    if (!m_big5Held) {
        if (b < 0x80)
            return;
        if (inRange(b, 0x81, 0xFE)) {
            m_big5Lead = b;
            m_big5Held = true;
        } else {
            ++m_big5Characters; // not decodable
        }
        return;
    }
    m_big5Held = false;
    ++m_big5Characters;
    if (inRange(b, 0x40, 0x7E) || inRange(b, 0xA1, 0xFE)) {
        const unsigned code = unsigned(m_big5Lead) << 8 | b;
        if (inRange(code, 0xA440, 0xC67E) || inRange(code, 0xA140, 0xA3BF))
            ++m_big5Common;
        return;
    }
    feedBig5(b); // the lead stood alone
}

bool ByteEncodingGuess::isBig5() const {
    if (m_utf8Valid || m_big5Characters < 8 || m_gbCharacters == 0)
        return false;
    // Big5 share >= 80 %, and Big5 share - GB18030 share >= 15 points.
    const std::int64_t b5 = m_big5Characters, gb = m_gbCharacters;
    return m_big5Common * 5 >= b5 * 4 && (m_big5Common * gb - m_gbCommon * b5) * 20 >= 3 * b5 * gb;
}

TextEncoding ByteEncodingGuess::encoding() const {
    if (m_utf8Valid)
        return TextEncoding::Utf8;
    return isBig5() ? TextEncoding::Big5 : TextEncoding::Gb18030;
}

TextEncoding detectTextEncoding(std::string_view start, bool complete) {
    if (const auto order = utf16ByteOrder(start, complete))
        return *order;
    ByteEncodingGuess guess;
    guess.feed(start);
    if (complete)
        guess.finish();
    return guess.encoding();
}

} // namespace marvik
