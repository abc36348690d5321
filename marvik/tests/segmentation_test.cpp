// DivideSentence: tags, word choice, buffers and arguments.
#include "test_dictionary.h"

#include "marvik/marvik.h"
#include "segmenter.h"
#include "utf.h"

#include <random>
#include <thread>
#include <vector>

namespace marvik::test {
namespace {

struct TagCase {
    const char *name;
    std::u16string text;
    std::string tags;
};

std::ostream &operator<<(std::ostream &os, const TagCase &c) {
    return os << c.name;
}

const TagCase kTagCases[] = {
    {"TwoCharacterWord", u"我们", "00"},
    {"WordsAlternate", u"我们学习", "0011"},
    {"AdjacentOneCharacterWords", u"我的", "01"},
    {"AlternationAcrossFullWidthPunctuation", u"我们，学习", "00211"},
    {"AlternationAcrossAsciiPunctuationAndBlank", u"我们. 学习", "002211"},
    {"AlternationAcrossLetters", u"我abc们", "04441"},
    {"AlternationAcrossLineBreaks", u"我们\n学习\r\n的", "00211220"},
    {"UnknownCharactersAreOneCharacterWords", u"龘龘", "01"},
    {"MostProbablePathBeatsLongestMatch", u"研究生命的起源", "0011011"},
    {"LongerWordWhenMoreProbable", u"人民共和国", "00111"},
    {"SplitWhenMoreProbableThanLongWord", u"中国人民", "0011"},
    {"AsciiLettersAndDigitsAreOneItem", u"abc123XYZ", "444444444"},
    {"FullWidthLettersAndDigits", u"ＡＢｃ１２", "44444"},
    {"AsciiAndFullWidthMakeOneRun", u"a１Ｂ", "444"},
    {"BlankSplitsItems", u"12 34", "44244"},
    {"FullWidthSymbolsBesideLetterRanges", u"＠［｀｛！／：", "2222222"},
    {"AsciiSymbolsBesideLetterRanges", u"/:@[`{", "222222"},
    {"Blanks", u" \t\u3000", "222"},
    {"OtherScripts", u"Ωжあ한", "2222"},
    {"IdeographicZeroIsChinese", u"〇〇", "01"},
    {"EdgesOfHanRanges", u"\u3400\u4DBF\u4E00\u9FFF\uF900\uFAFF", "010101"},
    {"JustOutsideHanRanges", u"\u33FF\u4DC0\uA000\uFB00\u3006", "22222"},
    {"SupplementaryHanStartingNoWord", u"𠮷我", "001"},
    {"DictionaryWordOfSupplementaryCharacters", u"𠮷𠀀我", "00001"},
    {"EdgesOfSupplementaryHan", u"\U00020000\U0003FFFD", "0011"},
    {"SupplementaryOutsideHan", u"😀\U0001FFFF\U00040000", "222222"},
    {"UnpairedHighSurrogate", std::u16string{char16_t(0xD840), u'a'}, "24"},
    {"UnpairedLowSurrogate", std::u16string{char16_t(0xDC00), u'我'}, "20"},
    {"HighSurrogateAtEnd", std::u16string{u'我', char16_t(0xD840)}, "02"},
    {"ReversedPair", std::u16string{char16_t(0xDC00), char16_t(0xD840)}, "22"},
    {"NulCharacter", std::u16string{u'我', u'\0', u'们'}, "021"},
    {"EmptyText", u"", ""},
};

class TagsTest : public LoadedDictionaryTest, public testing::WithParamInterface<TagCase> {};

TEST_P(TagsTest, GivesOneTagPerUnit) {
    EXPECT_EQ(tagsOf(GetParam().text), GetParam().tags);
}

INSTANTIATE_TEST_SUITE_P(Texts, TagsTest, testing::ValuesIn(kTagCases),
                         [](const testing::TestParamInfo<TagCase> &info) {
                             return std::string(info.param.name);
                         });

// Random texts of units that are hard to tag: surrogate halves, range edges, dictionary
// characters. Checks what must hold for every text.
TEST_F(LoadedDictionaryTest, RandomTextsKeepTheTagInvariants) {
    const std::u16string alphabet = u"我们学习研究生命的中国人民共和国龘〇\u3400\u9FFF"
                                    u"aZ09ＡｚＡ１，。 \n\r!@[`{\uFF20\uFF3B\u00E9"
                                    u"\xD840\xD8BF\xD83D\xDC00\xDFFF";
    std::mt19937 rng(20060101);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 60);
    for (int round = 0; round < 2000; ++round) {
        std::u16string text(length(rng), u' ');
        for (char16_t &u : text)
            u = alphabet[pick(rng)];
        const std::string tags = tagsOf(text);
        ASSERT_EQ(tags.size(), text.size());
        bool seenChinese = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::size_t han = hanLength(text.data(), i, text.size());
            const char tag = tags[i];
            if (han != 0) {
                ASSERT_TRUE(tag == '0' || tag == '1') << u8(text) << " at " << i;
                if (!seenChinese) {
                    ASSERT_EQ(tag, '0') << "the first Chinese word is even";
                }
                seenChinese = true;
                if (han == 2) {
                    ASSERT_EQ(tags[i + 1], tag) << "both units of a pair share their tag";
                    ++i;
                }
            } else if (isItemUnit(text[i])) {
                ASSERT_EQ(tag, '4') << " at " << i;
            } else {
                ASSERT_EQ(tag, '2') << " at " << i;
            }
        }
    }
}

