#include "dictionary.h"

#include "utf.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace marvik {

namespace {

constexpr std::string_view kMagic = "MARVIK-DICT";
constexpr std::size_t kMaxFileSize = std::size_t(512) << 20;
constexpr std::uint64_t kMaxFrequency = std::uint64_t(1) << 53;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses a run of decimal digits that fits in 53 bits; false otherwise.
bool parseNumber(std::string_view s, std::uint64_t &value) {
    if (s.empty() || s.size() > 16)
        return false;
    value = 0;
    for (char c : s) {
        if (!isDigit(c))
            return false;
        value = value * 10 + std::uint64_t(c - '0');
    }
    return value <= kMaxFrequency;
}

// Walks the lines of the file, counting them for error messages.
class LineReader {
public:
    explicit LineReader(std::string_view data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    std::size_t lineNumber() const { return line_; }

    // The next line without its LF (and without a CR before it).
    std::string_view next() {
        ++line_;
        const std::size_t lf = data_.find('\n', pos_);
        const std::size_t end = lf == std::string_view::npos ? data_.size() : lf;
        std::string_view line = data_.substr(pos_, end - pos_);
        pos_ = lf == std::string_view::npos ? data_.size() : lf + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    std::size_t line_ = 0;
};

// Splits "<text>\t<value>" at its only tab.
bool splitField(std::string_view line, std::string_view &text, std::string_view &value) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos)
        return false;
    text = line.substr(0, tab);
    value = line.substr(tab + 1);
    return true;
}

// Appends the UTF-16 form of a word of Chinese characters to pool; false (with why set)
// when the text is not well-formed UTF-8 or holds ASCII or control characters.
bool appendWord(std::string_view text, std::vector<char16_t> &pool, std::size_t &chars,
                const char *&why) {
    chars = 0;
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end) {
        char32_t cp;
        const std::size_t n = decodeUtf8(p, end, cp);
        if (n == 0) {
            why = "invalid UTF-8";
            return false;
        }
        if (cp < 0xA0) {
            why = "not a Chinese character";
            return false;
        }
        if (cp < 0x10000) {
            pool.push_back(static_cast<char16_t>(cp));
        } else {
            pool.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            pool.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
        ++chars;
        p += n;
    }
    return true;
}

} // namespace

std::unique_ptr<Dictionary> Dictionary::load(const std::string &path, std::string &error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        error = e == ENOENT ? "marvik.dic: not found (" + path + ")"
                            : "marvik.dic: cannot open " + path + ": " + std::strerror(e);
        return nullptr;
    }
    std::string data;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = "marvik.dic: not a regular file (" + path + ")";
        return nullptr;
    }
    if (static_cast<std::size_t>(st.st_size) > kMaxFileSize) {
        ::close(fd);
        error = "marvik.dic: file too large (" + path + ")";
        return nullptr;
    }
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    const int readErrno = errno;
    ::close(fd);
    if (got != data.size()) {
        error = "marvik.dic: cannot read " + path + ": " + std::strerror(readErrno);
        return nullptr;
    }
    return parse(data, "marvik.dic", error);
}

