#pragma once

#include "frmmain.h"

namespace app {

// Runs the program around its main window: start-up (frmMain::Form_Load), then,
// when it succeeded, the window and the event loop until the user leaves.
// Returns the program's exit code; 1 when start-up failed, after its message.
int runMainWindow(coding::AppState &state, ime::InputMethodBackend *backend,
                  frmMain::WorkWindows windows);

} // namespace app
