#pragma once

#include "textreceiver.h"

#include "coding/appstate.h"

namespace prepare {

// Clears the results of earlier tests when a new text arrives: the statistics
// flags, the duration, the right and wrong counts and the typed text.
void clearEarlierResults(coding::AppState &state);

// Hands a prepared text to receiver. For the test window (state.EditorIsTarget
// false): state.SegmentTags := the tags, the receiver shows and colours the text,
// then the results of earlier tests are cleared and temp.zh is deleted. For the
// editor: separators go between the words, state.SegmentTags and
// state.InitialSegmentation are set, and the receiver shows and colours the text.
void handOver(coding::AppState &state, TextReceiver &receiver, const PreparedText &prepared,
              const ProgressCallback &progress);

} // namespace prepare
