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
    switch (n) {
    case 0:
        return {};
    case 1:
        return std::string(codes[0]->begin(), codes[0]->end());
    case 2:
        return {(*codes[0])[0], (*codes[0])[1], (*codes[1])[0], (*codes[1])[1]};
    case 3:
        return {(*codes[0])[0], (*codes[1])[0], (*codes[2])[0], (*codes[2])[1]};
    default:
        return {(*codes[0])[0], (*codes[1])[0], (*codes[2])[0], (*codes[n - 1])[0]};
    }
}

} // namespace marvik
