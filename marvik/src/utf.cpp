#include "utf.h"

namespace marvik {

std::size_t decodeUtf8(const char *p, const char *end, char32_t &cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(p[i]); };
    const std::size_t avail = static_cast<std::size_t>(end - p);
    if (avail == 0)
        return 0;
    const unsigned char b0 = byte(0);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t value;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        value = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        value = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        value = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (avail < len)
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const unsigned char b = byte(i);
        if ((b & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    cp = value;
    return len;
}

void appendUtf16(std::u16string &out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void appendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::u16string utf8ToUtf16Lossy(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    const char *p = in.data();
    const char *end = p + in.size();
    while (p < end) {
        char32_t cp;
        const std::size_t n = decodeUtf8(p, end, cp);
        if (n == 0) {
            out.push_back(static_cast<char16_t>(kReplacementChar));
            ++p;
        } else {
            appendUtf16(out, cp);
            p += n;
        }
    }
    return out;
}

bool utf8ToUtf16(std::string_view in, std::u16string &out) {
    out.clear();
    const char *p = in.data();
    const char *end = p + in.size();
    while (p < end) {
        char32_t cp;
        const std::size_t n = decodeUtf8(p, end, cp);
        if (n == 0)
            return false;
        appendUtf16(out, cp);
        p += n;
    }
    return true;
}

bool utf16ToUtf8(std::u16string_view in, std::string &out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t u = in[i];
        if (isHighSurrogate(u)) {
            if (i + 1 >= in.size() || !isLowSurrogate(in[i + 1]))
                return false;
            appendUtf8(out, combineSurrogates(u, in[i + 1]));
            ++i;
        } else if (isLowSurrogate(u)) {
            return false;
        } else {
            appendUtf8(out, u);
        }
    }
    return true;
}

std::u16string_view nulTerminated(const char16_t *s) {
    std::size_t n = 0;
    while (s[n] != 0)
        ++n;
    return {s, n};
}

} // namespace marvik
