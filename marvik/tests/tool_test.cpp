// The trevix-seg command-line tool, run as a separate process.
#include "test_dictionary.h"

#include <cstdlib>
#include <sys/wait.h>

namespace marvik::test {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ToolTest : public testing::Test {
protected:
    void SetUp() override { writeFile(dir_.path() / "marvik.dic", fixtureDictionary()); }

    // Runs tool with args (already quoted for the shell) on input.
    ToolRun run(const std::string &args, std::string_view input,
                const fs::path &tool = TREVIX_SEG_PATH) {
        writeFile(dir_.path() / "in.txt", input);
        const fs::path out = dir_.path() / "out.txt";
        const fs::path err = dir_.path() / "err.txt";
        const std::string command = "'" + tool.string() + "' " + args + " < '" +
                                    (dir_.path() / "in.txt").string() + "' > '" + out.string() +
                                    "' 2> '" + err.string() + "'";
        const int status = std::system(command.c_str());
        ToolRun r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = readFile(out);
        r.err = readFile(err);
        return r;
    }

    std::string dictArg() const { return "--dict '" + dir_.path().string() + "'"; }

    TempDir dir_;
};

struct ToolCase {
    const char *name;
    bool tags;
    std::string input;
    std::string output;
};

std::ostream &operator<<(std::ostream &os, const ToolCase &c) {
    return os << c.name;
}

std::string gbk(std::string_view text) {
    return encoded("GBK", text);
}
std::string utf16le(std::string_view text) {
    return encoded("UTF-16LE", text);
}
std::string utf16be(std::string_view text) {
    return encoded("UTF-16BE", text);
}

const ToolCase kToolCases[] = {
    {"Words", false, "研究生命的起源\n", "研究 生命 的 起源\n"},
    {"BlanksAreDropped", false, "我们，学习  abc １２\t好\n", "我们 ， 学习 abc １２ 好\n"},
    // Every mark is an item; an ellipsis or a dash stays one; letters and digits, and
    // other scripts, stay whole.
    {"EachPunctuationMarkIsAnItem", false, "好！？ 好（）（说。”\n",
     "好 ！ ？ 好 （ ） （ 说 。 ”\n"},
    {"EllipsisAndDashAreOneMark", false, "好……好——好\n", "好 …… 好 —— 好\n"},
    {"SymbolsAndEmojiAreItems", false, "好+-%😀€\n", "好 + - % 😀 €\n"},
    {"LettersOfOtherScriptsStayTogether", false, "说привет，abc12好\n", "说 привет ， abc12 好\n"},
    {"IdeographicSpaceIsABlank", false, "我们\u3000学习\n", "我们 学习\n"},
    {"OneLinePerLine", false, "我们\n\n学习\n", "我们\n\n学习\n"},
    {"CrLfLineEnds", false, "我们\r\n学习\r\n", "我们\n学习\n"},
    {"LastLineWithoutLineBreak", false, "我们\n学习", "我们\n学习\n"},
    {"Utf8ByteOrderMarkIsNoText", true, "\xEF\xBB\xBF我的\n", "01\n"},
    // The encoding is judged from the first 64 KB from the first byte that is not ASCII on;
    // what does not decode after them becomes U+FFFD.
    {"InvalidUtf8AfterTheJudgedPartBecomesReplacementCharacter", false,
     "我" + std::string(70000, ' ') + "\xFF们\n", "我 \uFFFD 们\n"},
    // Input as the program reads a text file, output in UTF-8.
    {"Gbk", false, gbk("研究生命的起源\r\n我们\r\n"), "研究 生命 的 起源\n我们\n"},
    {"GbkTags", true, gbk("我的\n"), "01\n"},
    {"GbkAfterALongAsciiStart", false, std::string(70000, ' ') + gbk("研究生命\n"), "研究 生命\n"},
    {"GbkUndecodableByteBecomesReplacementCharacter", false, gbk("我们") + "\xFF" + gbk("学习\n"),
     "我们 \uFFFD 学习\n"},
    {"Utf16LeWithByteOrderMark", false, "\xFF\xFE" + utf16le("研究生命的起源\r\n我们\r\n"),
     "研究 生命 的 起源\n我们\n"},
    {"Utf16BeWithByteOrderMark", true, "\xFE\xFF" + utf16be("我的\n𠮷我\n"), "01\n001\n"},
    {"Utf16LeWithoutByteOrderMark", false, utf16le("研究生命的起源\n"), "研究 生命 的 起源\n"},
    {"Utf16BeWithoutByteOrderMark", false, utf16be("研究生命的起源\r\n"), "研究 生命 的 起源\n"},
    {"Utf16PairSplitBetweenTwoReads", false, utf16le(std::string(32767, ' ') + "𠮷𠀀我\n"),
     "𠮷𠀀 我\n"},
    {"Utf16UnpairedSurrogateBecomesReplacementCharacter", false,
     "\xFF\xFE" + utf16le("我们") + std::string("\x00\xDC", 2) + utf16le("学习\n"),
     "我们 \uFFFD 学习\n"},
    // Traditional Chinese in Big5 (the same characters in both scripts here).
    {"Big5", false, encoded("BIG5", "研究生命的起源\n研究生命的起源\n"),
     "研究 生命 的 起源\n研究 生命 的 起源\n"},
    {"SupplementaryCharacters", false, "𠮷𠀀我\n", "𠮷𠀀 我\n"},
    {"NoInput", false, "", ""},
    {"Tags", true, "我们, ab\n", "002244\n"},
    {"TagsPerUtf16Unit", true, "𠮷𠀀我１\n", "000014\n"},
    {"TagsWithCrLf", true, "我的\r\n", "01\n"},
};

class ToolOutputTest : public ToolTest, public testing::WithParamInterface<ToolCase> {};

TEST_P(ToolOutputTest, WritesOneLinePerInputLine) {
    const ToolRun r = run(dictArg() + (GetParam().tags ? " --tags" : ""), GetParam().input);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ToolOutputTest, testing::ValuesIn(kToolCases),
                         [](const testing::TestParamInfo<ToolCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(ToolTest, DictionaryDefaultsToTheProgramsDirectory) {
    const fs::path copy = dir_.path() / "trevix-seg";
    fs::copy_file(TREVIX_SEG_PATH, copy);
    const ToolRun r = run("", "研究生命\n", copy);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "研究 生命\n");
}

// Sets an environment variable for the tool runs of one test.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::string &value) : name_(name) {
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *name_;
};

TEST_F(ToolTest, WithoutADictionaryBesideItTheToolReadsTheDataDirectoryNamed) {
    // An installed tool: the program in bin/, its dictionary in the data directory.
    fs::create_directories(dir_.path() / "bin");
    const fs::path copy = dir_.path() / "bin" / "trevix-seg";
    fs::copy_file(TREVIX_SEG_PATH, copy);
    {
        const ScopedEnv env("TREVIX_DATA_DIR", dir_.path().string());
        const ToolRun r = run("", "研究生命\n", copy);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "研究 生命\n");
    }
    const ScopedEnv env("TREVIX_DATA_DIR", (dir_.path() / "bin").string());
    const ToolRun r = run("", "研究生命\n", copy);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_THAT(r.err, testing::HasSubstr("not found"));
}

