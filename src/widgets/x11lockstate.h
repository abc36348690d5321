#pragma once

#include <optional>

namespace widgets {

struct LockStates {
    bool capsLock = false;
    bool numLock = false;
};

// Reads the Caps Lock and Num Lock indicators of the X server behind display (an
// X11 Display*). Nothing when display is null or the server has no such
// indicators.
std::optional<LockStates> readX11LockStates(void *display);

} // namespace widgets
