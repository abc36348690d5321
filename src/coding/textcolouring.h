#pragma once

#include <QString>

#include <functional>

class QTextCharFormat;
class QTextDocument;

namespace coding {

struct AppState;

// Drives a progress bar while a text is coloured: setup(1, N) once, then
// step(position) as the colouring advances (1-based). Either may be empty.
struct TextProgress {
    std::function<void(int minimum, int maximum)> setup;
    std::function<void(int value)> step;
};

// The font that character-by-character colouring gives to characters that lose
// their hint mark; installFontSubstitutes() maps it onto a Kai font.
inline constexpr char16_t kKaiFontName[] = u"楷体_GB2312";

// Registers the Kai font that stands in for "楷体_GB2312". Called once by main().
void installFontSubstitutes();

// The hint mark of a word that has a short code is underlining. (The typing check
// marks its current character with bold and italic instead.)
bool hasHintMark(const QTextCharFormat &format);
void setHintMark(QTextCharFormat &format, bool on);

// Colours the test text in doc (the test window's view) by state.text.SegmentTags.
// It only writes formats: the character classes are counted from the tags
// (coding::countClasses, AppState::setText).
//  - NeedFc off: the whole text black, no hint marks.
//  - NeedFc and NeedJmTips on: word by word, AltColor1 for tag "0", AltColor2 for
//    "1", the hint mark on words that have a short code (jmzici) and off on the
//    others; SymColor for punctuation ("2"), AlphaColor for letters and digits ("4").
//  - NeedJmTips off: the same colours character by character; a character that had
//    the hint mark loses it and takes the font "楷体_GB2312".
// Returns false when the short codes could not be read (the database failed): the
// text is coloured all the same, without hint marks, and widgets::reportCodeDatabaseError()
// tells the user. The view's selection
// is the caller's (the original put it back at 0).
bool PrepareTestText(AppState &state, QTextDocument &doc, const TextProgress &progress = {});

// Colours the segmentation editor's text in doc by state.text.SegmentTags, always by tags:
// as PrepareTestText with NeedFc on, except that every punctuation character is an
// item of its own, a word that is a lone quote is not looked up, separator blanks
// (tag "3") are left as they are and character-by-character mode only takes the hint
// mark away. Returns false as PrepareTestText does.
bool PreparePreSplitText(AppState &state, QTextDocument &doc, const TextProgress &progress = {});

} // namespace coding
