#include "custom_words.h"

#include "utf.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace marvik {

bool isUsableCustomWord(std::u16string_view word) {
    if (word.empty())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char16_t u = word[i];
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) // C0, DEL and C1 controls
            return false;
        if (isHighSurrogate(u)) {
            if (i + 1 >= word.size() || !isLowSurrogate(word[i + 1]))
                return false;
            ++i;
        } else if (isLowSurrogate(u)) {
            return false;
        }
    }
    return true;
}

bool isUsableCustomCode(std::u16string_view code) {
    if (code.empty() || code.size() > 6)
        return false;
    for (char16_t u : code) {
        if (u < u'0' || u > u'9')
            return false;
    }
    return true;
}

void CustomWords::clear() {
    words_.clear();
    trie_ = Trie();
}

void CustomWords::read(const std::string &path) {
    words_.clear();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::u16string word;
    std::u16string code;
    while (in && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        if (!utf8ToUtf16(std::string_view(line).substr(0, tab), word) ||
            !utf8ToUtf16(std::string_view(line).substr(tab + 1), code))
            continue;
        if (!isUsableCustomWord(word) || !isUsableCustomCode(code))
            continue;
        words_.emplace(word, std::string(code.begin(), code.end()));
    }
    rebuildTrie();
}

bool CustomWords::append(const std::string &path, const std::u16string &word,
                         const std::string &code) {
    std::string utf8;
    if (!utf16ToUtf8(word, utf8))
        return false;
    std::error_code ec;
    const std::filesystem::path file(path);
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec)
            return false;
    }
    std::FILE *f = std::fopen(path.c_str(), "a+b");
    if (!f)
        return false;
    // Start on a line of our own when the file does not end in a line break.
    std::string line;
    if (std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) > 0 && std::fseek(f, -1, SEEK_END) == 0 &&
        std::fgetc(f) != '\n')
        line.push_back('\n');
    line += utf8;
    line.push_back('\t');
    line += code;
    line.push_back('\n');
    bool ok = std::fseek(f, 0, SEEK_END) == 0 &&
              std::fwrite(line.data(), 1, line.size(), f) == line.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        return false;
    insert(word, code);
    return true;
}

void CustomWords::insert(std::u16string word, std::string code) {
    words_.emplace(std::move(word), std::move(code));
    rebuildTrie();
}

void CustomWords::rebuildTrie() {
    std::vector<char16_t> pool;
    std::vector<Trie::Entry> entries;
    entries.reserve(words_.size());
    for (const auto &[word, code] : words_) {
        entries.push_back({static_cast<std::uint32_t>(pool.size()),
                           static_cast<std::uint32_t>(word.size()), 0.0});
        pool.insert(pool.end(), word.begin(), word.end());
    }
    // The map keeps the words in unit order, as the trie needs.
    trie_.build(pool.data(), entries);
}

} // namespace marvik
