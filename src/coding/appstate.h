#pragma once

#include "appdirectory.h"
#include "segmentationlibrary.h"
#include "services.h"

#include <QString>

#include <memory>

namespace app {
class InputMethodBackend; // src/app/ime/inputmethodbackend.h
}

namespace coding {

// The state that the windows share for the whole run: the text's tags, the
// settings, the tables and counts, the test record and the flags. Fields keep the
// names the windows have always used for them. main() creates one and hands it to
// each window by reference; every test builds its own.
struct AppState {
    explicit AppState(AppDirectory dir, std::unique_ptr<SegmentationLibrary> library)
        : appDir(std::move(dir)), library(std::move(library)) {}

    AppDirectory appDir;
    std::unique_ptr<SegmentationLibrary> library;
    Services services; // message boxes, file and colour dialogs, clock, beep

    // --- Segmentation -------------------------------------------------------
    // One tag per character of the text under test ("0"/"1" words, "2"
    // punctuation, "3" separator blank, "4" letters and digits).
    QString SegmentTags;

    // --- Input method (set by app::DetectInputMethod at start-up) -----------
    // The framework's ids of the Qorvan input method (empty while not found)
    // and of the English keyboard (empty until known), and the framework that
    // switches them (not owned; null when none runs).
    QString ImeLayoutHandle;
    QString EnglishLayoutHandle;
    app::InputMethodBackend *imeBackend = nullptr;
};

} // namespace coding
