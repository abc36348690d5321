// trevix-seg: segments the text on standard input with the library's dictionary and
// writes, in UTF-8, one line per input line: the words separated by blanks, or with --tags
// the tags. The input's encoding is judged as the program judges a text file.
#include "marvik/marvik.h"
#include "marvik/textencoding.h"

#include "utf.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <iostream>
#include <limits.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

#ifndef TREVIX_INSTALL_DATADIR
#define TREVIX_INSTALL_DATADIR "/usr/share/trevix"
#endif

namespace {

using marvik::TextEncoding;

constexpr int kExitUsage = 1;
constexpr int kExitDictionary = 2;
constexpr int kExitEncoding = 3;

// The encoding is judged from this much of the input from its first byte that is not ASCII
// on (ASCII reads alike in every encoding but UTF-16, whose NUL bytes count as not ASCII),
// or from all of a shorter input; from at most kMaxJudgedBytes in all. Input is read in
// pieces of kJudgedBytes.
constexpr std::size_t kJudgedBytes = 64 * 1024;
constexpr std::size_t kMaxJudgedBytes = 4 * 1024 * 1024;

void printUsage(std::FILE *out) {
    std::fputs("Usage: trevix-seg [--tags] [--dict DIR]\n"
               "Splits the Chinese text on standard input into words and writes, for every\n"
               "input line, its words separated by blanks (blanks of the input are dropped).\n"
               "\n"
               "The input is read as the program reads a text file: UTF-16 (little or big\n"
               "endian) by its byte-order mark or its NUL bytes, UTF-8 (with or without a\n"
               "byte-order mark) when its bytes are valid UTF-8, Big5 when it clearly reads as\n"
               "traditional Chinese, GB18030 (GBK) otherwise; judged from its first 64 KB\n"
               "counted from its first byte that is not ASCII. Bytes that do not decode\n"
               "become U+FFFD. The output is always UTF-8.\n"
               "\n"
               "  --tags      write each line's tags instead: one per UTF-16 unit, 0/1 for\n"
               "              alternate Chinese words, 4 for runs of letters and digits, 2 for\n"
               "              everything else\n"
               "  --dict DIR  the directory of marvik.dic (default: the program's directory\n"
               "              when it holds marvik.dic, else $TREVIX_DATA_DIR when set, else\n"
               "              " TREVIX_INSTALL_DATADIR ")\n"
               "  --help      show this help\n"
               "\n"
               "Exit status: 0 done, 1 bad arguments, 2 dictionary missing or damaged,\n"
               "3 the system cannot convert the input's encoding (iconv).\n",
               out);
}

std::string executableDirectory() {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return ".";
    std::string path(buf.data(), static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The dictionary's directory when none is given: the program's own (a build tree, an
// unpacked folder) when it holds the dictionary, else the install's data directory, which
// TREVIX_DATA_DIR names instead of the one compiled in, as for the program.
std::string defaultDictionaryDirectory() {
    const std::string exeDir = executableDirectory();
    if (::access((exeDir + "/marvik.dic").c_str(), F_OK) == 0)
        return exeDir;
    const char *fromEnv = std::getenv("TREVIX_DATA_DIR");
    if (fromEnv && *fromEnv)
        return fromEnv;
    return TREVIX_INSTALL_DATADIR;
}

bool isBlank(char16_t u) {
    return u == u' ' || u == u'\t' || u == u'\v' || u == u'\f' || u == u'\r' || u == 0x00A0 ||
           u == 0x1680 || (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 ||
           u == 0x202F || u == 0x205F || u == 0x3000 || u == 0xFEFF;
}

// A punctuation mark or symbol: ASCII's and Latin-1's, the general and supplemental
// punctuation, currency signs, letterlike symbols, arrows, mathematical and technical
// signs, enclosed numbers, boxes, shapes and dingbats, CJK symbols and punctuation, the
// vertical, compatibility and small forms, the full- and half-width marks and signs, and
// the pictographs and emoji. (Letters of other scripts are tagged "2" too, and stay
// together.)
bool isMarkOrSymbol(char32_t c) {
    const auto in = [c](char32_t from, char32_t to) { return c >= from && c <= to; };
    return in(0x21, 0x2F) || in(0x3A, 0x40) || in(0x5B, 0x60) || in(0x7B, 0x7E) || in(0xA1, 0xBF) ||
           c == 0xD7 || c == 0xF7 || in(0x2010, 0x2027) || in(0x2030, 0x205E) ||
           in(0x20A0, 0x20CF) || in(0x2100, 0x214F) || in(0x2190, 0x2BFF) || in(0x2E00, 0x2E7F) ||
           in(0x3001, 0x3004) || in(0x3008, 0x3020) || c == 0x3030 || c == 0x303D ||
           in(0x30FB, 0x30FB) || in(0xFE10, 0xFE1F) || in(0xFE30, 0xFE6F) || in(0xFF01, 0xFF0F) ||
           in(0xFF1A, 0xFF20) || in(0xFF3B, 0xFF40) || in(0xFF5B, 0xFF65) || in(0xFFE0, 0xFFEE) ||
           in(0x1F000, 0x1FAFF);
}

// The Chinese ellipsis 「……」 and dash 「——」 are one mark of two characters.
bool isDoubledMark(char32_t c) {
    return c == 0x2026 || c == 0x22EF || c == 0x2014 || c == 0x2015 || c == 0x2500;
}

// The code point at text[i] and the number of units it takes.
std::pair<char32_t, std::size_t> codePointAt(std::u16string_view text, std::size_t i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF)
        return {0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00), 2};
    return {u, 1};
}

// The words of a line by its tags: every Chinese word, every run of letters and digits,
// every punctuation mark and symbol on its own (an ellipsis or a dash of repeated
// characters as one), and every run of other characters
// between blanks and marks.
std::vector<std::u16string_view> words(std::u16string_view text, std::u16string_view tags) {
    std::vector<std::u16string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t tag = tags[i];
        if (tag == u'2' && isBlank(text[i])) {
            ++i;
            continue;
        }
        const auto [first, firstUnits] = codePointAt(text, i);
        std::size_t j = i + firstUnits;
        if (tag == u'2' && isDoubledMark(first)) {
            while (j < text.size() && text[j] == text[i])
                ++j;
        } else if (tag != u'2' || !isMarkOrSymbol(first)) {
            while (j < text.size() && tags[j] == tag) {
                if (tag == u'2' && (isBlank(text[j]) || isMarkOrSymbol(codePointAt(text, j).first)))
                    break;
                ++j;
            }
        }
        out.push_back(text.substr(i, j - i));
        i = j;
    }
    return out;
}

const char *const kReplacementUtf8 = "\xEF\xBF\xBD";

// Turns the bytes of the input, in its encoding, into UTF-8, piece by piece: UTF-8 passes
// as it is (the lines are converted leniently later), UTF-16 is decoded here, GB18030 and
// Big5 by iconv. Whatever does not decode becomes U+FFFD.
class Utf8Decoder {
public:
    explicit Utf8Decoder(TextEncoding encoding) : encoding_(encoding) {
        if (encoding == TextEncoding::Gb18030 || encoding == TextEncoding::Big5)
            iconv_ = ::iconv_open("UTF-8", encoding == TextEncoding::Big5 ? "BIG5" : "GB18030");
    }
    ~Utf8Decoder() {
        if (iconv_ != kNoIconv)
            ::iconv_close(iconv_);
    }
    Utf8Decoder(const Utf8Decoder &) = delete;
    Utf8Decoder &operator=(const Utf8Decoder &) = delete;

    // False when the system cannot convert the encoding.
    bool valid() const {
        const bool byIconv = encoding_ == TextEncoding::Gb18030 || encoding_ == TextEncoding::Big5;
        return !byIconv || iconv_ != kNoIconv;
    }

    // Appends the UTF-8 of bytes to out; a character cut off at the end of bytes waits for
    // the next call.
    void decode(std::string_view bytes, std::string &out) {
        switch (encoding_) {
        case TextEncoding::Utf8:
            out += bytes;
            return;
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            decodeUtf16(bytes, out);
            return;
        case TextEncoding::Gb18030:
        case TextEncoding::Big5:
            decodeByIconv(bytes, out);
            return;
        }
    }

    // The input ended: a character cut off at its end becomes U+FFFD.
    void finish(std::string &out) {
        if (!held_.empty() || high_ != 0)
            out += kReplacementUtf8;
        held_.clear();
        high_ = 0;
    }

private:
    static inline const iconv_t kNoIconv = reinterpret_cast<iconv_t>(std::intptr_t(-1));

    void decodeUtf16(std::string_view bytes, std::string &out) {
        std::size_t i = 0;
        if (!held_.empty() && !bytes.empty()) {
            held_.push_back(bytes[0]);
            takeUnit(held_, out);
            held_.clear();
            i = 1;
        }
        for (; i + 1 < bytes.size(); i += 2)
            takeUnit(bytes.substr(i, 2), out);
        if (i < bytes.size())
            held_.assign(1, bytes[i]);
    }
    void takeUnit(std::string_view two, std::string &out) {
        const auto first = static_cast<unsigned char>(two[0]);
        const auto second = static_cast<unsigned char>(two[1]);
        const auto unit = static_cast<char16_t>(
            encoding_ == TextEncoding::Utf16Le ? second << 8 | first : first << 8 | second);
        if (high_ != 0) {
            const char16_t high = high_;
            high_ = 0;
            if (marvik::isLowSurrogate(unit)) {
                marvik::appendUtf8(out, marvik::combineSurrogates(high, unit));
                return;
            }
            out += kReplacementUtf8;
        }
        if (marvik::isHighSurrogate(unit))
            high_ = unit;
        else if (marvik::isLowSurrogate(unit))
            out += kReplacementUtf8;
        else
            marvik::appendUtf8(out, unit);
    }

    void decodeByIconv(std::string_view bytes, std::string &out) {
        std::string in = held_;
        in += bytes;
        held_.clear();
        char *inPtr = in.data();
        std::size_t inLeft = in.size();
        char buffer[4096];
        while (inLeft > 0) {
            char *outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t r = ::iconv(iconv_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
                continue;
            if (errno == EINVAL) { // cut off at the end of bytes
                held_.assign(inPtr, inLeft);
                return;
            }
            out += kReplacementUtf8; // EILSEQ: a byte that does not decode
            ++inPtr;
            --inLeft;
        }
    }

    TextEncoding encoding_;
    iconv_t iconv_ = kNoIconv;
    std::string held_;  // bytes of a character cut off at the end of the last piece
    char16_t high_ = 0; // a high surrogate waiting for its partner
};

// Reads up to size bytes from standard input into out; false at its end.
bool readInput(std::string &out, std::size_t size) {
    out.resize(size);
    std::cin.read(out.data(), static_cast<std::streamsize>(size));
    out.resize(static_cast<std::size_t>(std::cin.gcount()));
    return static_cast<bool>(std::cin);
}

// Reads the part of the input that its encoding is judged from into input; false when
// that is all of it.
bool readJudgedPart(std::string &input) {
    std::size_t firstNonAscii = std::string::npos;
    std::string piece;
    bool more = true;
    while (more && input.size() < kMaxJudgedBytes &&
           (firstNonAscii == std::string::npos || input.size() - firstNonAscii < kJudgedBytes)) {
        more = readInput(piece, kJudgedBytes);
        if (firstNonAscii == std::string::npos) {
            for (std::size_t i = 0; i < piece.size(); ++i) {
                const auto b = static_cast<unsigned char>(piece[i]);
                if (b == 0 || b >= 0x80) {
                    firstNonAscii = input.size() + i;
                    break;
                }
            }
        }
        input += piece;
    }
    return more;
}

// The length of the byte-order mark that begins input read in encoding.
std::size_t byteOrderMarkLength(std::string_view input, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf16Le:
        return input.starts_with("\xFF\xFE") ? 2 : 0;
    case TextEncoding::Utf16Be:
        return input.starts_with("\xFE\xFF") ? 2 : 0;
    case TextEncoding::Utf8:
    case TextEncoding::Gb18030: // a stray mark before text that is no UTF-8
    case TextEncoding::Big5:
        break;
    }
    return marvik::startsWithUtf8Bom(input) ? 3 : 0;
}

// Segments one line (UTF-8, leniently) and writes its words or tags.
bool writeLine(const std::u16string &dir, std::string_view line, bool printTags) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::u16string text = marvik::utf8ToUtf16Lossy(line);
    std::u16string tags(text.size() + 1, u'\0');
    const int16_t r = DivideSentence(dir.c_str(), text.data(), int32_t(text.size()), tags.data(),
                                     int32_t(tags.size()));
    if (r != MARVIK_OK) {
        std::fprintf(stderr, "trevix-seg: segmentation failed (%d) %s\n", int(r),
                     MarvikLastError());
        return false;
    }
    tags.pop_back();
    std::string out;
    if (printTags) {
        for (const char16_t t : tags)
            out.push_back(static_cast<char>(t));
    } else {
        std::string word;
        for (const std::u16string_view w : words(text, tags)) {
            if (!out.empty())
                out.push_back(' ');
            marvik::utf16ToUtf8(w, word);
            out += word;
        }
    }
    out.push_back('\n');
    std::cout << out;
    return true;
}

// Writes every complete line of text and keeps the rest (a line not yet ended).
bool writeCompleteLines(const std::u16string &dir, std::string &text, bool printTags) {
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        if (!writeLine(dir, std::string_view(text).substr(start, end - start), printTags))
            return false;
    }
    text.erase(0, start);
    return true;
}

} // namespace

