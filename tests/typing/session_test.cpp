// The life of a test without a window: phases, times and pauses, the countdown, the
// input method, the last character and a test given up, with a clock and an
// input-method framework that the test sets.
#include "typing/session.h"

#include "support/fakeinputmethodbackend.h"
#include "support/fakeservices.h"
#include "teststate.h"

#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using typing::Phase;

constexpr qint64 kSecond = 1000;

struct TestRun {
    // tags: one per character of text; empty for one word over the whole text.
    explicit TestRun(const QString &text = QStringLiteral("我们学习。"), const QString &tags = {}) {
        auto &s = *ts.state;
        s.services.setClock(&clock);
        s.settings.AutoOpenIme = true;
        s.text.SegmentTags = tags.isEmpty() ? QString(text.size(), QLatin1Char('0')) : tags;
        s.inputMethod.backend = &ime;
        s.inputMethod.ImeLayoutHandle = QStringLiteral("table:qorvan");
        s.inputMethod.EnglishLayoutHandle = ime.englishId();
        doc.setPlainText(text);
        QObject::connect(&session, &typing::Session::phaseChanged,
                         [this](Phase p) { phases << p; });
    }
    coding::AppState &state() { return *ts.state; }
    QStringList switches() const { return ime.activations; }

    coding::fixture::TestState ts{coding::fixture::TestState::Database::None};
    coding::FakeClock clock;
    ime::FakeInputMethodBackend ime;
    QTextDocument doc;
    typing::Session session{*ts.state, doc};
    QList<Phase> phases;
};

TEST(Session, PhasesOfATestAndTheStatesOnTheWay) {
    TestRun t;
    EXPECT_EQ(t.session.phase(), Phase::NoText);
    EXPECT_FALSE(t.session.start()); // nothing to type
    EXPECT_EQ(t.session.phase(), Phase::NoText);

    t.session.textArrived();
    t.session.pauseOrResume(); // nothing to pause
    t.session.end();           // nothing to end
    EXPECT_EQ(t.phases, (QList<Phase>{Phase::Ready}));

    t.state().test.TypedText = QStringLiteral("旧");
    t.state().derived.userKeys = coding::KeyCounts{};
    ASSERT_TRUE(t.session.start());
    EXPECT_TRUE(t.state().test.TypedText.isEmpty()); // a new test record
    EXPECT_FALSE(t.state().derived.userKeys);
    EXPECT_TRUE(t.session.running());
    EXPECT_FALSE(t.session.start()); // not twice
    t.session.pauseOrResume();
    EXPECT_EQ(t.session.phase(), Phase::Paused);
    EXPECT_TRUE(t.session.inProgress());
    EXPECT_FALSE(t.session.typed(QStringLiteral("我"))); // nothing is checked while paused
    EXPECT_EQ(t.session.check().position(), 0);
    t.session.pauseOrResume();
    t.session.end();
    EXPECT_EQ(t.phases, (QList<Phase>{Phase::Ready, Phase::Running, Phase::Paused, Phase::Running,
                                      Phase::Ended}));
    // An ended test can be started again.
    EXPECT_TRUE(t.session.start());
}

TEST(Session, TheDurationLeavesOutEveryPause) {
    TestRun t;
    t.session.textArrived();
    t.session.start();
    t.clock.advance(10 * kSecond);
    t.session.pauseOrResume();
    t.clock.advance(60 * kSecond); // paused
    t.session.pauseOrResume();
    t.clock.advance(5 * kSecond);
    t.session.pauseOrResume();
    t.clock.advance(7 * kSecond); // paused again
    t.session.pauseOrResume();
    t.clock.advance(3 * kSecond);
    t.session.end();
    EXPECT_EQ(t.state().test.TestDuration, 18 * kSecond);
}

