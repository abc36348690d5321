// A small dictionary for the library's tests, temporary directories and conversions.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace marvik::test {

std::u16string u16(std::string_view utf8);
std::string u8(std::u16string_view utf16);
// utf8 in the named encoding ("GBK", "BIG5", "UTF-16LE", ...), converted by iconv; throws
// when it cannot be converted.
std::string encoded(const char *encoding, std::string_view utf8);

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path &path, std::string_view content);
std::string readFile(const std::filesystem::path &path);

struct CharLine {
    const char *character;
    const char *code;
};
struct WordLine {
    const char *word;
    long frequency;
};

// The text of a dictionary file with the given characters and words.
std::string makeDictionary(std::span<const CharLine> chars, std::span<const WordLine> words);

// The test dictionary: characters with made-up codes and words whose frequencies make the
// most probable segmentation differ from the longest match in places.
std::string fixtureDictionary();

// Calls DivideSentence on text and gives the tags as ASCII; fails the test on an error.
std::string tagsOf(std::u16string_view text, const std::u16string &dictDir = u"/nonexistent");

// A test with the fixture dictionary loaded from a directory of its own and a custom word
// file (not yet created) in that directory.
class LoadedDictionaryTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path customPath() const { return dir_.path() / "user" / "custom.dic"; }
    std::u16string dictDir() const { return u16(dir_.path().string()); }

    TempDir dir_;
};

} // namespace marvik::test