TEST_F(LoadedDictionaryTest, AlternationIsGlobalAcrossChineseRuns) {
    // Three runs of one, two and one words: the parity carries over the gaps.
    EXPECT_EQ(tagsOf(u"的, 我们 ab 的"), "0221124420");
}

TEST_F(LoadedDictionaryTest, LongRunsAreSegmentedLikeShortOnes) {
    // A run far longer than any before it (the scratch space has to grow) segments as the
    // repetition of its three words, with the alternation carried through.
    std::u16string text;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        text += u"研究生命的";
        expected += i % 2 == 0 ? "00110" : "11001";
    }
    EXPECT_EQ(tagsOf(text), expected);
}

class BufferTest : public LoadedDictionaryTest {
protected:
    static constexpr char16_t kUntouched = u'#';
    const std::u16string text_ = u"我们abc";
    std::u16string buf_ = std::u16string(16, kUntouched);

    int16_t divide(int32_t capacity) {
        return DivideSentence(dictDir().c_str(), text_.data(), int32_t(text_.size()), buf_.data(),
                              capacity);
    }
};

TEST_F(BufferTest, TooSmallWritesNothing) {
    EXPECT_EQ(divide(int32_t(text_.size()) - 1), MARVIK_ERR_BUFFER);
    EXPECT_EQ(buf_, std::u16string(16, kUntouched));
    EXPECT_EQ(divide(0), MARVIK_ERR_BUFFER);
    EXPECT_EQ(buf_, std::u16string(16, kUntouched));
}

TEST_F(BufferTest, ExactFitHasNoNul) {
    ASSERT_EQ(divide(int32_t(text_.size())), MARVIK_OK);
    EXPECT_EQ(buf_, u"00444" + std::u16string(11, kUntouched));
}

TEST_F(BufferTest, LargerBufferGetsOneNulAfterTheTags) {
    ASSERT_EQ(divide(int32_t(buf_.size())), MARVIK_OK);
    EXPECT_EQ(buf_, std::u16string(u"00444") + u'\0' + std::u16string(10, kUntouched));
}

TEST_F(BufferTest, EmptyTextGetsJustTheNul) {
    ASSERT_EQ(DivideSentence(dictDir().c_str(), text_.data(), 0, buf_.data(), 1), MARVIK_OK);
    EXPECT_EQ(buf_[0], u'\0');
    EXPECT_EQ(buf_[1], kUntouched);
    ASSERT_EQ(DivideSentence(dictDir().c_str(), text_.data(), 0, buf_.data(), 0), MARVIK_OK);
}

TEST_F(BufferTest, BadArguments) {
    const char16_t *dir = u"/nonexistent";
    const char16_t *text = text_.data();
    char16_t *tags = buf_.data();
    EXPECT_EQ(DivideSentence(dir, nullptr, 3, tags, 16), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(DivideSentence(dir, text, 3, nullptr, 16), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(DivideSentence(dir, text, -1, tags, 16), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(DivideSentence(dir, text, 3, tags, -1), MARVIK_ERR_ARGUMENT);
    EXPECT_EQ(buf_, std::u16string(16, kUntouched));
}

TEST_F(LoadedDictionaryTest, ConcurrentSegmentationAgrees) {
    const std::u16string text = u"研究生命的起源，中国人民共和国。我们学习打字abc";
    const std::string expected = tagsOf(text);
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (std::string &r : results)
        threads.emplace_back([&text, &r] {
            for (int i = 0; i < 200; ++i)
                r = tagsOf(text);
        });
    for (std::thread &t : threads)
        t.join();
    for (const std::string &r : results)
        EXPECT_EQ(r, expected);
}

} // namespace
} // namespace marvik::test
