// Preparing a segmented text: widening, the middle dot, the filters, "[", and the
// separators of the segmentation editor.
#include "prepare/textpreparation.h"

#include "support/fakelibrary.h"

#include <gtest/gtest.h>

using prepare::PreparedText;
using prepare::PrepareOptions;

namespace {

TEST(ToFullWidth, MapsAsciiAndTheBlankOnly) {
    EXPECT_EQ(prepare::toFullWidth(QStringLiteral("!,.[~ aZ0")),
              QStringLiteral("！，．［～　ａＺ０"));
    EXPECT_EQ(prepare::toFullWidth(QStringLiteral("中·，\t")), QStringLiteral("中·，\t"));
}

struct PrepareCase {
    const char *name;
    const char *text, *tags;
    bool filterSymbols, filterAlphaNum;
    QStringList symbols;
    const char *outText, *outTags;
};

class PrepareText : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareText, Case) {
    const PrepareCase &c = GetParam();
    PrepareOptions options;
    options.filterSymbols = c.filterSymbols;
    options.filterAlphaNum = c.filterAlphaNum;
    options.symbols = c.symbols;
    const PreparedText out =
        prepare::prepareText(QString::fromUtf8(c.text), QString::fromUtf8(c.tags), options);
    EXPECT_EQ(out.text, QString::fromUtf8(c.outText));
    EXPECT_EQ(out.tags, QString::fromUtf8(c.outTags));
}

INSTANTIATE_TEST_SUITE_P(
    , PrepareText,
    ::testing::Values(
        PrepareCase{"punctuation_widened_letters_not",
                    "我们,ab。",
                    "002442",
                    false,
                    false,
                    {},
                    "我们，ab。",
                    "002442"},
        PrepareCase{"widened_wherever_it_occurs", "!我!", "200", false, false, {}, "！我！", "200"},
        PrepareCase{
            "bracket_kept_without_filters", "我[们", "000", false, false, {}, "我[们", "000"},
        PrepareCase{
            "bracket_wide_with_symbol_filter", "我[们", "000", true, false, {}, "我［们", "000"},
        PrepareCase{
            "bracket_wide_with_letter_filter", "我[们", "000", false, true, {}, "我［们", "000"},
        PrepareCase{"narrow_symbol_removes_wide_form",
                    "我们，学习。",
                    "002112",
                    true,
                    false,
                    {QStringLiteral(",")},
                    "我们学习。",
                    "00112"},
        PrepareCase{"every_occurrence_removed",
                    "甲，乙，丙",
                    "02120",
                    true,
                    false,
                    {QStringLiteral("，"), QStringLiteral("?")},
                    "甲乙丙",
                    "010"},
        PrepareCase{"middle_dot_becomes_stop_and_stays",
                    "我·你",
                    "020",
                    true,
                    false,
                    {QStringLiteral("·"), QStringLiteral(".")},
                    "我.你",
                    "020"},
        PrepareCase{"symbols_only_under_tag_2",
                    "我们",
                    "00",
                    true,
                    false,
                    {QStringLiteral("我")},
                    "我们",
                    "00"},
        PrepareCase{"symbol_comparison_keeps_case",
                    "ａ我",
                    "20",
                    true,
                    false,
                    {QStringLiteral("A")},
                    "ａ我",
                    "20"},
        PrepareCase{"two_character_symbol",
                    "我——你—",
                    "02202",
                    true,
                    false,
                    {QStringLiteral("——")},
                    "我你—",
                    "002"},
        PrepareCase{"symbols_sharing_a_first_character_and_duplicates",
                    "我——你—。…",
                    "0220222",
                    true,
                    false,
                    {QStringLiteral("—"), QStringLiteral("——"), QStringLiteral("—"),
                     QStringLiteral("…"), QStringLiteral("…")},
                    "我你。",
                    "002"},
        PrepareCase{"empty_symbol_matches_nothing",
                    "我，你",
                    "020",
                    true,
                    false,
                    {QString()},
                    "我，你",
                    "020"},
        PrepareCase{"letters_filtered", "Windows系统", "444444400", false, true, {}, "系统", "00"},
        PrepareCase{"letters_kept_with_symbol_filter_only",
                    "Windows系统",
                    "444444400",
                    true,
                    false,
                    {},
                    "Windows系统",
                    "444444400"},
        PrepareCase{
            "both_filters", "A，我1", "4204", true, true, {QStringLiteral(",")}, "我", "0"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(InsertSeparators, PutsABlankWhereTheTagChanges) {
    struct Case {
        const char *name, *text, *tags, *outText, *outTags;
    } const cases[] = {
        {"editor_example", "我们学习。", "00112", "我们 学习 。", "0031132"},
        {"one_tag_no_separator", "我们学习", "0000", "我们学习", "0000"},
        {"every_change", "我a你", "040", "我 a 你", "03430"},
        {"single_character", "我", "0", "我", "0"},
        {"empty", "", "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PreparedText out =
            prepare::insertSeparators({QString::fromUtf8(c.text), QString::fromUtf8(c.tags)});
        EXPECT_EQ(out.text, QString::fromUtf8(c.outText));
        EXPECT_EQ(out.tags, QString::fromUtf8(c.outTags));
    }
}

TEST(SegmentAndPrepare, UsesTheLibraryTagsAndReportsItsFailures) {
    coding::FakeLibrary library;
    const QString text = QStringLiteral("Windows系统，好");
    library.tagsFor.insert(text, QStringLiteral("44444440020"));
    PrepareOptions options;
    options.filterAlphaNum = true;
    coding::LibraryError error;
    const auto prepared = prepare::segmentAndPrepare(library, text, options, &error);
    ASSERT_TRUE(prepared);
    EXPECT_EQ(*prepared, (PreparedText{QStringLiteral("系统，好"), QStringLiteral("0020")}));

    library.tagsFor.insert(text, QStringLiteral("000"));
    EXPECT_FALSE(prepare::segmentAndPrepare(library, text, options, &error));
    EXPECT_EQ(error.kind, coding::LibraryError::Kind::Mismatch);

    library.loadError = QStringLiteral("词库已损坏");
    EXPECT_FALSE(prepare::segmentAndPrepare(library, text, options, &error));
    EXPECT_EQ(error.kind, coding::LibraryError::Kind::DictionaryUnusable);
    EXPECT_EQ(error.detail, QStringLiteral("词库已损坏"));
}

} // namespace
