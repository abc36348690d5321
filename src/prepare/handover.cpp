#include "handover.h"

#include <QFile>

namespace prepare {

void handOver(coding::AppState &state, TextReceiver &receiver, const PreparedText &prepared,
              const ProgressCallback &progress) {
    if (!state.editor.EditorIsTarget) {
        state.setText(prepared.text, prepared.tags);
        receiver.receiveText(prepared, progress);
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
    state.text.SegmentTags = separated.tags;
    state.text.HzCount = 0;
    state.text.SymCount = 0;
    state.editor.InitialSegmentation = separated.text;
    receiver.receiveText(separated, progress);
}

} // namespace prepare
