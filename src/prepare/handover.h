#pragma once

#include "textreceiver.h"

#include "coding/appstate.h"

namespace prepare {

// Hands a prepared text to receiver. For the test window (state.editor.EditorIsTarget
// false): the text becomes the current text (AppState::setText: its tags and
// classes; the results of earlier tests go), the receiver shows and colours it, and
// temp.zh is deleted. For the editor: separators go between the words,
// state.text.SegmentTags and state.editor.InitialSegmentation are set (the editor's
// text counts no characters: HzCount and SymCount become 0), and the receiver shows
// and colours the text.
void handOver(coding::AppState &state, TextReceiver &receiver, const PreparedText &prepared,
              const ProgressCallback &progress);

} // namespace prepare
