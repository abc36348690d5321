// UTF-8 / UTF-16 helpers shared by the dictionary reader, the C interface and the tool.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace marvik {

inline constexpr char32_t kReplacementChar = 0xFFFD;

inline bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
inline char32_t combineSurrogates(char16_t high, char16_t low) {
    return 0x10000 + ((char32_t(high) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
}

// Decodes one code point from [p, end). Returns the number of bytes it takes, or 0 when
// the bytes there are not well-formed UTF-8 (overlong forms, surrogates and values above
// U+10FFFF included).
std::size_t decodeUtf8(const char *p, const char *end, char32_t &cp);

void appendUtf16(std::u16string &out, char32_t cp);
void appendUtf8(std::string &out, char32_t cp);

// Converts UTF-8 to UTF-16; every byte that does not begin a well-formed sequence becomes
// U+FFFD.
std::u16string utf8ToUtf16Lossy(std::string_view in);

// Converts UTF-8 to UTF-16; false when the input is not well-formed.
bool utf8ToUtf16(std::string_view in, std::u16string &out);

// Converts UTF-16 to UTF-8; false on an unpaired surrogate.
bool utf16ToUtf8(std::u16string_view in, std::string &out);

// The text of a NUL-terminated UTF-16 string.
std::u16string_view nulTerminated(const char16_t *s);

} // namespace marvik
