// The tags that the segmentation editor saves for the words on its screen.
#include "prepare/editedsegmentation.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QStringList>

using prepare::segmentationForSave;

namespace {

// The standard codes of the worked example: 学习, 汉语 and the characters 我, 学,
// 汉, 打 have codes; 我们, 。, ， have none.
const QHash<QString, QString> kCodes = {
    {QStringLiteral("学习"), QStringLiteral("324171")},
    {QStringLiteral("汉语"), QStringLiteral("341201")},
    {QStringLiteral("我"), QStringLiteral("23550")},
    {QStringLiteral("学"), QStringLiteral("32407")},
    {QStringLiteral("汉"), QStringLiteral("34140")},
    {QStringLiteral("打"), QStringLiteral("51020")},
    {QStringLiteral("𠀀"), QStringLiteral("10000")},
};

struct SaveCase {
    const char *name;
    const char16_t *edited;
    const char16_t *text;
    const char16_t *tags;
    const char16_t *noCodeWords;
};

class SaveTags : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveTags, WordsOfTheScreenGiveTheTags) {
    const SaveCase &c = GetParam();
    QStringList asked;
    const auto saved = segmentationForSave(QString::fromUtf16(c.edited), [&](const QString &item) {
        asked << item;
        return std::optional<QString>(kCodes.value(item));
    });
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->text, QString::fromUtf16(c.text));
    EXPECT_EQ(saved->tags, QString::fromUtf16(c.tags));
    EXPECT_EQ(saved->noCodeWords, QString::fromUtf16(c.noCodeWords));
    EXPECT_EQ(saved->tags.size(), saved->text.size());
}

INSTANTIATE_TEST_SUITE_P(
    Editor, SaveTags,
    ::testing::Values(
        SaveCase{"WorkedExample", u"我们 学习 汉语 。 2006年", u"我们学习汉语。2006年",
                 u"001100244444", u"我们 "},
        // Neighbouring blanks and blanks at either end make no words.
        SaveCase{"SeveralBlanks", u"  学习   汉语  ", u"学习汉语", u"0011", u""},
        // Only the first character decides a word of letters and digits.
        SaveCase{"LettersFirst", u"3D打印 学习", u"3D打印学习", u"444411", u""},
        // A punctuation word is "2" and no word for the custom list; the word
        // after it counts on from it.
        SaveCase{"Punctuation", u"学习 ， 汉语 ， 我们", u"学习，汉语，我们", u"00211211",
                 u"我们 "},
        // A word of which neither it nor its first character has a code is "2"
        // however long it is.
        SaveCase{"NoCodeAtAll", u"学习 ！？", u"学习！？", u"0022", u""},
        // Full-width letters and digits are letters and digits, as the library has them.
        SaveCase{"FullWidthLetters", u"学习 ＡＢ 汉语", u"学习ＡＢ汉语", u"004411", u""},
        // A line break or tab typed into the text separates as a blank does.
        SaveCase{"LineBreak", u"学习\n汉语\t学习", u"学习汉语学习", u"001100", u""},
        // A character beyond the BMP is one character: its pair is looked up whole.
        SaveCase{"SurrogatePair", u"𠀀们 学习", u"𠀀们学习", u"00011", u"𠀀们 "},
        SaveCase{"Empty", u"   ", u"", u"", u""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SaveTagsLookups, TheFirstCharacterIsAskedOnlyWhenTheWordHasNoCode) {
    QStringList asked;
    segmentationForSave(QStringLiteral("学习 我们 A1"), [&](const QString &item) {
        asked << item;
        return std::optional<QString>(kCodes.value(item));
    });
    EXPECT_EQ(asked,
              (QStringList{QStringLiteral("学习"), QStringLiteral("我们"), QStringLiteral("我")}));
}

TEST(SaveTagsLookups, AFailingDatabaseGivesNoTags) {
    int calls = 0;
    const auto saved = segmentationForSave(QStringLiteral("学习 汉语"), [&](const QString &) {
        ++calls;
        return calls == 2 ? std::nullopt : std::optional<QString>(QStringLiteral("1"));
    });
    EXPECT_FALSE(saved);
}

} // namespace
