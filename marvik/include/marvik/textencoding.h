// The encoding of a Chinese text file, judged from its bytes: the judgement that the
// program's text reader and the tool trevix-seg share, so that both read a file alike.
// Plain C++; decoding is left to the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace marvik {

// The encodings in which a text file is read. GB18030 is byte-identical to GBK for every
// GBK character; Big5 is the traditional Chinese encoding of Taiwan and Hong Kong.
enum class TextEncoding { Utf8, Gb18030, Utf16Le, Utf16Be, Big5 };

// True when bytes begin with the UTF-8 byte-order mark EF BB BF.
bool startsWithUtf8Bom(std::string_view bytes);

// The UTF-16 byte order of a file whose first bytes are start (all of the file when
// complete), or nothing when it is no UTF-16 text:
// - a byte-order mark (FF FE little endian, FE FF big endian) decides;
// - without one, start must hold NUL bytes (which no text in another encoding holds) and
//   read as plausible text in the byte order: no NUL character and no unpaired surrogate,
//   and at least 95 in 100 characters of the kinds a Chinese text is made of (CJK,
//   Latin, punctuation, symbols, white space). When both orders read so, the one
//   that puts most NUL bytes into the high bytes of characters wins (ASCII text read in
//   the wrong order becomes CJK, but the NUL bytes then stand on the other side).
std::optional<TextEncoding> utf16ByteOrder(std::string_view start, bool complete);

// Judges, from the bytes of a text fed to it piece by piece (cut anywhere), whether they
// are UTF-8, Big5 or GB18030. UTF-8 wins as long as every byte so far is valid UTF-8 (a
// byte-order mark included). Otherwise the bytes are read as two-byte characters twice:
// once as GB18030 and once as Big5, and each reading's share of common characters is
// counted from the byte codes:
// - GB18030: the 3755 characters of GB2312 level 1 (B0A1-D7F9) and the rows of
//   punctuation, numerals, full-width forms and pinyin letters (A1, A2, A3, A8);
// - Big5: its 5401 common characters (A440-C67E) and its punctuation (A140-A3BF).
// A simplified text reads almost wholly common as GB18030 and about half as Big5; a
// traditional text the other way round (nearly wholly common as Big5, a quarter as
// GB18030). Big5 wins only on clear evidence: at least 8 two-byte characters, at least
// 80 in 100 of them common as Big5, and a Big5 share at least 15 points above the GB18030
// share. Everything else, ties included, is GB18030, the default.
class ByteEncodingGuess {
public:
    void feed(std::string_view bytes);
    // The bytes fed are the whole file: a sequence cut off at its end is an error.
    void finish();

    bool isUtf8() const { return m_utf8Valid; }
    bool isBig5() const;
    // Utf8, Big5 or Gb18030.
    TextEncoding encoding() const;

private:
    void feedUtf8(unsigned char b);
    void feedGb(unsigned char b);
    void feedBig5(unsigned char b);

    // UTF-8: continuation bytes still expected, and the range of the next one.
    bool m_utf8Valid = true;
    int m_utf8Missing = 0;
    unsigned char m_utf8Low = 0x80, m_utf8High = 0xBF;
    // GB18030: the bytes of the character begun (0 to 3) and the counts.
    int m_gbHeld = 0;
    unsigned char m_gbLead = 0;
    std::int64_t m_gbCharacters = 0, m_gbCommon = 0;
    // Big5 likewise.
    bool m_big5Held = false;
    unsigned char m_big5Lead = 0;
    std::int64_t m_big5Characters = 0, m_big5Common = 0;
};

// The encoding of a text whose first bytes are start (all of it when complete): UTF-16 by
// utf16ByteOrder, else as ByteEncodingGuess judges start.
TextEncoding detectTextEncoding(std::string_view start, bool complete);

} // namespace marvik
