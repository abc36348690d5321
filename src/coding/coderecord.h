#pragma once

#include <QString>

namespace coding {

// One entry of the character table or the word table: a character or a word, how
// often it occurs in the text, its standard code and its short code (both digit
// strings, empty when there is none).
struct CodeRecord {
    QString text;
    int count = 0;
    QString stdCode;
    QString shortCode;

    friend bool operator==(const CodeRecord &, const CodeRecord &) = default;
};

} // namespace coding
