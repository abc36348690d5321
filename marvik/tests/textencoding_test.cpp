// Judging the encoding of a text from its bytes (the judgement the program's text reader
// and trevix-seg share; their own tests read real texts).
#include "marvik/textencoding.h"

#include "test_dictionary.h"

namespace marvik::test {
namespace {

struct Utf16Case {
    const char *name;
    std::string bytes;
    bool complete;
    std::optional<TextEncoding> order;
};

std::ostream &operator<<(std::ostream &os, const Utf16Case &c) {
    return os << c.name;
}

const std::string kChinese = "中文输入法的种类很多，有的根据读音，有的根据字形。\r\n";
const std::string kEnglish = "Typing is learnt by typing, every day a little.\r\n";

const Utf16Case kUtf16Cases[] = {
    {"LittleEndianMark", "\xFF\xFE" + encoded("UTF-16LE", kChinese), true, TextEncoding::Utf16Le},
    {"BigEndianMark", "\xFE\xFF" + encoded("UTF-16BE", kChinese), true, TextEncoding::Utf16Be},
    {"ChineseLittleEndian", encoded("UTF-16LE", kChinese), true, TextEncoding::Utf16Le},
    {"ChineseBigEndian", encoded("UTF-16BE", kChinese), true, TextEncoding::Utf16Be},
    // ASCII read in the wrong order becomes CJK: the NUL bytes tell the order.
    {"EnglishLittleEndian", encoded("UTF-16LE", kEnglish), true, TextEncoding::Utf16Le},
    {"EnglishBigEndian", encoded("UTF-16BE", kEnglish), true, TextEncoding::Utf16Be},
    // The first bytes of a longer file may end anywhere.
    {"CutInsideAUnit", encoded("UTF-16LE", kChinese) + "\x4E", false, TextEncoding::Utf16Le},
    {"CutInsideAPair", encoded("UTF-16LE", kChinese) + "\x42\xD8", false, TextEncoding::Utf16Le},
    {"OddLengthFile", encoded("UTF-16LE", kChinese) + "\x4E", true, std::nullopt},
    {"UnpairedSurrogate", encoded("UTF-16LE", kChinese) + "\x42\xD8" + encoded("UTF-16LE", "a"),
     true, std::nullopt},
    {"NulCharacter",
     encoded("UTF-16LE", kChinese) + std::string(2, '\0') + encoded("UTF-16LE", kChinese), true,
     std::nullopt},
    {"NoNulBytes", encoded("GBK", kChinese), true, std::nullopt},
    {"Utf8WithANulByte", kChinese + '\0' + kChinese + "a", true, std::nullopt},
};

class Utf16ByteOrderTest : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16ByteOrderTest, IsRecognisedFromTheFirstBytes) {
    EXPECT_EQ(utf16ByteOrder(GetParam().bytes, GetParam().complete), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Inputs, Utf16ByteOrderTest, testing::ValuesIn(kUtf16Cases),
                         [](const testing::TestParamInfo<Utf16Case> &info) {
                             return std::string(info.param.name);
                         });

// The reader feeds chunks of 8 KB, the tool pieces of 64 KB: where the bytes are cut
// changes nothing.
TEST(ByteEncodingGuess, WhereTheBytesAreCutChangesNothing) {
    const std::string simplified =
        "中文输入法的种类很多，有的根据读音，有的根据字形。根据读音的输入法容易学。";
    const std::string traditional =
        "中文輸入法的種類很多，有的根據讀音，有的根據字形。根據讀音的輸入法容易學。";
    const struct {
        const char *name;
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"utf8", simplified, TextEncoding::Utf8},
        {"gbk", encoded("GBK", simplified), TextEncoding::Gb18030},
        {"gb18030_four_byte", encoded("GB18030", simplified + "€𠮷"), TextEncoding::Gb18030},
        {"big5", encoded("BIG5", traditional), TextEncoding::Big5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ByteEncodingGuess whole;
        whole.feed(c.bytes);
        whole.finish();
        EXPECT_EQ(whole.encoding(), c.encoding);
        ByteEncodingGuess bytewise;
        for (const char b : c.bytes)
            bytewise.feed(std::string_view(&b, 1));
        bytewise.finish();
        EXPECT_EQ(bytewise.encoding(), c.encoding);
    }
}

TEST(ByteEncodingGuess, AUtf8SequenceCutOffIsAnErrorOnlyAtTheEnd) {
    const std::string text = "中文";
    ByteEncodingGuess guess;
    guess.feed(std::string_view(text).substr(0, text.size() - 1));
    EXPECT_TRUE(guess.isUtf8());
    guess.finish();
    EXPECT_FALSE(guess.isUtf8());
}

} // namespace
} // namespace marvik::test