TEST(Session, TheInputMethodIsOnWhileTheLearnerTypesOnceTheBoxHasTheFocus) {
    TestRun t;
    t.session.textArrived();
    t.session.start();
    EXPECT_TRUE(t.switches().isEmpty()); // waits for the input box
    t.session.inputBoxFocused();
    t.session.inputBoxFocused(); // once
    EXPECT_EQ(t.switches(), QStringList{QStringLiteral("table:qorvan")});
    t.session.pauseOrResume();
    t.session.inputBoxFocused(); // paused: stays English
    EXPECT_EQ(t.switches(), (QStringList{QStringLiteral("table:qorvan"), t.ime.englishId()}));
    t.session.pauseOrResume();
    t.session.inputBoxFocused();
    t.session.end();
    EXPECT_EQ(t.switches(), (QStringList{QStringLiteral("table:qorvan"), t.ime.englishId(),
                                         QStringLiteral("table:qorvan"), t.ime.englishId()}));

    // Without AutoOpenIme the start leaves the input method alone; the end still
    // goes back to English.
    t.state().settings.AutoOpenIme = false;
    t.ime.activations.clear();
    t.session.start();
    t.session.inputBoxFocused();
    t.session.end();
    EXPECT_EQ(t.switches(), QStringList{t.ime.englishId()});
}

const QString kQorvan = QStringLiteral("table:qorvan");
const QString kEnglish = QStringLiteral("english");

// One action of the learner's and the switches of the input method it brings.
struct Step {
    const char *name;
    std::function<void(typing::Session &)> act;
    QStringList switched; // the activations since the step before
    int position;         // the current character afterwards
};

void runSteps(TestRun &t, const std::vector<Step> &steps) {
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        t.ime.activations.clear();
        step.act(t.session);
        EXPECT_EQ(t.switches(), step.switched);
        EXPECT_EQ(t.session.check().position(), step.position);
    }
}

const auto typed = [](const char *text) {
    return [text](typing::Session &s) { s.typed(QString::fromUtf8(text)); };
};
const auto left = [](typing::Session &s) { s.moveLeft(); };
const auto right = [](typing::Session &s) { s.moveRight(); };
const auto focused = [](typing::Session &s) { s.inputBoxFocused(); };
const auto pauseOrResume = [](typing::Session &s) { s.pauseOrResume(); };

TEST(Session, TheInputMethodFollowsTheKindOfTheCurrentCharacter) {
    // 我们 | A B | 学习 | C 1 | 。
    TestRun t(QStringLiteral("我们AB学习C1。"), QStringLiteral("004411442"));
    t.session.textArrived();
    runSteps(t,
             {
                 {"the start waits for the box", [](auto &s) { s.start(); }, {}, 0},
                 {"the box has the focus: Chinese first", focused, {kQorvan}, 0},
                 {"a word typed, a letter current", typed("我们"), {kEnglish}, 2},
                 {"a letter after a letter switches nothing", typed("A"), {}, 3},
                 {"Chinese again", typed("B"), {kQorvan}, 4},
                 {"Backspace back onto a letter", left, {kEnglish}, 3},
                 {"the right arrow onto Chinese", right, {kQorvan}, 4},
                 {"within the word", right, {}, 5},
                 {"the right arrow onto a letter", right, {kEnglish}, 6},
                 {"a letter and a digit in one go, punctuation current", typed("C1"), {kQorvan}, 8},
                 {"the right arrow at the last character stays", right, {}, 8},
                 {"the left arrow onto a digit", left, {kEnglish}, 7},
                 {"a wrong digit still moves on", typed("9"), {kQorvan}, 8},
                 {"pausing goes to English", pauseOrResume, {kEnglish}, 8},
                 {"nothing is checked while paused", typed("。"), {}, 8},
                 {"resuming waits for the box", pauseOrResume, {}, 8},
                 {"then takes the current character", focused, {kQorvan}, 8},
                 {"the last character ends the test in English", typed("。"), {kEnglish}, 9},
             });
    EXPECT_EQ(t.session.phase(), Phase::Ended);
}

