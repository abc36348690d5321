// Handing a prepared text to the test window or to the segmentation editor.
#include "fakereceiver.h"

#include "prepare/handover.h"

#include "support/fakelibrary.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using prepare::PreparedText;

namespace {

class HandOver : public ::testing::Test {
protected:
    HandOver() {
        // The results of an earlier test.
        state.text.SegmentTags = QStringLiteral("old");
        state.test.RightCount = 5;
        state.test.ErrCount = 2;
        state.test.TestDuration = 60000;
        state.test.TypedText = QStringLiteral("旧");
        state.test.KeyPressCount = 9;
        state.text.HzCount = state.text.SymCount = state.text.AlphaCount = 7;
        state.derived.textTables = coding::TextTables{};
        state.derived.result = coding::ResultTexts{};
        state.derived.learner = coding::LearnerFigures{};
        state.derived.textKeys = coding::KeyCounts{};
        state.derived.typed = coding::TypedTables{};
        state.derived.userKeys = coding::KeyCounts{};
        QFile temp(state.appDir.filePath("temp.zh"));
        EXPECT_TRUE(temp.open(QIODevice::WriteOnly));
    }
    void handOver(const PreparedText &prepared) {
        prepare::handOver(state, receiver, prepared, [this](int value, int maximum) {
            progress << qMakePair(value, maximum);
        });
    }
    bool tempFileExists() const { return QFile::exists(state.appDir.filePath("temp.zh")); }

    QTemporaryDir dir;
    coding::AppState state{coding::AppDirectory::at(dir.path()),
                           std::make_unique<coding::FakeLibrary>()};
    FakeReceiver receiver{state};
    QList<QPair<int, int>> progress;
};

TEST_F(HandOver, TheTestWindowGetsTheTextAndEarlierResultsAreCleared) {
    state.editor.EditorIsTarget = false;
    const PreparedText prepared{QStringLiteral("我们学习。"), QStringLiteral("00112")};
    handOver(prepared);

    ASSERT_EQ(receiver.calls.size(), 1);
    EXPECT_EQ(receiver.calls[0].prepared, prepared);
    EXPECT_EQ(receiver.calls[0].segmentTagsAtCall, QStringLiteral("00112"));
    EXPECT_EQ(state.text.SegmentTags, QStringLiteral("00112"));
    EXPECT_EQ(state.text.text, prepared.text);
    // The classes come from the tags.
    EXPECT_EQ((std::array{state.text.HzCount, state.text.SymCount, state.text.AlphaCount}),
              (std::array{4, 1, 0}));
    EXPECT_EQ(progress.size(), 5);
    EXPECT_EQ(progress.last(), qMakePair(5, 5));

    EXPECT_EQ(state.test.RightCount, 0);
    EXPECT_EQ(state.test.ErrCount, 0);
    EXPECT_EQ(state.test.TestDuration, 0);
    EXPECT_TRUE(state.test.TypedText.isEmpty());
    EXPECT_EQ(state.test.KeyPressCount, 0);
    const coding::DerivedStats &d = state.derived;
    EXPECT_FALSE(d.WordTableDone() || d.ResultStatsReady() || d.MoreInfoStatsReady() ||
                 d.TextKeysDone() || d.UserKeysDone());
    EXPECT_FALSE(d.learner || d.userKeys);
    EXPECT_FALSE(tempFileExists());
}

TEST_F(HandOver, TheEditorGetsTheWordsSeparatedByBlanks) {
    state.editor.EditorIsTarget = true;
    handOver({QStringLiteral("我们学习。"), QStringLiteral("00112")});

    ASSERT_EQ(receiver.calls.size(), 1);
    const PreparedText expected{QStringLiteral("我们 学习 。"), QStringLiteral("0031132")};
    EXPECT_EQ(receiver.calls[0].prepared, expected);
    EXPECT_EQ(receiver.calls[0].segmentTagsAtCall, expected.tags);
    EXPECT_EQ(receiver.calls[0].initialSegmentationAtCall, expected.text);
    EXPECT_EQ(state.text.SegmentTags, expected.tags);
    EXPECT_EQ(state.editor.InitialSegmentation, expected.text);
    // The editor leaves the test record and temp.zh alone.
    EXPECT_EQ(state.test.RightCount, 5);
    EXPECT_TRUE(state.derived.WordTableDone());
    // The editor's text counts no characters; letters and digits are left alone.
    EXPECT_EQ((std::array{state.text.HzCount, state.text.SymCount, state.text.AlphaCount}),
              (std::array{0, 0, 7}));
    EXPECT_TRUE(tempFileExists());
}

} // namespace
