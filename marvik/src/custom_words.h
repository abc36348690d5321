// The user's custom words: a text file of "<word>\t<code>" lines (UTF-8) that the user
// grows with AddWord. Custom words are preferred in segmentation: their log-probability
// is 0, as if each had the frequency of the whole dictionary.
#pragma once

#include "trie.h"

#include <map>
#include <string>
#include <string_view>

namespace marvik {

// A word that can be stored in the custom file: not empty, no control characters (tabs
// and line breaks included) and no unpaired surrogates.
bool isUsableCustomWord(std::u16string_view word);

// A code of 1 to 6 ASCII digits.
bool isUsableCustomCode(std::u16string_view code);

class CustomWords {
public:
    // Replaces the words by those of the file at path. A missing or unreadable file gives
    // no words; lines that are not "<word>\t<code>" are skipped; the first line of a word wins.
    void read(const std::string &path);

    // Appends "<word>\t<code>" to the file at path, creating its directory when needed, and
    // adds the word. False when the file cannot be written (nothing is added then).
    bool append(const std::string &path, const std::u16string &word, const std::string &code);

    void clear();

    // The code of word, or null when it is not a custom word.
    const std::string *code(std::u16string_view word) const {
        const auto it = words_.find(word);
        return it == words_.end() ? nullptr : &it->second;
    }

    bool empty() const { return words_.empty(); }
    std::size_t size() const { return words_.size(); }
    const Trie &trie() const { return trie_; }

private:
    void insert(std::u16string word, std::string code);
    void rebuildTrie();

    std::map<std::u16string, std::string, std::less<>> words_;
    Trie trie_;
};

} // namespace marvik