TEST(Session, StartAndResumeOnALetterTakeEnglish) {
    TestRun t(QStringLiteral("ab我c"), QStringLiteral("4404"));
    t.session.textArrived();
    runSteps(t,
             {
                 {"start", [](auto &s) { s.start(); }, {}, 0},
                 {"a letter first: English, not the Qorvan input method", focused, {kEnglish}, 0},
                 {"the next letter", typed("a"), {}, 1},
                 {"pause", pauseOrResume, {kEnglish}, 1},
                 {"resume", pauseOrResume, {}, 1},
                 // The learner may have switched by hand during the pause.
                 {"on a letter again English", focused, {kEnglish}, 1},
                 {"Chinese", typed("b"), {kQorvan}, 2},
                 {"a letter at the end", typed("我"), {kEnglish}, 3},
             });
}

TEST(Session, WithoutAutoOpenImeLettersSwitchNothing) {
    TestRun t(QStringLiteral("我A学1。"), QStringLiteral("04042"));
    t.state().settings.AutoOpenIme = false;
    t.session.textArrived();
    runSteps(t, {
                    {"start", [](auto &s) { s.start(); }, {}, 0},
                    {"focus", focused, {}, 0},
                    {"onto a letter", typed("我"), {}, 1},
                    {"onto Chinese", typed("A"), {}, 2},
                    {"back onto the letter", left, {}, 1},
                    {"onto Chinese", right, {}, 2},
                    {"onto a digit", typed("学"), {}, 3},
                    // Pausing switches to English all the same; resuming leaves it.
                    {"pause", pauseOrResume, {kEnglish}, 3},
                    {"resume", pauseOrResume, {}, 3},
                    {"focus after resuming", focused, {}, 3},
                    {"onto punctuation", typed("1"), {}, 4},
                });
}

TEST(Session, TheLastCharacterEndsTheTestAndItsKeyCounts) {
    TestRun t(QStringLiteral("我们"));
    t.session.textArrived();
    t.session.start();
    t.session.keyReleased();
    t.session.keyReleased();
    EXPECT_FALSE(t.session.typed(QStringLiteral("我")));
    t.clock.advance(4 * kSecond);
    EXPECT_TRUE(t.session.typed(QStringLiteral("们")));
    EXPECT_EQ(t.session.phase(), Phase::Ended);
    EXPECT_EQ(t.state().test.KeyPressCount, 3);
    EXPECT_EQ(t.state().test.RightCount, 2);
    EXPECT_EQ(t.state().test.TestDuration, 4 * kSecond);
    t.session.keyReleased(); // after the end nothing counts
    EXPECT_EQ(t.state().test.KeyPressCount, 3);
}

TEST(Session, TheCountdownEndsARunningTestAtZero) {
    TestRun t;
    t.state().settings.IsLimitTime = true;
    t.state().settings.LimitTimeLen = 1;
    t.session.textArrived();
    t.session.start();
    EXPECT_EQ(t.session.remainingSeconds(), 60);
    for (int i = 0; i < 59; ++i)
        EXPECT_EQ(t.session.countdownTick(), 59 - i);
    EXPECT_TRUE(t.session.running());
    EXPECT_EQ(t.session.countdownTick(), 0);
    EXPECT_EQ(t.session.phase(), Phase::Ended);
    EXPECT_EQ(t.session.countdownTick(), 0); // never below zero
}

TEST(Session, ATestGivenUpIsNotRecordedAsEnded) {
    TestRun t;
    t.session.textArrived();
    t.session.start();
    t.session.inputBoxFocused();
    t.clock.advance(5 * kSecond);
    t.session.abandon();
    EXPECT_EQ(t.session.phase(), Phase::Ready);
    EXPECT_EQ(t.state().test.TestDuration, 0);
    EXPECT_EQ(t.switches().last(), t.ime.englishId());
    EXPECT_FALSE(t.session.check().active());
    t.session.abandon(); // harmless when nothing runs
}

} // namespace
