// AddWord, the custom word file and the effect of custom words on segmentation.
#include "test_dictionary.h"

#include "custom_words.h"
#include "internal.h"
#include "marvik/marvik.h"

#include <cstdlib>
#include <optional>

namespace marvik::test {
namespace {

namespace fs = std::filesystem;

struct AddCase {
    const char *name;
    std::u16string code;
    std::u16string word;
    int16_t result;
};

std::ostream &operator<<(std::ostream &os, const AddCase &c) {
    return os << c.name;
}

// The custom file holds 学习机 before every case.
const AddCase kAddCases[] = {
    {"NewWord", u"5133", u"打字通", 0},
    {"NewSupplementaryWord", u"4", u"𠮷我", 0},
    {"SixDigitCode", u"123456", u"打字通", 0},
    {"DictionaryWord", u"235272", u"我们", 1},
    {"DictionarySingleCharacter", u"23550", u"我", 1},
    {"WordOfTheCustomFile", u"3713", u"学习机", 1},
    {"EmptyWord", u"1234", u"", -1},
    {"EmptyCode", u"", u"打字通", -1},
    {"SevenDigitCode", u"1234567", u"打字通", -1},
    {"CodeWithLetter", u"12a4", u"打字通", -1},
    {"CodeWithFullWidthDigit", u"12３4", u"打字通", -1},
    {"WordWithTab", u"1234", u"打字\t通", -1},
    {"WordWithLineBreak", u"1234", u"打字\n通", -1},
    {"WordWithUnpairedSurrogate", u"1234", std::u16string{u'打', char16_t(0xD840)}, -1},
};

class AddWordTest : public LoadedDictionaryTest, public testing::WithParamInterface<AddCase> {
protected:
    void SetUp() override {
        fs::create_directories(customPath().parent_path());
        writeFile(customPath(), "学习机\t3713\n");
        LoadedDictionaryTest::SetUp();
    }
};

TEST_P(AddWordTest, Result) {
    const AddCase &c = GetParam();
    const std::string before = readFile(customPath());
    EXPECT_EQ(AddWord(c.code.c_str(), c.word.c_str()), c.result);
    const std::string after = readFile(customPath());
    if (c.result == 0)
        EXPECT_EQ(after, before + u8(c.word) + "\t" + u8(c.code) + "\n");
    else
        EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Words, AddWordTest, testing::ValuesIn(kAddCases),
                         [](const testing::TestParamInfo<AddCase> &info) {
                             return std::string(info.param.name);
                         });

using CustomWordTest = LoadedDictionaryTest;

TEST_F(CustomWordTest, SecondAddOfTheSameWordIsAlreadyPresent) {
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 0);
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 1);
    EXPECT_EQ(AddWord(u"9999", u"打字通"), 1);
    EXPECT_EQ(readFile(customPath()), "打字通\t5133\n");
}

TEST_F(CustomWordTest, AddedWordChangesTheNextSegmentation) {
    EXPECT_EQ(tagsOf(u"打字通很好"), "00101");
    ASSERT_EQ(AddWord(u"5133", u"打字通"), 0);
    EXPECT_EQ(tagsOf(u"打字通很好"), "00010");
}

TEST_F(CustomWordTest, CustomWordBeatsAPathOfFrequentWords) {
    // 生命 + 的 are frequent words; the custom word 生命的 is preferred all the same.
    EXPECT_EQ(tagsOf(u"研究生命的起源"), "0011011");
    ASSERT_EQ(AddWord(u"2522", u"生命的"), 0);
    EXPECT_EQ(tagsOf(u"研究生命的起源"), "0011100");
}

TEST_F(CustomWordTest, ExactTieGoesToTheLongerWord) {
    // Custom words all score 0: 很好 + 打字 ties with 很好打字.
    ASSERT_EQ(AddWord(u"2747", u"很好"), 0);
    ASSERT_EQ(AddWord(u"5130", u"打字"), 1) << "a dictionary word";
    ASSERT_EQ(AddWord(u"3753", u"字通"), 0);
    ASSERT_EQ(AddWord(u"2453", u"很好字通"), 0);
    EXPECT_EQ(tagsOf(u"很好字通"), "0000");
}

