// Maximum-probability segmentation of UTF-16 text into tags, one per unit.
#pragma once

#include <cstddef>

namespace marvik {

class Dictionary;
class Trie;

// Tags of the segmentation result.
inline constexpr char16_t kTagEven = u'0';  // a Chinese word (first, third, ... of the text)
inline constexpr char16_t kTagOdd = u'1';   // a Chinese word (second, fourth, ...)
inline constexpr char16_t kTagOther = u'2'; // punctuation, blanks, symbols, other scripts
inline constexpr char16_t kTagItem = u'4';  // a run of ASCII or full-width letters and digits

// The length in units of the Chinese (Han) character at text[i], or 0 when there is none:
// 1 for U+3400–4DBF, U+4E00–9FFF, U+F900–FAFF and U+3007, 2 for a surrogate pair of
// U+20000–3FFFF.
inline std::size_t hanLength(const char16_t *text, std::size_t i, std::size_t n) {
    const char16_t u = text[i];
    if (u >= 0x4E00) {
        if (u <= 0x9FFF || (u >= 0xF900 && u <= 0xFAFF))
            return 1;
        // High surrogates D840–D8BF lead U+20000–3FFFF.
        if (u >= 0xD840 && u <= 0xD8BF && i + 1 < n && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            return 2;
        return 0;
    }
    return (u >= 0x3400 && u <= 0x4DBF) || u == 0x3007 ? 1 : 0;
}

// An ASCII letter or digit, or a full-width one (U+FF10–FF19, FF21–FF3A, FF41–FF5A).
inline bool isItemUnit(char16_t u) {
    if (u < 0x80)
        return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
    return (u >= 0xFF10 && u <= 0xFF19) || (u >= 0xFF21 && u <= 0xFF3A) ||
           (u >= 0xFF41 && u <= 0xFF5A);
}

// Writes n tags for text[0, n). Within each run of Chinese characters the words are those of
// the path through the word graph (dictionary words and custom words) with the largest sum
// of log-probabilities; a character that starts no word is a word of frequency 1. custom may
// be null.
void segment(const Dictionary &dict, const Trie *custom, const char16_t *text, std::size_t n,
             char16_t *tags);

} // namespace marvik
