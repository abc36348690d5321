#pragma once

#include "prepare/textreceiver.h"

#include "coding/appstate.h"

#include <QList>

// A receiver for tests: records what it got and what the shared state held at the
// moment, and drives the progress bar through every step as the colouring does.
class FakeReceiver : public prepare::TextReceiver {
public:
    explicit FakeReceiver(const coding::AppState &state) : m_state(state) {}

    struct Call {
        prepare::PreparedText prepared;
        QString segmentTagsAtCall;
        QString initialSegmentationAtCall;
    };
    QList<Call> calls;

    void receiveText(const prepare::PreparedText &prepared,
                     const prepare::ProgressCallback &progress) override {
        calls.append({prepared, m_state.text.SegmentTags, m_state.editor.InitialSegmentation});
        const int n = int(prepared.tags.size());
        for (int i = 1; i <= n; ++i)
            progress(i, n);
    }

private:
    const coding::AppState &m_state;
};