int main(int argc, char **argv) {
    bool printTags = false;
    std::string dictDir;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printUsage(stdout);
            return 0;
        } else if (arg == "--tags") {
            printTags = true;
        } else if (arg == "--dict") {
            if (i + 1 >= argc) {
                std::fputs("trevix-seg: --dict needs a directory\n", stderr);
                return kExitUsage;
            }
            dictDir = argv[++i];
        } else if (arg.starts_with("--dict=")) {
            dictDir = std::string(arg.substr(7));
        } else {
            std::fprintf(stderr, "trevix-seg: unknown argument \"%s\"\n", argv[i]);
            printUsage(stderr);
            return kExitUsage;
        }
    }
    if (dictDir.empty())
        dictDir = defaultDictionaryDirectory();

    const std::u16string dir = marvik::utf8ToUtf16Lossy(dictDir);
    if (MarvikLoad(dir.c_str()) != MARVIK_OK) {
        std::fprintf(stderr, "trevix-seg: %s\n", MarvikLastError());
        return kExitDictionary;
    }

    std::ios::sync_with_stdio(false);
    std::string input;
    bool more = readJudgedPart(input);
    const TextEncoding encoding = marvik::detectTextEncoding(input, !more);
    Utf8Decoder decoder(encoding);
    if (!decoder.valid()) {
        std::fprintf(stderr, "trevix-seg: the input is %s, which this system cannot convert\n",
                     encoding == TextEncoding::Big5 ? "Big5" : "GB18030");
        return kExitEncoding;
    }
    std::string text;
    decoder.decode(std::string_view(input).substr(byteOrderMarkLength(input, encoding)), text);
    while (true) {
        if (!writeCompleteLines(dir, text, printTags))
            return kExitDictionary;
        if (!more)
            break;
        more = readInput(input, kJudgedBytes);
        decoder.decode(input, text);
    }
    decoder.finish(text);
    if (!writeCompleteLines(dir, text, printTags) ||
        (!text.empty() && !writeLine(dir, text, printTags)))
        return kExitDictionary;
    std::cout.flush();
    return std::cout ? 0 : 1;
}
