// The life of a test without a window: phases, times and pauses, the countdown, the
// input method, the last character and a test given up, with a clock and an
// input-method framework that the test sets.
#include "typing/session.h"

#include "support/fakeinputmethodbackend.h"
#include "support/fakeservices.h"
#include "teststate.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

using typing::Phase;

constexpr qint64 kSecond = 1000;

struct TestRun {
    explicit TestRun(const QString &text = QStringLiteral("我们学习。")) {
        auto &s = *ts.state;
        s.services.setClock(&clock);
        s.settings.AutoOpenIme = true;
        s.text.SegmentTags = QString(text.size(), QLatin1Char('0'));
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