std::unique_ptr<Dictionary> Dictionary::parse(std::string_view data, std::string_view name,
                                              std::string &error) {
    if (data.starts_with("\xEF\xBB\xBF"))
        data.remove_prefix(3);
    LineReader lines(data);
    const auto fail = [&](const std::string &what) {
        error = std::string(name) + ": line " + std::to_string(lines.lineNumber()) + ": " + what;
        return nullptr;
    };

    if (data.empty()) {
        error = std::string(name) + ": empty file";
        return nullptr;
    }

    // Header.
    std::uint64_t nchars = 0;
    std::uint64_t nwords = 0;
    {
        const std::string_view header = lines.next();
        std::string_view rest = header;
        const auto field = [&rest]() {
            const std::size_t sp = rest.find(' ');
            const std::string_view f = rest.substr(0, sp);
            rest = sp == std::string_view::npos ? std::string_view() : rest.substr(sp + 1);
            return f;
        };
        const std::string_view magic = field();
        const std::string_view version = field();
        const std::string_view chars = field();
        const std::string_view words = field();
        if (magic != kMagic)
            return fail("not a dictionary file (the header must start with \"MARVIK-DICT\")");
        if (version != "1")
            return fail("unsupported version \"" + std::string(version) + "\"");
        if (!parseNumber(chars, nchars) || !parseNumber(words, nwords) || !rest.empty())
            return fail("bad header (expected \"MARVIK-DICT 1 <nchars> <nwords>\")");
    }

    auto dict = std::make_unique<Dictionary>();
    // The counts come from the file: reserve no more than its size can hold.
    dict->codes_.reserve(std::min<std::uint64_t>(nchars, data.size() / 8));

    std::string_view text;
    std::string_view value;
    std::vector<char16_t> pool;
    const char *why = nullptr;
    std::size_t chars = 0;

    for (std::uint64_t i = 0; i < nchars; ++i) {
        if (lines.atEnd())
            return fail("unexpected end of file after " + std::to_string(i) + " of " +
                        std::to_string(nchars) + " characters");
        const std::string_view line = lines.next();
        if (line == "END")
            return fail("END after " + std::to_string(i) + " of " + std::to_string(nchars) +
                        " characters");
        if (!splitField(line, text, value))
            return fail("expected \"<character>\\t<code>\"");
        pool.clear();
        if (!appendWord(text, pool, chars, why))
            return fail(std::string("character: ") + why);
        if (chars != 1)
            return fail("expected a single character, found " + std::to_string(chars));
        if (value.size() != 5 || !std::all_of(value.begin(), value.end(), isDigit))
            return fail("the code \"" + std::string(value) + "\" is not five digits");
        const char32_t cp =
            pool.size() == 1 ? char32_t(pool[0]) : combineSurrogates(pool[0], pool[1]);
        CharCode code;
        std::copy(value.begin(), value.end(), code.begin());
        dict->codes_.emplace(cp, code); // a repeated character keeps its first code
    }

    // Until the repeated words are merged, an entry's logp holds its frequency (exact, as
    // frequencies have at most 53 bits).
    std::vector<Trie::Entry> entries;
    entries.reserve(std::min<std::uint64_t>(nwords, data.size() / 4));
    pool.clear();
    pool.reserve(std::min<std::size_t>(data.size() / 2, std::size_t(nwords) * 4));
    for (std::uint64_t i = 0; i < nwords; ++i) {
        if (lines.atEnd())
            return fail("unexpected end of file after " + std::to_string(i) + " of " +
                        std::to_string(nwords) + " words");
        const std::string_view line = lines.next();
        if (line == "END")
            return fail("END after " + std::to_string(i) + " of " + std::to_string(nwords) +
                        " words");
        if (!splitField(line, text, value))
            return fail("expected \"<word>\\t<frequency>\"");
        const std::size_t offset = pool.size();
        if (!appendWord(text, pool, chars, why))
            return fail(std::string("word: ") + why);
        if (chars == 0)
            return fail("empty word");
        std::uint64_t freq = 0;
        if (!parseNumber(value, freq) || freq == 0)
            return fail("the frequency \"" + std::string(value) + "\" is not a positive number");
        entries.push_back({static_cast<std::uint32_t>(offset),
                           static_cast<std::uint32_t>(pool.size() - offset),
                           static_cast<double>(freq)});
    }

    if (lines.atEnd())
        return fail("missing END");
    if (lines.next() != "END")
        return fail("expected END after " + std::to_string(nwords) + " words");
    while (!lines.atEnd()) {
        if (!lines.next().empty())
            return fail("text after END");
    }

    Trie::sortEntries(pool.data(), entries);
    std::size_t out = 0;
    double total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        total += entries[i].logp;
        if (out > 0 &&
            std::u16string_view(pool.data() + entries[out - 1].offset, entries[out - 1].length) ==
                std::u16string_view(pool.data() + entries[i].offset, entries[i].length)) {
            entries[out - 1].logp += entries[i].logp; // a repeated word adds its frequency
        } else {
            entries[out++] = entries[i];
        }
    }
    entries.resize(out);
    const double logTotal = total > 0 ? std::log(total) : 0.0;
    // Lay the words out in sorted order too, so that building the trie reads them in order.
    std::vector<char16_t> sorted;
    sorted.reserve(pool.size());
    for (Trie::Entry &e : entries) {
        e.logp = std::log(e.logp) - logTotal;
        const auto offset = static_cast<std::uint32_t>(sorted.size());
        sorted.insert(sorted.end(), pool.begin() + e.offset, pool.begin() + e.offset + e.length);
        e.offset = offset;
    }
    pool = {};

    dict->words_.build(sorted.data(), entries);
    dict->wordCount_ = entries.size();
    dict->unknownLogp_ = -logTotal;
    return dict;
}

} // namespace marvik
