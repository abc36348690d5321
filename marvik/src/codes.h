// The code rule: the standard code of a word from the 5-digit codes of its characters.
#pragma once

#include <string>
#include <string_view>

namespace marvik {

class Dictionary;

// The code of word: one character gives its own 5 digits; a word 6 digits: two characters
// the first three digits of each; three the first two of each; four or more the first
// digit of the first and second character and the first two of the third and the last.
// Empty when the word is empty or one of its characters has no code.
std::string wordCode(const Dictionary &dict, std::u16string_view word);

} // namespace marvik
