#pragma once

#include <QString>

namespace coding {

// What went wrong with the segmentation library; the windows tell the user
// (widgets::libraryMessage).
struct LibraryError {
    enum class Kind {
        None,
        NoLibrary,          // the program has no library to ask
        DictionaryUnusable, // the dictionary is missing or damaged
        SegmentationFailed, // DivideSentence answered with an error code
        Mismatch,           // the tags do not fit the text (not one per unit)
    };
    Kind kind = Kind::None;
    QString path;   // the dictionary, when it is the trouble
    QString detail; // what the library said, if anything
    int code = 0;   // the library's result code, for SegmentationFailed

    bool isError() const { return kind != Kind::None; }
};

// How the program reaches the segmentation library: segmentation tags, codes,
// proposed custom codes and custom words. One tag per UTF-16 unit of the text.
class SegmentationLibrary {
public:
    virtual ~SegmentationLibrary() = default;

    // Loads the dictionary if that has not happened yet. On failure returns false
    // and sets error (when given).
    virtual bool ensureLoaded(LibraryError *error) = 0;

    // The tag string of text ("0"/"1" words, "2" punctuation, "4" letters and
    // digits), exactly text.size() tags. On failure returns a null string and
    // sets error (when given).
    virtual QString divideSentence(const QString &text, LibraryError *error) = 0;

    // The proposed numeric custom code of word (at most 6 digits), or empty.
    virtual QString convert(const QString &word) = 0;

    // Adds a custom word: 0 added, 1 already present, -1 the custom dictionary
    // cannot be opened or written.
    virtual int addWord(const QString &code, const QString &word) = 0;

    // The standard code of a character or word, or an empty string when the
    // library has none.
    virtual QString getItemCode(const QString &item) = 0;

    // The file that keeps the custom words addWord adds, or empty when the
    // library keeps them nowhere the program can read.
    virtual QString customWordFile() const { return {}; }
};

} // namespace coding
