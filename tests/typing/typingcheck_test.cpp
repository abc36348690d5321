// The typing check over a text document: colours, counts, bursts, the current
// character's mark and the moves, with a clock that the test sets.
#include "typing/typingcheck.h"

#include "coding/colorref.h"
#include "support/fakeservices.h"
#include "teststate.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

using Mark = typing::TypingCheck::Mark;

constexpr qint32 kRight = 0x00FF00, kError = 0x0000FF, kWord = 0x123456;

QTextCharFormat formatAt(QTextDocument &doc, int position) {
    QTextCursor cursor(&doc);
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    return cursor.charFormat();
}

// A document with the text in the word colour, and a check over it.
struct Typing {
    explicit Typing(const QString &text, const QString &tags = {}) {
        auto &s = *ts.state;
        s.services.setClock(&clock);
        s.settings.RightColor = kRight;
        s.settings.ErrorColor = kError;
        s.text.SegmentTags = tags.isEmpty() ? QString(text.size(), QLatin1Char('0')) : tags;
        doc.setPlainText(text);
        QTextCursor all(&doc);
        all.select(QTextCursor::Document);
        QTextCharFormat word;
        word.setForeground(coding::colorFromColorRef(kWord));
        all.mergeCharFormat(word);
        check.start();
    }
    coding::AppState &state() { return *ts.state; }
    // Each arrival after the given pause.
    bool type(const QString &typed, qint64 pauseMs = 500) {
        clock.advance(pauseMs);
        return check.checkTyped(typed);
    }
    qint32 colourAt(int position) {
        return coding::colorRefFromColor(formatAt(doc, position).foreground().color());
    }
    bool markedAt(int position) { return check.markedPosition() == position; }

    coding::fixture::TestState ts{coding::fixture::TestState::Database::None};
    coding::FakeClock clock;
    QTextDocument doc;
    typing::TypingCheck check{*ts.state, doc};
};

TEST(TypingCheck, OneCharacterTextEndsWithTheFirstCharacter) {
    struct Case {
        const char *typed;
        int right, err;
        qint32 colour;
    } const cases[] = {{"好", 1, 0, kRight}, {"女", 0, 1, kError}, {"ｈ", 0, 1, kError}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        Typing t(QStringLiteral("好"));
        EXPECT_TRUE(t.markedAt(0));
        EXPECT_TRUE(t.type(QString::fromUtf8(c.typed)));
        EXPECT_FALSE(t.check.active());
        EXPECT_EQ(t.state().test.RightCount, c.right);
        EXPECT_EQ(t.state().test.ErrCount, c.err);
        EXPECT_EQ(t.colourAt(0), c.colour);
        EXPECT_FALSE(t.markedAt(0));
        EXPECT_EQ(t.state().test.TypedText, QStringLiteral("好"));
        // After the end nothing is checked any more.
        EXPECT_FALSE(t.type(QStringLiteral("好")));
        EXPECT_EQ(t.state().test.RightCount + t.state().test.ErrCount, 1);
    }
}

TEST(TypingCheck, ComparisonIsExactInCaseAndWidth) {
    Typing t(QStringLiteral("aＡ。x"));
    EXPECT_FALSE(t.type(QStringLiteral("A")));  // a: wrong case
    EXPECT_FALSE(t.type(QStringLiteral("A")));  // Ａ: wrong width
    EXPECT_FALSE(t.type(QStringLiteral("。"))); // right
    EXPECT_EQ(t.state().test.RightCount, 1);
    EXPECT_EQ(t.state().test.ErrCount, 2);
    EXPECT_EQ(t.state().test.TypedText, QStringLiteral("aＡ。"));
}

