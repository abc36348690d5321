// The tags walked as runs, the classes counted from the tags, and characters of
// UTF-16 text.
#include "coding/tags.h"
#include "coding/utf16.h"

#include <gtest/gtest.h>

namespace coding {
namespace {

QStringList runs(const QString &tags, qsizetype limit = -1) {
    QStringList out;
    for (const TagRun &run : TagRuns(tags, limit))
        out << QStringLiteral("%1@%2+%3%4")
                   .arg(run.tag)
                   .arg(run.start)
                   .arg(run.length)
                   .arg(run.isWord() ? "w" : "");
    return out;
}

TEST(TagRuns, EqualTagsFormOneRun) {
    struct Case {
        const char *name;
        QString tags;
        qsizetype limit;
        QStringList runs;
    } const cases[] = {
        {"empty", "", -1, {}},
        {"one_tag", "2", -1, {"2@0+1"}},
        {"alternating_words_and_punctuation",
         "0011244",
         -1,
         {"0@0+2w", "1@2+2w", "2@4+1", "4@5+2"}},
        {"a_limit_cuts_the_last_run", "0011", 3, {"0@0+2w", "1@2+1w"}},
        {"a_limit_past_the_end_is_the_end", "01", 9, {"0@0+1w", "1@1+1w"}},
        {"separators", "0031132", -1, {"0@0+2w", "3@2+1", "1@3+2w", "3@5+1", "2@6+1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runs(c.tags, c.limit), c.runs);
    }
}

TEST(ClassCounts, FromTheTagsAlone) {
    EXPECT_EQ(countClasses(""), ClassCounts{});
    EXPECT_EQ(countClasses("0011024"), (ClassCounts{5, 1, 1}));
    EXPECT_EQ(countClasses("22444"), (ClassCounts{0, 2, 3}));
    EXPECT_EQ(countClasses("0011024").total(), 7);
    EXPECT_TRUE(isWordTag(tagChar(Tag::Word1)));
    EXPECT_FALSE(isWordTag(tagChar(Tag::Separator)));
    EXPECT_TRUE(isKnownTag(QChar(u'4')));
    EXPECT_FALSE(isKnownTag(QChar(u'5')));
}

TEST(Utf16, ASurrogatePairIsOneCharacter) {
    const QString s = QString::fromUtf8("我\U00020000a");
    ASSERT_EQ(s.size(), 4);
    EXPECT_EQ(utf16::characterLength(s, 0), 1);
    EXPECT_EQ(utf16::characterLength(s, 1), 2);
    EXPECT_TRUE(utf16::isSecondHalf(s, 2));
    EXPECT_FALSE(utf16::isSecondHalf(s, 1));
    EXPECT_EQ(utf16::previousCharacterStart(s, 3), 1);
    EXPECT_EQ(utf16::previousCharacterStart(s, 1), 0);
    EXPECT_EQ(utf16::characterCount(s), 3);
    EXPECT_TRUE(utf16::isSingleCharacter(s.mid(1, 2)));
    EXPECT_FALSE(utf16::isSingleCharacter(s.left(2)));
    // A lone half counts as a character of its own.
    EXPECT_EQ(utf16::characterLength(s.left(2), 1), 1);
    EXPECT_EQ(utf16::characterCount(s.left(2)), 2);
}

} // namespace
} // namespace coding
