#pragma once

class QWidget;

namespace widgets {

// Places the window in the middle of its screen:
// left = (screen width - width) / 2, top = (screen height - height) / 2.
void centreOnScreen(QWidget &window);

// Centres the window the first time it is shown (when its frame has its final size),
// and never again: a window the user has moved stays where it is.
void centreOnFirstShow(QWidget &window);

} // namespace widgets