TEST(TypingCheck, RetypingMovesAPositionBetweenTheCounts) {
    Typing t(QStringLiteral("我们学习"));
    t.type(QStringLiteral("找"));
    EXPECT_EQ(t.colourAt(0), kError);
    t.check.moveLeft(); // Backspace
    EXPECT_EQ(t.check.position(), 0);
    EXPECT_TRUE(t.markedAt(0));
    EXPECT_FALSE(t.markedAt(1));
    t.type(QStringLiteral("我"));
    EXPECT_EQ(t.state().test.RightCount, 1);
    EXPECT_EQ(t.state().test.ErrCount, 0);
    EXPECT_EQ(t.colourAt(0), kRight);

    // Right over right stays one; wrong over right moves it.
    t.check.moveLeft();
    t.type(QStringLiteral("我"));
    EXPECT_EQ(t.state().test.RightCount, 1);
    t.check.moveLeft();
    t.type(QStringLiteral("戒"));
    EXPECT_EQ(t.state().test.RightCount, 0);
    EXPECT_EQ(t.state().test.ErrCount, 1);
    EXPECT_EQ(t.check.markAt(0), Mark::Wrong);
    EXPECT_EQ(t.check.markAt(1), Mark::Untyped);
    // Every typed character is in TypedText, retyped or not.
    EXPECT_EQ(t.state().test.TypedText, QStringLiteral("我我我我"));
}

TEST(TypingCheck, MovesStayInsideTheText) {
    Typing t(QStringLiteral("学习好"));
    t.check.moveLeft();
    EXPECT_EQ(t.check.position(), 0);
    for (int i = 0; i < 4; ++i)
        t.check.moveRight();
    EXPECT_EQ(t.check.position(), 2); // the last character, not beyond
    EXPECT_TRUE(t.markedAt(2));
    EXPECT_FALSE(t.markedAt(1));
    // The moves change neither colours nor counts.
    EXPECT_EQ(t.colourAt(0), kWord);
    EXPECT_EQ(t.state().test.RightCount + t.state().test.ErrCount, 0);
    EXPECT_TRUE(t.check.active());
}

TEST(TypingCheck, TheMarkFollowsTheCurrentCharacterAndLeavesTheFormatsAlone) {
    // The text holds a pair of surrogates: its mark takes both halves.
    Typing t(QStringLiteral("学\U0002000B习"));
    std::vector<std::pair<int, int>> told;
    t.check.setMarkListener([&](int position, int length) { told.emplace_back(position, length); });
    QTextCursor first(&t.doc);
    first.setPosition(1);
    first.setPosition(3, QTextCursor::KeepAnchor);
    QTextCharFormat underlined;
    underlined.setFontUnderline(true); // the hint mark
    first.mergeCharFormat(underlined);
    const QTextCharFormat before = formatAt(t.doc, 1);

    t.check.moveRight();
    EXPECT_EQ(t.check.markedPosition(), 1);
    EXPECT_EQ(t.check.markedLength(), 2);
    EXPECT_EQ(formatAt(t.doc, 1), before); // no weight or slant in the document
    t.check.moveRight();
    t.check.moveRight(); // already the last character: nothing to tell
    t.type(QStringLiteral("习"));
    EXPECT_EQ(t.check.markedPosition(), -1);
    t.check.stop();
    const std::vector<std::pair<int, int>> expected{{1, 2}, {3, 1}, {-1, 0}};
    EXPECT_EQ(told, expected);
}

