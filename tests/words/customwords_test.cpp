// The items of a segmentation result file and the words of the editor's hand-over.
#include "words/customwords.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace words {
namespace {

TEST(ListItems, ReadsAsAListInputDoes) {
    struct Case {
        const char *name;
        QByteArray content;
        QStringList items;
    } const cases[] = {
        {"a_word_list", "\"好\"\r\n\"学习\"\r\n\"我们\"\r\n", {"好", "学习", "我们"}},
        {"commas_split_a_line", "我们,学习 , 好\r\n", {"我们", "学习", "好"}},
        {"a_comma_inside_quotes", "\"a,b\",c\n", {"a,b", "c"}},
        {"blanks_around_unquoted", "  ab  \t\nc", {"ab", "c"}},
        {"a_trailing_comma", "a,\r\nb", {"a", "", "b"}},
        {"an_unclosed_quote", "\"ab", {"ab"}},
        {"an_empty_file", "", {}},
        {"utf8_is_recognised", QByteArray("\xe6\x88\x91\xe4\xbb\xac\n"), {"我们"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(listItems(c.content), c.items);
    }
    // The program's own files are GB18030.
    QStringEncoder gb("GB18030");
    EXPECT_EQ(listItems(gb(QStringLiteral("\"学习\"\r\n\"文化\"\r\n"))),
              (QStringList{"学习", "文化"}));
    EXPECT_EQ(resultText({"学习", "文化"}), QStringLiteral(" 学习 文化"));
}

TEST(HandOverWords, DistinctWordsWithoutTheLastPiece) {
    struct Case {
        const char *name;
        QString handOver;
        QStringList words;
    } const cases[] = {
        {"words_each_with_a_blank", "我们 学习 ", {"我们", "学习"}},
        {"a_duplicate_in_another_case", "Word 学习 WORD word ", {"Word", "学习"}},
        {"without_a_final_blank_the_last_is_lost", "我们 学习", {"我们"}},
        {"empty", "", {}},
        {"double_blanks", "我们  学习 ", {"我们", "学习"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(handOverWords(c.handOver), c.words);
    }
}

} // namespace
} // namespace words