TEST_F(CustomWordTest, CustomWordOfSupplementaryCharacters) {
    EXPECT_EQ(tagsOf(u"我𠀀𠀀"), "01100");
    ASSERT_EQ(AddWord(u"2111", u"我𠀀𠀀"), 0);
    EXPECT_EQ(tagsOf(u"我𠀀𠀀"), "00000");
}

TEST_F(CustomWordTest, ItemCodeOfACustomWordIsItsCustomCode) {
    ASSERT_EQ(AddWord(u"123456", u"打字通"), 0);
    char16_t buf[7];
    EXPECT_EQ(GetItemCode(u"打字通", buf, 6), 6);
    EXPECT_EQ(std::u16string_view(buf, 6), u"123456");
    // Convert proposes the code by the rule all the same.
    EXPECT_EQ(Convert(u"打字通", buf, 7), 6);
    EXPECT_EQ(std::u16string_view(buf, 6), u"513037");
}

TEST_F(CustomWordTest, CustomWordsAreReadAtLoad) {
    ASSERT_EQ(AddWord(u"5133", u"打字通"), 0);
    resetForTests();
    const std::u16string custom = u16(customPath().string());
    ASSERT_EQ(MarvikSetUserDictPath(custom.c_str()), MARVIK_OK);
    ASSERT_EQ(MarvikLoad(dictDir().c_str()), MARVIK_OK);
    EXPECT_EQ(tagsOf(u"打字通很好"), "00010");
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 1);
}

TEST_F(CustomWordTest, UnusableLinesOfTheCustomFileAreSkipped) {
    writeFile(dir_.path() / "other.dic", "打字通\t5133\r\n"
                                         "no tab here\n"
                                         "很好\t12x\n"
                                         "起源了\t1234567\n"
                                         "\t123\n"
                                         "\xc2\x8d\t12\n" // a control character of C1
                                         "好很\t4427");
    const std::u16string other = u16((dir_.path() / "other.dic").string());
    ASSERT_EQ(MarvikSetUserDictPath(other.c_str()), MARVIK_OK);
    EXPECT_EQ(tagsOf(u"打字通"), "000");
    EXPECT_EQ(tagsOf(u"好很"), "00");
    EXPECT_EQ(tagsOf(u"很好"), "01");
    EXPECT_EQ(tagsOf(u"起源了"), "001");
    EXPECT_FALSE(marvik::isUsableCustomWord(u"\u008d"));
    // The new word goes on a line of its own after the last line, which had no line break.
    ASSERT_EQ(AddWord(u"1", u"了了"), 0);
    EXPECT_TRUE(readFile(dir_.path() / "other.dic").ends_with("\n好很\t4427\n了了\t1\n"));
}

TEST_F(CustomWordTest, ChangingTheFileWhileLoadedReadsItAtOnce) {
    ASSERT_EQ(AddWord(u"5133", u"打字通"), 0);
    writeFile(dir_.path() / "other.dic", "很好\t2747\n");
    const std::u16string other = u16((dir_.path() / "other.dic").string());
    ASSERT_EQ(MarvikSetUserDictPath(other.c_str()), MARVIK_OK);
    EXPECT_EQ(tagsOf(u"打字通很好"), "00100");
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 0);
    EXPECT_EQ(AddWord(u"2747", u"很好"), 1);
}

TEST_F(CustomWordTest, DirectoryOfTheFileIsCreated) {
    const fs::path nested = dir_.path() / "a" / "b" / "custom.dic";
    const std::u16string path = u16(nested.string());
    ASSERT_EQ(MarvikSetUserDictPath(path.c_str()), MARVIK_OK);
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 0);
    EXPECT_EQ(readFile(nested), "打字通\t5133\n");
}

struct UnwritableCase {
    const char *name;
    const char *relativePath; // under the test directory; "file" is a regular file
};

