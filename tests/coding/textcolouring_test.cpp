// Colouring the test text and the editor's text by their tags.
#include "coding/codelookup.h"
#include "coding/colorref.h"
#include "coding/tags.h"
#include "coding/textcolouring.h"
#include "teststate.h"
#include "widgets/messages.h"

#include <QFontInfo>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace coding {
namespace {

using fixture::TestState;

void setColours(AppState &s) {
    s.settings.AltColor1 = 0x0000FF;  // red
    s.settings.AltColor2 = 0xFF0000;  // blue
    s.settings.SymColor = 0xFF00FF;   // magenta
    s.settings.AlphaColor = 0x00FFFF; // yellow
}

// Each character as "c:" + its colour (A AltColor1, B AltColor2, S SymColor,
// D AlphaColor, K black, - none) + "u" when it has the hint mark + "k" when its
// font is "楷体_GB2312".
QString describe(const QTextDocument &doc, const AppState &s) {
    const QList<std::pair<qint32, QString>> names = {{s.settings.AltColor1, "A"},
                                                     {s.settings.AltColor2, "B"},
                                                     {s.settings.SymColor, "S"},
                                                     {s.settings.AlphaColor, "D"},
                                                     {0, "K"}};
    QStringList out;
    const QString text = doc.toPlainText();
    QTextCursor cursor(const_cast<QTextDocument *>(&doc));
    for (int p = 0; p < text.size(); ++p) {
        cursor.setPosition(p);
        cursor.setPosition(p + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat f = cursor.charFormat();
        QString colour = "-";
        if (f.hasProperty(QTextFormat::ForegroundBrush)) {
            colour = "?";
            for (const auto &[ref, name] : names) {
                if (f.foreground().color() == colorFromColorRef(ref))
                    colour = name;
            }
        }
        if (hasHintMark(f))
            colour += "u";
        if (f.fontFamilies().toStringList().contains(QString::fromUtf16(kKaiFontName)))
            colour += "k";
        out << text.at(p) + QStringLiteral(":") + colour;
    }
    return out.join(' ');
}

// Gives the characters at the positions marked "u" in marks the hint mark.
void markBefore(QTextDocument &doc, const QString &marks) {
    QTextCursor cursor(&doc);
    for (int p = 0; p < marks.size(); ++p) {
        if (marks.at(p) != 'u')
            continue;
        cursor.setPosition(p);
        cursor.setPosition(p + 1, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        setHintMark(f, true);
        cursor.mergeCharFormat(f);
    }
}

struct Trace {
    QList<int> setup, steps;
    TextProgress progress() {
        return {[this](int lo, int hi) { setup = {lo, hi}; }, [this](int v) { steps << v; }};
    }
};

// The classes the state holds, and those the tags give.
std::array<int, 3> counted(const AppState &s) {
    return {s.text.HzCount, s.text.SymCount, s.text.AlphaCount};
}
std::array<int, 3> classes(const QString &tags) {
    const ClassCounts c = countClasses(tags);
    return {c.HzCount, c.SymCount, c.AlphaCount};
}

TEST(PrepareTestText, ColoursWordsAlternatelyAndMarksShortCodes) {
    TestState t;
    AppState &s = *t.state;
    setColours(s);
    s.settings.NeedFc = s.settings.NeedJmTips = true;
    s.text.SegmentTags = "0011024";
    s.text.HzCount = s.text.SymCount = s.text.AlphaCount = 99;
    QTextDocument doc("我们学习好。a");

    Trace trace;
    const int queries = s.codeDatabase.queryCount();
    ASSERT_TRUE(PrepareTestText(s, doc, trace.progress()));
    EXPECT_EQ(describe(doc, s), "我:A 们:A 学:Bu 习:Bu 好:Au 。:S a:D");
    QTextCursor first(&doc);
    first.setPosition(1);
    EXPECT_EQ(first.charFormat().foreground().color(), QColor(Qt::red)); // AltColor1 = 0x0000FF
    // Colouring only writes formats: the classes come from the tags.
    EXPECT_EQ(counted(s), (std::array{99, 99, 99}));
    EXPECT_EQ(classes(s.text.SegmentTags), (std::array{5, 1, 1}));
    EXPECT_EQ(trace.setup, (QList<int>{1, 7}));
    EXPECT_EQ(trace.steps, (QList<int>{1, 3, 5, 6, 7})); // one step per item
    EXPECT_EQ(s.codeDatabase.queryCount() - queries, 3); // one short-code query per word

    ASSERT_TRUE(PrepareTestText(s, doc));
    EXPECT_EQ(describe(doc, s), "我:A 们:A 学:Bu 习:Bu 好:Au 。:S a:D");
}

// The same text in every mode, with 我们学习 and 。 marked beforehand.
TEST(PrepareTestText, Modes) {
    struct Case {
        const char *name;
        bool needFc, needJmTips;
        QString colours;
        QList<int> steps;
    } const cases[] = {
        {"whole_items", true, true, "我:A 们:A 学:Bu 习:Bu 好:Au 。:Su a:D", {1, 3, 5, 6, 7}},
        {"character_by_character",
         true,
         false,
         "我:Ak 们:Ak 学:Bk 习:Bk 好:A 。:Su a:D",
         {1, 2, 3, 4, 5, 6, 7}},
        {"no_segmentation",
         false,
         true,
         "我:K 们:K 学:K 习:K 好:K 。:K a:K",
         {1, 2, 3, 4, 5, 6, 7}},
        {"no_segmentation_no_tips",
         false,
         false,
         "我:K 们:K 学:K 习:K 好:K 。:K a:K",
         {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestState t;
        AppState &s = *t.state;
        setColours(s);
        s.settings.NeedFc = c.needFc;
        s.settings.NeedJmTips = c.needJmTips;
        s.text.SegmentTags = "0011024";
        QTextDocument doc("我们学习好。a");
        markBefore(doc, "uuuu-u-");

        Trace trace;
        ASSERT_TRUE(PrepareTestText(s, doc, trace.progress()));
        EXPECT_EQ(describe(doc, s), c.colours);
        EXPECT_EQ(classes(s.text.SegmentTags), (std::array{5, 1, 1}));
        EXPECT_EQ(trace.steps, c.steps);
    }
}

// 我们，。！"学习 好: a word, three punctuation characters, a lone quote tagged as a
// word, a word, a separator blank and a word; everything marked beforehand.
TEST(PreparePreSplitText, ItemsOneByOne) {
    const QString text = QStringLiteral("我们，。！\"学习 好");
    const QString tags = QStringLiteral("0022210031");
    struct Case {
        const char *name;
        bool editor, needJmTips;
        QString colours;
        QList<int> steps;
        int queries;
    } const cases[] = {
        {"editor_whole_items",
         true,
         true,
         "我:A 们:A ，:Su 。:Su ！:Su \":B 学:Au 习:Au  :-u 好:Bu",
         {1, 3, 4, 5, 6, 7, 9, 10},
         3},
        {"editor_character_by_character",
         true,
         false,
         "我:A 们:A ，:Su 。:Su ！:Su \":B 学:A 习:A  :-u 好:B",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         0},
        {"test_window_whole_items",
         false,
         true,
         "我:A 们:A ，:Su 。:Su ！:Su \":B 学:Au 习:Au  :-u 好:Bu",
         {1, 3, 6, 7, 9, 10},
         4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestState t;
        AppState &s = *t.state;
        setColours(s);
        s.settings.NeedFc = false; // the editor does not ask
        s.settings.NeedJmTips = c.needJmTips;
        s.text.SegmentTags = tags;
        s.text.HzCount = s.text.SymCount = s.text.AlphaCount = 42;
        QTextDocument doc(text);
        markBefore(doc, QString(text.size(), 'u'));

        Trace trace;
        const int queries = s.codeDatabase.queryCount();
        if (c.editor) {
            ASSERT_TRUE(PreparePreSplitText(s, doc, trace.progress()));
        } else {
            s.settings.NeedFc = true;
            ASSERT_TRUE(PrepareTestText(s, doc, trace.progress()));
            EXPECT_EQ(classes(tags), (std::array{7, 3, 0}));
        }
        EXPECT_EQ(counted(s), (std::array{42, 42, 42}));
        EXPECT_EQ(describe(doc, s), c.colours);
        EXPECT_EQ(trace.steps, c.steps);
        EXPECT_EQ(s.codeDatabase.queryCount() - queries, c.queries);
    }
}

TEST(PrepareText, EmptyTagsLeaveTheViewAlone) {
    TestState t;
    AppState &s = *t.state;
    setColours(s);
    s.settings.NeedFc = s.settings.NeedJmTips = true;
    s.text.SegmentTags.clear();
    QTextDocument doc("我们");
    markBefore(doc, "u-");
    const QString before = describe(doc, s);
    Trace trace;

    EXPECT_TRUE(PrepareTestText(s, doc, trace.progress()));
    EXPECT_TRUE(PreparePreSplitText(s, doc, trace.progress()));
    EXPECT_EQ(classes(s.text.SegmentTags), (std::array{0, 0, 0}));

    EXPECT_EQ(describe(doc, s), before);
    EXPECT_TRUE(trace.setup.isEmpty());
    EXPECT_TRUE(trace.steps.isEmpty());
}

TEST(PrepareText, MissingDatabaseStillColoursAndIsReported) {
    TestState t(TestState::Database::None);
    AppState &s = *t.state;
    setColours(s);
    s.settings.NeedFc = true;
    s.text.SegmentTags = "0011024";

    // Character by character needs no database.
    s.settings.NeedJmTips = false;
    QTextDocument doc("我们学习好。a");
    EXPECT_TRUE(PrepareTestText(s, doc));

    s.settings.NeedJmTips = true;
    markBefore(doc, "uuuuuuu");
    EXPECT_FALSE(PrepareTestText(s, doc));
    EXPECT_EQ(describe(doc, s), "我:A 们:A 学:B 习:B 好:A 。:Su a:Du");
    EXPECT_FALSE(PreparePreSplitText(s, doc));

    widgets::reportCodeDatabaseError(s);
    ASSERT_EQ(t.messages.shown.size(), 1);
    EXPECT_TRUE(t.messages.lastText().contains("jtdb.dat"));
}

TEST(PrepareText, KaiFontStandsInForTheOldFontName) {
    installFontSubstitutes();
    const QStringList substitutes = QFont::substitutes(QString::fromUtf16(kKaiFontName));
    EXPECT_TRUE(substitutes.contains("AR PL UKai CN", Qt::CaseInsensitive))
        << substitutes.join(',').toStdString();
    const QFontInfo info(QFont(QString::fromUtf16(kKaiFontName)));
    EXPECT_TRUE(info.family().contains("UKai")) << info.family().toStdString();
}

} // namespace
} // namespace coding
