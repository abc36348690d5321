#pragma once

#include "frmmain.h"

class QCoreApplication;

namespace app {

// Installs Qt's own Chinese translations (Debian qt6-translations-l10n), so that the
// standard dialogs speak Chinese as the program does, whatever the locale. False
// when they are not installed: the dialogs then keep Qt's English.
bool installChineseTranslations(QCoreApplication &application);

// Runs the program around its main window: start-up (frmMain::Form_Load), then,
// when it succeeded, the window and the event loop until the user leaves.
// Returns the program's exit code; 1 when start-up failed, after its message.
int runMainWindow(coding::AppState &state, ime::InputMethodBackend *backend,
                  frmMain::WorkWindows windows);

} // namespace app
