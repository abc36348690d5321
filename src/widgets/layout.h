#pragma once

class QObject;
class QWidget;

namespace widgets {

// The proportional layout of one window: the inner size at which it recorded its
// controls, and its current inner size divided by that. The window owns it.
struct LayoutScale {
    int DesignScaleWidth = 0;
    int DesignScaleHeight = 0;
    double ScaleFactorX = 0.0;
    double ScaleFactorY = 0.0;
};

// Proportional layout of the resizable working windows (the test window and the
// segmentation editor). When a window loads it records the design rectangle of
// each of its controls; on every resize its controls are moved and sized in
// proportion to the window's inner area. The factors stay in the window's
// LayoutScale (ScaleFactorX, ScaleFactorY), from which the window derives its font sizes.
//
// The inner area is the central widget of a QMainWindow, otherwise the window
// itself. Its controls are the child widgets placed by hand, and the children of
// plain containers (QWidget, QFrame, QGroupBox) among them, placed relative to
// their container. Widgets that a QLayout places, and the inner parts of composite
// widgets, are left to Qt. The design rectangles (device-independent pixels) are
// kept in a table that belongs to the window.

// Records the inner size (DesignScaleWidth, DesignScaleHeight) and the rectangle
// of every control. Called once when the window loads, before anything moves.
void RecordControlLayout(QWidget &window, LayoutScale &scale);

// Scales the controls to the window's current inner size, without showing them
// half moved. Called first thing when the window is resized.
void ResizeForm(QWidget &window, LayoutScale &scale);

// Sets ScaleFactorX and ScaleFactorY from the current inner size and places every
// recorded control at its design rectangle times the factors. Controls that were
// not recorded stay where they are.
void ScaleControls(QWidget &window, LayoutScale &scale);

// True when the control has a Visible property (widgets and actions do, timers
// do not).
bool HasVisibleProperty(const QObject &control);

} // namespace widgets