std::ostream &operator<<(std::ostream &os, const UnwritableCase &c) {
    return os << c.name;
}

const UnwritableCase kUnwritableCases[] = {
    {"FileIsADirectory", "dir"},
    {"ParentIsARegularFile", "file/custom.dic"},
    {"GrandparentIsARegularFile", "file/sub/custom.dic"},
};

class UnwritableFileTest : public LoadedDictionaryTest,
                           public testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableFileTest, AddWordFailsAndAddsNothing) {
    fs::create_directories(dir_.path() / "dir");
    writeFile(dir_.path() / "file", "");
    const std::u16string path = u16((dir_.path() / GetParam().relativePath).string());
    ASSERT_EQ(MarvikSetUserDictPath(path.c_str()), MARVIK_OK);
    EXPECT_EQ(AddWord(u"5133", u"打字通"), -1);
    EXPECT_EQ(tagsOf(u"打字通很好"), "00101");
    EXPECT_EQ(AddWord(u"5133", u"打字通"), -1) << "a failed word is not remembered";
}

INSTANTIATE_TEST_SUITE_P(Paths, UnwritableFileTest, testing::ValuesIn(kUnwritableCases),
                         [](const testing::TestParamInfo<UnwritableCase> &info) {
                             return std::string(info.param.name);
                         });

// Sets an environment variable for the life of the object (unset: null value).
class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value) : name_(name) {
        if (const char *old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char *name_;
    std::optional<std::string> old_;
};

struct DefaultPathCase {
    const char *name;
    const char *xdgDataHome; // relative to the test directory; null: unset
    const char *expected;    // relative to the test directory
};

std::ostream &operator<<(std::ostream &os, const DefaultPathCase &c) {
    return os << c.name;
}

const DefaultPathCase kDefaultPathCases[] = {
    {"XdgDataHome", "xdg", "xdg/Trevix2006/custom.dic"},
    {"HomeWithoutXdgDataHome", nullptr, "home/.local/share/Trevix2006/custom.dic"},
    {"HomeWhenXdgDataHomeIsEmpty", "", "home/.local/share/Trevix2006/custom.dic"},
};

class DefaultCustomPathTest : public testing::TestWithParam<DefaultPathCase> {
protected:
    void TearDown() override { resetForTests(); }
    TempDir dir_;
};

TEST_P(DefaultCustomPathTest, AddWordWritesTheDefaultFile) {
    const DefaultPathCase &c = GetParam();
    const std::string home = (dir_.path() / "home").string();
    std::string xdg;
    if (c.xdgDataHome && *c.xdgDataHome)
        xdg = (dir_.path() / c.xdgDataHome).string();
    ScopedEnv homeEnv("HOME", home.c_str());
    ScopedEnv xdgEnv("XDG_DATA_HOME", c.xdgDataHome ? xdg.c_str() : nullptr);
    resetForTests();
    writeFile(dir_.path() / "marvik.dic", fixtureDictionary());
    ASSERT_EQ(MarvikLoad(u16(dir_.path().string()).c_str()), MARVIK_OK);
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 0);
    EXPECT_EQ(readFile(dir_.path() / c.expected), "打字通\t5133\n");
}

INSTANTIATE_TEST_SUITE_P(Environments, DefaultCustomPathTest, testing::ValuesIn(kDefaultPathCases),
                         [](const testing::TestParamInfo<DefaultPathCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(CustomWordsBeforeLoadTest, AddedWordIsUsedOnceLoaded) {
    resetForTests();
    TempDir dir;
    const std::u16string custom = u16((dir.path() / "custom.dic").string());
    ASSERT_EQ(MarvikSetUserDictPath(custom.c_str()), MARVIK_OK);
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 0);
    EXPECT_EQ(AddWord(u"5133", u"打字通"), 1);
    writeFile(dir.path() / "marvik.dic", fixtureDictionary());
    const std::u16string dictDir = u16(dir.path().string());
    EXPECT_EQ(tagsOf(u"打字通很好", dictDir), "00010");
    resetForTests();
}

} // namespace
} // namespace marvik::test
