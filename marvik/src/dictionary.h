// The segmentation dictionary "marvik.dic": the standard code of every character and the
// frequency of every word.
//
//   MARVIK-DICT 1 <nchars> <nwords>
//   <char>\t<5-digit code>     (nchars lines)
//   <word>\t<frequency>        (nwords lines)
//   END
#pragma once

#include "trie.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace marvik {

using CharCode = std::array<char, 5>;

class Dictionary {
public:
    // Reads the file at path. On failure returns null and sets error to a message that
    // names the file and, for a damaged file, the line.
    static std::unique_ptr<Dictionary> load(const std::string &path, std::string &error);

    // Parses the contents of a dictionary file; name is used in error messages.
    static std::unique_ptr<Dictionary> parse(std::string_view data, std::string_view name,
                                             std::string &error);

    const Trie &words() const { return words_; }

    // The code of the character cp, or null when it has none.
    const CharCode *charCode(char32_t cp) const {
        const auto it = codes_.find(cp);
        return it == codes_.end() ? nullptr : &it->second;
    }

    // The log-probability of a character that starts no word: that of frequency 1.
    double unknownLogp() const { return unknownLogp_; }

    std::size_t charCount() const { return codes_.size(); }
    std::size_t wordCount() const { return wordCount_; }

private:
    std::unordered_map<char32_t, CharCode> codes_;
    Trie words_;
    std::size_t wordCount_ = 0;
    double unknownLogp_ = 0;
};

} // namespace marvik
