#include "test_dictionary.h"

#include "internal.h"
#include "marvik/marvik.h"
#include "utf.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <stdexcept>

namespace marvik::test {

std::u16string u16(std::string_view utf8) {
    std::u16string out;
    if (!utf8ToUtf16(utf8, out))
        throw std::invalid_argument("not UTF-8");
    return out;
}

std::string encoded(const char *encoding, std::string_view utf8) {
    const iconv_t cd = ::iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(std::intptr_t(-1)))
        throw std::invalid_argument(std::string("no iconv for ") + encoding);
    std::string in(utf8), out(4 * utf8.size() + 16, '\0');
    char *inPtr = in.data(), *outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const std::size_t r = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    ::iconv_close(cd);
    if (r == static_cast<std::size_t>(-1))
        throw std::invalid_argument(std::string("not convertible to ") + encoding);
    out.resize(out.size() - outLeft);
    return out;
}

std::string u8(std::u16string_view utf16) {
    std::string out;
    if (!utf16ToUtf8(utf16, out))
        throw std::invalid_argument("not UTF-16");
    return out;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marvik-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::filesystem::path &path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string makeDictionary(std::span<const CharLine> chars, std::span<const WordLine> words) {
    std::string text =
        "MARVIK-DICT 1 " + std::to_string(chars.size()) + " " + std::to_string(words.size()) + "\n";
    for (const CharLine &c : chars)
        text += std::string(c.character) + "\t" + c.code + "\n";
    for (const WordLine &w : words)
        text += std::string(w.word) + "\t" + std::to_string(w.frequency) + "\n";
    return text + "END\n";
}

namespace {

const CharLine kChars[] = {
    {"我", "23550"}, {"们", "27220"}, {"学", "37140"}, {"习", "17120"}, {"研", "14640"},
    {"究", "30410"}, {"生", "25100"}, {"命", "80620"}, {"的", "27600"}, {"起", "47780"},
    {"源", "31190"}, {"打", "51020"}, {"字", "30400"}, {"通", "37300"}, {"很", "27370"},
    {"好", "47440"}, {"中", "50000"}, {"国", "50600"}, {"人", "80000"}, {"民", "77740"},
    {"共", "44800"}, {"和", "26900"}, {"了", "01740"}, {"〇", "10770"}, {"𠮷", "40600"},
    {"𠀀", "10210"},
};

const WordLine kWords[] = {
    {"我", 2000},   {"们", 300},    {"我们", 5000},   {"学", 800},    {"习", 200},
    {"学习", 3000}, {"研", 50},     {"究", 40},       {"研究", 2000}, {"研究生", 100},
    {"生", 1000},   {"生命", 1500}, {"命", 300},      {"的", 20000},  {"起", 500},
    {"源", 100},    {"起源", 400},  {"打", 600},      {"字", 500},    {"打字", 700},
    {"通", 400},    {"很", 3000},   {"好", 3000},     {"中", 2000},   {"国", 1500},
    {"中国", 8000}, {"人", 5000},   {"民", 300},      {"人民", 4000}, {"中国人民", 200},
    {"共", 100},    {"和", 3000},   {"共和国", 1000}, {"了", 6000},   {"𠮷𠀀", 100},
};

} // namespace

std::string fixtureDictionary() {
    return makeDictionary(kChars, kWords);
}

std::string tagsOf(std::u16string_view text, const std::u16string &dictDir) {
    std::u16string tags(text.size() + 1, u'x');
    const int16_t r = DivideSentence(dictDir.c_str(), text.data(), int32_t(text.size()),
                                     tags.data(), int32_t(tags.size()));
    EXPECT_EQ(r, MARVIK_OK) << MarvikLastError();
    EXPECT_EQ(tags.back(), u'\0') << "no NUL after the tags";
    std::string ascii;
    for (std::size_t i = 0; i < text.size(); ++i)
        ascii.push_back(static_cast<char>(tags[i]));
    return ascii;
}

void LoadedDictionaryTest::SetUp() {
    resetForTests();
    writeFile(dir_.path() / "marvik.dic", fixtureDictionary());
    const std::u16string custom = u16(customPath().string());
    ASSERT_EQ(MarvikSetUserDictPath(custom.c_str()), MARVIK_OK);
    ASSERT_EQ(MarvikLoad(dictDir().c_str()), MARVIK_OK) << MarvikLastError();
}

void LoadedDictionaryTest::TearDown() {
    resetForTests();
}

} // namespace marvik::test
