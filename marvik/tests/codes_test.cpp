// Convert and GetItemCode: the code rule, custom codes and buffer bounds.
#include "test_dictionary.h"

#include "internal.h"
#include "marvik/marvik.h"

namespace marvik::test {
namespace {

struct CodeCase {
    const char *name;
    std::u16string word;
    std::string code; // empty: no code
};

std::ostream &operator<<(std::ostream &os, const CodeCase &c) {
    return os << c.name;
}

// Codes of the fixture: 我 23550 们 27220 学 37140 研 14640 究 30410 生 25100 中 50000
// 国 50600 人 80000 民 77740 共 44800 了 01740 𠮷 40600 𠀀 10210.
const CodeCase kCodeCases[] = {
    {"OneCharacterIsItsOwnCode", u"我", "23550"},
    {"LeadingZeroIsKept", u"了", "01740"},
    {"TwoCharactersTakeThreeDigitsEach", u"我们", "235272"},
    {"TwoCharactersNotADictionaryWord", u"我学", "235371"},
    {"ThreeCharactersTakeTwoDigitsEach", u"研究生", "143025"},
    {"FourCharacters", u"中国人民", "558077"},
    {"FiveCharactersTakeTheLast", u"中国人民共", "558044"},
    {"ManyCharactersTakeTheLast", u"了中国人民共了我", "055023"},
    {"SupplementaryCharacters", u"𠮷𠀀", "406102"},
    {"SupplementaryCharacterAlone", u"𠮷", "40600"},
    {"CharacterWithoutCode", u"我龘", ""},
    {"SingleCharacterWithoutCode", u"龘", ""},
    {"Letters", u"ab", ""},
    {"Punctuation", u"，", ""},
    {"UnpairedSurrogate", std::u16string{u'我', char16_t(0xD840)}, ""},
    {"Empty", u"", ""},
};

class CodeRuleTest : public LoadedDictionaryTest, public testing::WithParamInterface<CodeCase> {};

TEST_P(CodeRuleTest, Convert) {
    char16_t buf[10];
    std::fill(std::begin(buf), std::end(buf), u'#');
    const int16_t r = Convert(GetParam().word.c_str(), buf, 10);
    ASSERT_EQ(r, int16_t(GetParam().code.size()));
    EXPECT_EQ(u8(buf), GetParam().code);
}

TEST_P(CodeRuleTest, GetItemCode) {
    char16_t buf[7];
    std::fill(std::begin(buf), std::end(buf), u'#');
    const int16_t r = GetItemCode(GetParam().word.c_str(), buf, 7);
    ASSERT_EQ(r, int16_t(GetParam().code.size()));
    if (r > 0) // the code, then blanks up to the capacity
        EXPECT_EQ(u8(std::u16string_view(buf, 7)),
                  GetParam().code + std::string(7 - GetParam().code.size(), ' '));
    else
        EXPECT_EQ(std::u16string_view(buf, 7), u"#######");
}

INSTANTIATE_TEST_SUITE_P(Words, CodeRuleTest, testing::ValuesIn(kCodeCases),
                         [](const testing::TestParamInfo<CodeCase> &info) {
                             return std::string(info.param.name);
                         });

using CodeBufferTest = LoadedDictionaryTest;

TEST_F(CodeBufferTest, ConvertNeedsRoomForTheNul) {
    char16_t buf[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
    EXPECT_EQ(Convert(u"我们", buf, 6), MARVIK_ERR_BUFFER);
    EXPECT_EQ(std::u16string_view(buf, 8), u"########");
    EXPECT_EQ(Convert(u"我们", buf, 7), 6);
    EXPECT_EQ(std::u16string_view(buf, 8), std::u16string_view(u"235272\0#", 8));
    EXPECT_EQ(Convert(u"龘", buf, 1), 0);
    EXPECT_EQ(buf[0], u'\0');
    EXPECT_EQ(Convert(u"龘", buf, 0), MARVIK_ERR_BUFFER);
}

TEST_F(CodeBufferTest, GetItemCodeFillsExactlyTheCapacity) {
    char16_t buf[7] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
    EXPECT_EQ(GetItemCode(u"我", buf, 4), -1);
    EXPECT_EQ(std::u16string_view(buf, 7), u"#######");
    EXPECT_EQ(GetItemCode(u"我", buf, 5), 5);
    EXPECT_EQ(std::u16string_view(buf, 7), u"23550##");
    EXPECT_EQ(GetItemCode(u"我们", buf, 5), -1);
    EXPECT_EQ(std::u16string_view(buf, 7), u"23550##");
    // The program's buffer of six: a word's code fills it exactly.
    EXPECT_EQ(GetItemCode(u"我们", buf, 6), 6);
    EXPECT_EQ(std::u16string_view(buf, 7), u"235272#");
    EXPECT_EQ(GetItemCode(u"我", buf, 6), 5);
    EXPECT_EQ(std::u16string_view(buf, 7), u"23550 #");
}

TEST_F(CodeBufferTest, BadArguments) {
    char16_t buf[8];
    EXPECT_EQ(Convert(nullptr, buf, 8), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(Convert(u"我", nullptr, 8), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(Convert(u"我", buf, -1), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(GetItemCode(nullptr, buf, 8), -1);
    EXPECT_EQ(GetItemCode(u"我", nullptr, 8), -1);
    EXPECT_EQ(GetItemCode(u"我", buf, -1), -1);
}

TEST(CodesWithoutDictionaryTest, NeedALoadedDictionary) {
    resetForTests();
    char16_t buf[8];
    EXPECT_EQ(Convert(u"我", buf, 8), MARVIK_ERR_DICTIONARY);
    EXPECT_EQ(GetItemCode(u"我", buf, 8), -1);
}

} // namespace
} // namespace marvik::test