TEST_F(ToolTest, TheDictionaryBesideTheToolComesBeforeTheDataDirectory) {
    const fs::path copy = dir_.path() / "trevix-seg";
    fs::copy_file(TREVIX_SEG_PATH, copy);
    fs::create_directories(dir_.path() / "data");
    writeFile(dir_.path() / "data" / "marvik.dic", "MARVIK-DICT 1 1 0\n我\t2355\nEND\n");
    const ScopedEnv env("TREVIX_DATA_DIR", (dir_.path() / "data").string());
    const ToolRun r = run("", "研究生命\n", copy);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "研究 生命\n");
}

TEST_F(ToolTest, MissingDictionaryExitsWithTwo) {
    const ToolRun r = run("--dict '" + (dir_.path() / "none").string() + "'", "我们\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_THAT(r.err, testing::HasSubstr("not found"));
    EXPECT_EQ(r.out, "");
}

TEST_F(ToolTest, DamagedDictionaryExitsWithTwo) {
    writeFile(dir_.path() / "marvik.dic", "MARVIK-DICT 1 1 0\n我\t2355\nEND\n");
    const ToolRun r = run(dictArg(), "我们\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_THAT(r.err, testing::HasSubstr("line 2"));
}

TEST_F(ToolTest, Help) {
    const ToolRun r = run("--help", "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_THAT(r.out, testing::HasSubstr("Usage: trevix-seg"));
}

TEST_F(ToolTest, UnknownArgument) {
    const ToolRun r = run("--frobnicate", "");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, testing::HasSubstr("--frobnicate"));
}

} // namespace
} // namespace marvik::test
