// Calls the segmentation library's four functions with arbitrary UTF-16 and small and odd
// buffer capacities. Each buffer is exactly its capacity long, so that a write past it is
// a finding (a buffer of capacity 0 has one unit, which must stay untouched); what the
// functions answer must fit what they wrote.
#include "fuzzsupport.h"

#include "internal.h"

#include <marvik/marvik.h>

#include <QFile>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char16_t kUntouched = u'\xA5A5';

std::u16string dictDir() {
    return fuzz::fixtureDir().toStdU16String();
}

std::u16string customPath() {
    return (fuzz::scratchDir() + QStringLiteral("/custom.dic")).toStdU16String();
}

void load() {
    const std::u16string path = customPath();
    QFile::remove(QString::fromStdU16String(path));
    fuzz::check(MarvikSetUserDictPath(path.c_str()) == MARVIK_OK, "the custom path is refused");
    fuzz::check(MarvikLoad(dictDir().c_str()) == MARVIK_OK, "the fixture dictionary does not load");
}

std::u16string takeText(FuzzedDataProvider &in, std::size_t most) {
    std::u16string text;
    const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, most);
    for (std::size_t i = 0; i < n && in.remaining_bytes() >= 2; ++i) {
        // Mostly CJK, so that words and codes are found; any unit now and then.
        const uint8_t kind = in.ConsumeIntegral<uint8_t>();
        const uint16_t v = in.ConsumeIntegral<uint16_t>();
        if (kind < 160)
            text.push_back(char16_t(0x4E00 + v % 0x5200));
        else if (kind < 200)
            text.push_back(char16_t(0x20 + v % 0x60));
        else
            text.push_back(char16_t(v));
    }
    return text;
}

bool isDigits(const char16_t *p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] < u'0' || p[i] > u'9')
            return false;
    return true;
}

void divide(const std::u16string &text, int32_t capacity) {
    std::vector<char16_t> tags(std::size_t(std::max(capacity, 1)), kUntouched);
    const int16_t r =
        DivideSentence(dictDir().c_str(), text.data(), int32_t(text.size()), tags.data(), capacity);
    if (std::size_t(capacity) < text.size()) {
        fuzz::check(r == MARVIK_ERR_BUFFER, "a small buffer taken");
        for (const char16_t t : tags)
            fuzz::check(t == kUntouched, "a refused call wrote tags");
        return;
    }
    fuzz::check(r == MARVIK_OK, "a text not segmented");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t t = tags[i];
        fuzz::check(t == u'0' || t == u'1' || t == u'2' || t == u'4', "a tag that is none");
        if (i > 0 && text[i] >= 0xDC00 && text[i] <= 0xDFFF && text[i - 1] >= 0xD800 &&
            text[i - 1] <= 0xDBFF)
            fuzz::check(tags[i - 1] == t, "the halves of a character tagged apart");
    }
    if (std::size_t(capacity) > text.size()) {
        fuzz::check(tags[text.size()] == u'\0', "no NUL after the tags");
        for (std::size_t i = text.size() + 1; i < std::size_t(capacity); ++i)
            fuzz::check(tags[i] == kUntouched, "written past the NUL");
    }
}

// The digits of GetItemCode for item, or an empty string.
std::u16string itemCode(const std::u16string &item, int32_t capacity) {
    std::vector<char16_t> buf(std::size_t(std::max(capacity, 1)), kUntouched);
    const int16_t r = GetItemCode(item.c_str(), buf.data(), capacity);
    fuzz::check(r >= -1 && r <= capacity, "GetItemCode answers out of range");
    if (r <= 0) {
        for (const char16_t c : buf)
            fuzz::check(c == kUntouched, "GetItemCode wrote without a code");
        return {};
    }
    fuzz::check(isDigits(buf.data(), std::size_t(r)), "a code with something other than digits");
    for (std::size_t i = std::size_t(r); i < std::size_t(capacity); ++i)
        fuzz::check(buf[i] == u' ', "a code not padded with blanks");
    return std::u16string(buf.data(), std::size_t(r));
}

std::u16string convert(const std::u16string &word, int32_t capacity) {
    std::vector<char16_t> buf(std::size_t(std::max(capacity, 1)), kUntouched);
    const int16_t r = Convert(word.c_str(), buf.data(), capacity);
    fuzz::check(r == MARVIK_ERR_BUFFER || (r >= 0 && r <= 6), "Convert answers out of range");
    if (r <= 0)
        return {};
    fuzz::check(r < capacity && buf[std::size_t(r)] == u'\0', "a proposed code without its NUL");
    fuzz::check(isDigits(buf.data(), std::size_t(r)), "a proposed code of other than digits");
    for (std::size_t i = std::size_t(r) + 1; i < std::size_t(capacity); ++i)
        fuzz::check(buf[i] == kUntouched, "Convert wrote past the NUL");
    return std::u16string(buf.data(), std::size_t(r));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    load();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int added = 0;
    FuzzedDataProvider in(data, size);
    const std::u16string text = takeText(in, 300);
    divide(text, in.ConsumeIntegralInRange<int32_t>(0, int32_t(text.size()) + 3));

    // A word: no NUL inside, as the functions take NUL-terminated strings.
    std::u16string word = text.substr(0, in.ConsumeIntegralInRange<std::size_t>(0, 8));
    word.erase(std::remove(word.begin(), word.end(), u'\0'), word.end());
    convert(word, in.ConsumeIntegralInRange<int32_t>(0, 8));
    itemCode(word, in.ConsumeIntegralInRange<int32_t>(0, 8));

    if (in.ConsumeBool() && !word.empty()) {
        std::u16string code = u"9";
        for (int i = in.ConsumeIntegralInRange(0, 6); i > 0; --i)
            code.push_back(char16_t(u'0' + in.ConsumeIntegralInRange(0, 9)));
        const int16_t r = AddWord(code.c_str(), word.c_str());
        fuzz::check(r == 0 || r == 1 || r == -1, "AddWord answers out of range");
        if (r == 0) {
            fuzz::check(code.size() <= 6, "a code of seven digits added");
            // A word of several characters is found by its custom code from now on.
            if (word.size() > 2)
                fuzz::check(itemCode(word, 8) == code, "an added word without its code");
            divide(word + u"。" + word, int32_t(word.size()) * 2 + 2);
        }
        // Keep the custom file and the dictionary small: start over now and then.
        if (++added % 2000 == 0) {
            marvik::resetForTests();
            load();
        }
    }
    return 0;
}
