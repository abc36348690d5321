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
        state.SegmentTags = QStringLiteral("old");
        state.RightCount = 5;
        state.ErrCount = 2;
        state.TestDuration = 60000;
        state.TypedText = QStringLiteral("旧");
        state.KeyPressCount = 9;
        state.WordTableDone = state.ResultStatsReady = state.MoreInfoStatsReady = true;
        state.TextKeysDone = state.UserKeysDone = true;
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
    state.EditorIsTarget = false;
    const PreparedText prepared{QStringLiteral("我们学习。"), QStringLiteral("00112")};
    handOver(prepared);

    ASSERT_EQ(receiver.calls.size(), 1);
    EXPECT_EQ(receiver.calls[0].prepared, prepared);
    EXPECT_EQ(receiver.calls[0].segmentTagsAtCall, QStringLiteral("00112"));
    EXPECT_EQ(state.SegmentTags, QStringLiteral("00112"));
    EXPECT_EQ(progress.size(), 5);
    EXPECT_EQ(progress.last(), qMakePair(5, 5));

    EXPECT_EQ(state.RightCount, 0);
    EXPECT_EQ(state.ErrCount, 0);
    EXPECT_EQ(state.TestDuration, 0);
    EXPECT_TRUE(state.TypedText.isEmpty());
    EXPECT_FALSE(state.WordTableDone || state.ResultStatsReady || state.MoreInfoStatsReady ||
                 state.TextKeysDone || state.UserKeysDone);
    EXPECT_FALSE(tempFileExists());
}

TEST_F(HandOver, TheEditorGetsTheWordsSeparatedByBlanks) {
    state.EditorIsTarget = true;
    handOver({QStringLiteral("我们学习。"), QStringLiteral("00112")});

    ASSERT_EQ(receiver.calls.size(), 1);
    const PreparedText expected{QStringLiteral("我们 学习 。"), QStringLiteral("0031132")};
    EXPECT_EQ(receiver.calls[0].prepared, expected);
    EXPECT_EQ(receiver.calls[0].segmentTagsAtCall, expected.tags);
    EXPECT_EQ(receiver.calls[0].initialSegmentationAtCall, expected.text);
    EXPECT_EQ(state.SegmentTags, expected.tags);
    EXPECT_EQ(state.InitialSegmentation, expected.text);
    // The editor leaves the test record and temp.zh alone.
    EXPECT_EQ(state.RightCount, 5);
    EXPECT_TRUE(state.WordTableDone);
    EXPECT_TRUE(tempFileExists());
}

} // namespace