TEST(TypingCheck, CharactersOfOneArrivalFormOneBurst) {
    struct Case {
        const char *name;
        std::vector<std::pair<const char *, qint64>> arrivals; // text, pause before it
        std::array<int, 5> counts;
    } const cases[] = {
        {"word_then_pause_then_char", {{"我们学", 500}, {"习", 500}}, {0, 0, 1, 0, 0}},
        {"burst_in_progress_is_not_counted", {{"我们学", 500}}, {0, 0, 0, 0, 0}},
        {"quick_arrivals_join", {{"我们", 500}, {"学", 150}, {"习", 500}}, {0, 0, 1, 0, 0}},
        {"longer_than_five_counts_as_five",
         {{"我们学习好好学", 500}, {"习", 400}},
         {0, 0, 0, 0, 1}},
        {"single_characters", {{"我", 500}, {"们", 300}, {"学", 300}}, {2, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Typing t(QStringLiteral("我们学习好好学习好"));
        for (const auto &[text, pause] : c.arrivals)
            t.type(QString::fromUtf8(text), pause);
        EXPECT_EQ(t.state().test.TypedWordCounts, c.counts);
    }
}

TEST(TypingCheck, AnArrivalBeyondTheEndIsCutOff) {
    Typing t(QStringLiteral("学习"));
    EXPECT_TRUE(t.type(QStringLiteral("学习好")));
    EXPECT_EQ(t.state().test.RightCount, 2);
    EXPECT_EQ(t.state().test.TypedText, QStringLiteral("学习"));
    EXPECT_EQ(t.check.position(), 2);
}

TEST(TypingCheck, StartBeginsAFreshTest) {
    Typing t(QStringLiteral("我们学习"));
    t.type(QStringLiteral("我们"));
    t.state().test.KeyPressCount = 7;
    t.clock.advance(1000);
    t.check.start();
    EXPECT_EQ(t.check.position(), 0);
    EXPECT_EQ(t.state().test.RightCount, 0);
    EXPECT_EQ(t.state().test.KeyPressCount, 0);
    EXPECT_EQ(t.check.lastInputTick(), t.clock.tickMs());
    EXPECT_EQ(t.check.markAt(0), Mark::Untyped);
    EXPECT_TRUE(t.markedAt(0));
    EXPECT_FALSE(t.markedAt(2)); // the old current character lost its mark
    t.type(QStringLiteral("我"));
    EXPECT_EQ(t.state().test.RightCount, 1);
}

TEST(TypingCheck, ASurrogatePairIsOneCharacter) {
    const QString ext = QString::fromUcs4(U"\U00020000"); // 𠀀, outside the BMP
    Typing t(ext + QStringLiteral("好"));
    EXPECT_FALSE(t.type(ext));
    EXPECT_EQ(t.check.position(), 2);
    EXPECT_EQ(t.state().test.RightCount, 1);
    EXPECT_EQ(t.check.markAt(1), Mark::Right);
    t.check.moveLeft();
    EXPECT_EQ(t.check.position(), 0);
    EXPECT_TRUE(t.type(QStringLiteral("好好")));
    EXPECT_EQ(t.state().test.ErrCount, 1);
    EXPECT_EQ(t.state().test.RightCount, 1);
}

TEST(TypingCheck, HintItemFollowsThePosition) {
    Typing t(QStringLiteral("我们学习"), QStringLiteral("0011"));
    EXPECT_EQ(t.check.hintItem(), QStringLiteral("我们"));
    t.check.moveRight();
    EXPECT_EQ(t.check.hintItem(), QStringLiteral("们"));
}

} // namespace

TEST(TypingCheck, TheInputsAndWhatWasTypedWrongAreKept) {
    Typing t(QStringLiteral("我们学习好"));
    // 我们 by 4 digits: their releases come before the commit, its Space after.
    t.state().test.KeyPressCount = 4;
    t.type(QStringLiteral("我们"));
    // The Space of 我们, then 5 digits of 学.
    t.state().test.KeyPressCount = 4 + 1 + 5;
    t.type(QStringLiteral("雪"));
    t.state().test.KeyPressCount = 11 + 3;
    t.type(QStringLiteral("习好"));
    using coding::TypedInput;
    EXPECT_EQ(t.check.inputs(),
              (QList<TypedInput>{TypedInput{0, 2, 5}, TypedInput{2, 1, 6}, TypedInput{3, 2, 4}}));
    const auto wrong = t.check.wrongCharacters();
    ASSERT_EQ(wrong.size(), 1);
    EXPECT_EQ(wrong[0].position, 2);
    EXPECT_EQ(wrong[0].expected, QStringLiteral("学"));
    EXPECT_EQ(wrong[0].typed, QStringLiteral("雪"));
    // A new test forgets them.
    t.check.start();
    EXPECT_TRUE(t.check.inputs().isEmpty());
    EXPECT_TRUE(t.check.wrongCharacters().isEmpty());
}
