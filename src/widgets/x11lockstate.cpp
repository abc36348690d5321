#include "x11lockstate.h"

// Kept apart from Qt code: the X11 headers define macros (Bool, None, KeyPress...)
// that clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace widgets {

namespace {

std::optional<bool> indicator(Display *display, const char *name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0)
        return std::nullopt;
    int on = 0;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != 0;
}

} // namespace

std::optional<LockStates> readX11LockStates(void *display) {
    auto *dpy = static_cast<Display *>(display);
    if (!dpy)
        return std::nullopt;
    const auto caps = indicator(dpy, "Caps Lock");
    const auto num = indicator(dpy, "Num Lock");
    if (!caps && !num)
        return std::nullopt;
    return LockStates{caps.value_or(false), num.value_or(false)};
}

} // namespace widgets
