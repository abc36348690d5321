// Loading marvik.dic: damaged and missing files, accepted variants, retry and threads.
#include "test_dictionary.h"

#include "internal.h"
#include "marvik/marvik.h"

#include <atomic>
#include <thread>
#include <vector>

namespace marvik::test {
namespace {

namespace fs = std::filesystem;

class DictionaryFileTest : public testing::Test {
protected:
    void SetUp() override {
        resetForTests();
        custom_ = u16((dir_.path() / "custom.dic").string());
        ASSERT_EQ(MarvikSetUserDictPath(custom_.c_str()), MARVIK_OK);
    }
    void TearDown() override { resetForTests(); }

    void write(std::string_view content) { writeFile(dir_.path() / "marvik.dic", content); }
    int16_t load() { return MarvikLoad(u16(dir_.path().string()).c_str()); }

    TempDir dir_;
    std::u16string custom_;
};

struct DamageCase {
    const char *name;
    std::string content;
    const char *error; // what MarvikLastError must contain
};

std::ostream &operator<<(std::ostream &os, const DamageCase &c) {
    return os << c.name;
}

const std::string kGood = "MARVIK-DICT 1 2 3\n我\t23550\n们\t27220\n我\t10\n们\t5\n我们\t20\nEND\n";

const DamageCase kDamageCases[] = {
    {"EmptyFile", "", "marvik.dic: empty file"},
    {"OnlyTheBom", "\xEF\xBB\xBF", "marvik.dic: empty file"},
    {"WrongMagic", "MARVIK-DICX 1 0 0\nEND\n", "marvik.dic: line 1: not a dictionary"},
    {"OtherVersion", "MARVIK-DICT 2 0 0\nEND\n", "marvik.dic: line 1: unsupported version"},
    {"CountNotANumber", "MARVIK-DICT 1 x 0\nEND\n", "marvik.dic: line 1: bad header"},
    {"MissingCount", "MARVIK-DICT 1 0\nEND\n", "marvik.dic: line 1: bad header"},
    {"ExtraHeaderField", "MARVIK-DICT 1 0 0 0\nEND\n", "marvik.dic: line 1: bad header"},
    {"HugeCount", "MARVIK-DICT 1 99999999999999999999 0\nEND\n", "line 1: bad header"},
    {"FewerCharactersThanCounted", "MARVIK-DICT 1 3 0\n我\t23550\n们\t27220\nEND\n",
     "line 4: END after 2 of 3 characters"},
    {"FewerWordsThanCounted", "MARVIK-DICT 1 1 3\n我\t23550\n我\t10\nEND\n",
     "line 4: END after 1 of 3 words"},
    {"MoreWordsThanCounted", "MARVIK-DICT 1 1 1\n我\t23550\n我\t10\n们\t5\nEND\n",
     "line 4: expected END"},
    {"CharacterCountTooSmall", "MARVIK-DICT 1 1 1\n我\t23550\n们\t27220\n我\t10\nEND\n",
     "line 4: expected END"},
    {"MissingEnd", "MARVIK-DICT 1 1 1\n我\t23550\n我\t10\n", "line 3: missing END"},
    {"TextAfterEnd", kGood + "我\t10\n", "line 8: text after END"},
    {"TruncatedInAFrequency", "MARVIK-DICT 1 1 2\n我\t23550\n我\t10\n我们\t",
     "line 4: the frequency"},
    {"TruncatedInACharacter", "MARVIK-DICT 1 1 1\n我\t23550\n\xE6\x88", "line 3: expected"},
    {"TruncatedAtALineEnd", "MARVIK-DICT 1 2 1\n我\t23550\n", "line 2: unexpected end of file"},
    {"CodeWithLetter", "MARVIK-DICT 1 1 0\n我\t2355x\nEND\n",
     "line 2: the code \"2355x\" is not five digits"},
    {"ShortCode", "MARVIK-DICT 1 1 0\n我\t2355\nEND\n", "line 2: the code"},
    {"LongCode", "MARVIK-DICT 1 1 0\n我\t235500\nEND\n", "line 2: the code"},
    {"TwoCharactersForOneCode", "MARVIK-DICT 1 1 0\n我们\t23550\nEND\n",
     "line 2: expected a single character"},
    {"NoCharacter", "MARVIK-DICT 1 1 0\n\t23550\nEND\n", "line 2: expected a single character"},
    {"CharacterLineWithoutTab", "MARVIK-DICT 1 1 0\n我 23550\nEND\n", "line 2: expected"},
    {"AsciiCharacter", "MARVIK-DICT 1 1 0\na\t23550\nEND\n",
     "line 2: character: not a Chinese character"},
    {"InvalidUtf8Character", "MARVIK-DICT 1 1 0\n\xFF\t23550\nEND\n",
     "line 2: character: invalid UTF-8"},
    {"OverlongUtf8", "MARVIK-DICT 1 1 0\n\xE0\x80\xAF\t23550\nEND\n",
     "line 2: character: invalid UTF-8"},
    {"EncodedSurrogate", "MARVIK-DICT 1 1 0\n\xED\xA0\x80\t23550\nEND\n",
     "line 2: character: invalid UTF-8"},
    {"ZeroFrequency", "MARVIK-DICT 1 1 1\n我\t23550\n我\t0\nEND\n", "line 3: the frequency \"0\""},
    {"NegativeFrequency", "MARVIK-DICT 1 1 1\n我\t23550\n我\t-5\nEND\n", "line 3: the frequency"},
    {"FrequencyWithLetters", "MARVIK-DICT 1 1 1\n我\t23550\n我\t1e5\nEND\n",
     "line 3: the frequency"},
    {"EmptyWord", "MARVIK-DICT 1 1 1\n我\t23550\n\t5\nEND\n", "line 3: empty word"},
    {"WordWithBlank", "MARVIK-DICT 1 1 1\n我\t23550\n我 们\t5\nEND\n",
     "line 3: word: not a Chinese character"},
    {"ExtraField", "MARVIK-DICT 1 1 1\n我\t23550\n我们\t5\t6\nEND\n", "line 3: expected"},
    {"WordLineWithoutTab", "MARVIK-DICT 1 1 1\n我\t23550\n我们\nEND\n", "line 3: expected"},
};

class DamagedDictionaryTest : public DictionaryFileTest,
                              public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedDictionaryTest, IsRejectedWithTheReason) {
    write(GetParam().content);
    EXPECT_EQ(load(), MARVIK_ERR_DICTIONARY);
    EXPECT_THAT(MarvikLastError(), testing::HasSubstr(GetParam().error));
    char16_t tags[4];
    EXPECT_EQ(DivideSentence(u16(dir_.path().string()).c_str(), u"我们", 2, tags, 4),
              MARVIK_ERR_DICTIONARY);
    char16_t code[8];
    EXPECT_EQ(Convert(u"我", code, 8), MARVIK_ERR_DICTIONARY);
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDictionaryTest, testing::ValuesIn(kDamageCases),
                         [](const testing::TestParamInfo<DamageCase> &info) {
                             return std::string(info.param.name);
                         });

struct VariantCase {
    const char *name;
    std::string content;
};

std::ostream &operator<<(std::ostream &os, const VariantCase &c) {
    return os << c.name;
}

// Files that differ from the usual form in ways that lose nothing; each has the words of
// kGood, so 我们 is one word and 我 and 们 have their codes.
const VariantCase kVariantCases[] = {
    {"Usual", kGood},
    {"CrLfLineEnds",
     "MARVIK-DICT 1 2 3\r\n我\t23550\r\n们\t27220\r\n我\t10\r\n们\t5\r\n我们\t20\r\nEND\r\n"},
    {"ByteOrderMark", "\xEF\xBB\xBF" + kGood},
    {"NoLineBreakAfterEnd", kGood.substr(0, kGood.size() - 1)},
    {"EmptyLinesAfterEnd", kGood + "\n\n"},
    {"RepeatedWordAddsUp",
     "MARVIK-DICT 1 2 4\n我\t23550\n们\t27220\n我\t10\n们\t5\n我们\t10\n我们\t10\nEND\n"},
    {"RepeatedCharacterKeepsTheFirstCode",
     "MARVIK-DICT 1 3 3\n我\t23550\n们\t27220\n我\t99999\n我\t10\n们\t5\n我们\t20\nEND\n"},
};

class DictionaryVariantTest : public DictionaryFileTest,
                              public testing::WithParamInterface<VariantCase> {};

TEST_P(DictionaryVariantTest, Loads) {
    write(GetParam().content);
    ASSERT_EQ(load(), MARVIK_OK) << MarvikLastError();
    EXPECT_STREQ(MarvikLastError(), "");
    EXPECT_EQ(tagsOf(u"我们"), "00");
    char16_t code[8];
    EXPECT_EQ(Convert(u"我", code, 8), 5);
    EXPECT_EQ(std::u16string_view(code), u"23550");
    EXPECT_EQ(Convert(u"我们", code, 8), 6);
    EXPECT_EQ(std::u16string_view(code), u"235272");
}

INSTANTIATE_TEST_SUITE_P(Files, DictionaryVariantTest, testing::ValuesIn(kVariantCases),
                         [](const testing::TestParamInfo<VariantCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(DictionaryFileTest, MissingFileIsNotFound) {
    EXPECT_EQ(load(), MARVIK_ERR_DICTIONARY);
    EXPECT_THAT(MarvikLastError(), testing::HasSubstr("marvik.dic: not found"));
    EXPECT_THAT(MarvikLastError(), testing::HasSubstr(dir_.path().string()));
}

TEST_F(DictionaryFileTest, DirectoryInPlaceOfTheFile) {
    fs::create_directories(dir_.path() / "marvik.dic");
    EXPECT_EQ(load(), MARVIK_ERR_DICTIONARY);
    EXPECT_THAT(MarvikLastError(), testing::HasSubstr("not a regular file"));
}

TEST_F(DictionaryFileTest, NullDirectory) {
    EXPECT_EQ(MarvikLoad(nullptr), MARVIK_ERR_DICTIONARY);
    EXPECT_STRNE(MarvikLastError(), "");
}

TEST_F(DictionaryFileTest, FailedLoadIsRetried) {
    write("MARVIK-DICT 1 1 0\n我\t2355\nEND\n");
    ASSERT_EQ(load(), MARVIK_ERR_DICTIONARY);
    write(fixtureDictionary());
    EXPECT_EQ(load(), MARVIK_OK);
    EXPECT_STREQ(MarvikLastError(), "");
}

TEST_F(DictionaryFileTest, TrailingSlashIsOptional) {
    write(fixtureDictionary());
    EXPECT_EQ(MarvikLoad(u16(dir_.path().string() + "/").c_str()), MARVIK_OK) << MarvikLastError();
}

TEST_F(DictionaryFileTest, FirstSuccessfulLoadStays) {
    write(fixtureDictionary());
    ASSERT_EQ(load(), MARVIK_OK);
    // Neither a damaged file nor another directory is looked at any more.
    write("damaged");
    EXPECT_EQ(load(), MARVIK_OK);
    EXPECT_EQ(MarvikLoad(u"/nonexistent"), MARVIK_OK);
    EXPECT_EQ(tagsOf(u"研究生命"), "0011");
}

TEST_F(DictionaryFileTest, ThreadsRacingToLoadShareOneDictionary) {
    write(fixtureDictionary());
    const std::u16string dir = u16(dir_.path().string());
    const std::u16string text = u"研究生命的起源";
    std::atomic<bool> go{false};
    std::vector<std::string> results(6);
    std::vector<int16_t> codes(results.size(), 99);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            std::u16string tags(text.size(), u'x');
            codes[t] = DivideSentence(dir.c_str(), text.data(), int32_t(text.size()), tags.data(),
                                      int32_t(tags.size()));
            results[t] = u8(tags);
        });
    }
    go = true;
    for (std::thread &t : threads)
        t.join();
    for (std::size_t t = 0; t < results.size(); ++t) {
        EXPECT_EQ(codes[t], MARVIK_OK);
        EXPECT_EQ(results[t], "0011011");
    }
}

} // namespace
} // namespace marvik::test
