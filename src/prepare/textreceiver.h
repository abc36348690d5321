#pragma once

#include "textpreparation.h"

#include "coding/textcolouring.h"

#include <functional>
#include <memory>

namespace prepare {

// Drives the open-file dialog's progress bar while the receiver colours the text:
// call it with (i, n) at step i of n; the bar shows the range 1..n.
using ProgressCallback = std::function<void(int value, int maximum)>;

// The steps of a colouring (coding::TextProgress) reported to progress.
inline coding::TextProgress colouringProgress(const ProgressCallback &progress) {
    auto maximum = std::make_shared<int>(0);
    coding::TextProgress steps;
    steps.setup = [maximum](int, int max) { *maximum = max; };
    steps.step = [maximum, progress](int value) {
        if (progress)
            progress(value, *maximum);
    };
    return steps;
}

// The window that receives a text opened through frmOpenFile: the test window when
// state.editor.EditorIsTarget is false, the segmentation editor when it is true. The
// dialog calls receiveText while it is still shown and closes once it returns.
//
// Before the call the dialog has set state.text.SegmentTags to prepared.tags.
//
// The test window receives the text without separators (the dialog has made it the
// current text, AppState::setText). It clears mainText and puts the text in; enables
// mnuSaveTestFile, mnuSaveResult (only when NeedFc is on), mnuStaInfo and
// mnuStaSave; and colours the text with PrepareTestText. After the call the dialog
// deletes temp.zh.
//
// The editor receives the words separated by single blanks (tag "3");
// state.editor.InitialSegmentation already equals the text. It clears txtMain and locks
// it; enables cmdModify (caption "修    改"), cmdUndo and cmdSave; puts the text in;
// colours it with PreparePreSplitText; shows txtMain when the text is not empty.
//
// Colouring reports its steps through progress.
class TextReceiver {
public:
    virtual ~TextReceiver() = default;
    virtual void receiveText(const PreparedText &prepared, const ProgressCallback &progress) = 0;
};

} // namespace prepare
