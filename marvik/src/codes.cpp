#include "codes.h"

#include "dictionary.h"
#include "utf.h"

#include <vector>

namespace marvik {

std::string wordCode(const Dictionary &dict, std::u16string_view word) {
    std::vector<const CharCode *> codes;
    codes.reserve(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) {
        char32_t cp = word[i];
        if (isHighSurrogate(word[i]) && i + 1 < word.size() && isLowSurrogate(word[i + 1])) {
            cp = combineSurrogates(word[i], word[i + 1]);
            ++i;
        } else if (isHighSurrogate(word[i]) || isLowSurrogate(word[i])) {
            return {};
        }
        const CharCode *code = dict.charCode(cp);
        if (!code)
            return {};
        codes.push_back(code);
    }
    const std::size_t n = codes.size();
    // The first count digits of the code of the character at i.
    const auto head = [&codes](std::size_t i, std::size_t count) {
        return std::string(codes[i]->begin(), codes[i]->begin() + count);
    };
    switch (n) {
    case 0:
        return {};
    case 1:
        return head(0, codes[0]->size());
    case 2:
        return head(0, 3) + head(1, 3);
    case 3:
        return head(0, 2) + head(1, 2) + head(2, 2);
    default:
        return head(0, 1) + head(1, 1) + head(2, 2) + head(n - 1, 2);
    }
}

} // namespace marvik
