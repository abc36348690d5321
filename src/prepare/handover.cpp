#include "handover.h"

#include <QFile>

namespace prepare {

void clearEarlierResults(coding::AppState &state) {
    state.MoreInfoStatsReady = false;
    state.WordTableDone = false;
    state.ResultStatsReady = false;
    state.TextKeysDone = false;
    state.UserKeysDone = false;
    state.TestDuration = 0;
    state.RightCount = 0;
    state.ErrCount = 0;
    state.TypedText.clear();
}

void handOver(coding::AppState &state, TextReceiver &receiver, const PreparedText &prepared,
              const ProgressCallback &progress) {
    if (!state.EditorIsTarget) {
        state.SegmentTags = prepared.tags;
        receiver.receiveText(prepared, progress);
        clearEarlierResults(state);
        const QString tempFile = state.appDir.filePath(QStringLiteral("temp.zh"));
        if (QFile::exists(tempFile))
            QFile::remove(tempFile);
        return;
    }
    PreparedText separated = insertSeparators(prepared);
    while (separated.text.endsWith(QLatin1Char(' '))) {
        separated.text.chop(1);
        separated.tags.chop(1);
    }
    state.SegmentTags = separated.tags;
    state.InitialSegmentation = separated.text;
    receiver.receiveText(separated, progress);
}

} // namespace prepare
