#pragma once

// What the two working windows (the test window and the segmentation editor) build
// alike: the welcome panel shown before a text arrives, their command buttons, and
// the fonts that follow the window's size.

#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QWidget;

namespace widgets {

class PictureButton;

// The title, its frame and the help text inside the frame, at their places of the
// design (an 800 x 600 window): the title bold at 20 points, the help in the Kai
// font at 12 points, wrapped.
struct WelcomePanel {
    QLabel *title = nullptr;
    QFrame *frame = nullptr;
    QLabel *tips = nullptr;
};
WelcomePanel buildWelcomePanel(QWidget &area, const QString &title, const QString &titleName);

// A command button of the window's column: a picture button with the caption at 10
// points, reached by Tab (a click does not take the focus from the text).
PictureButton *addCommandButton(QWidget &area, const char *name, const QString &caption,
                                const QRect &geometry);

// Sets the font size of w to points (at least 1), keeping the rest of its font.
void setFontPoints(QWidget &w, int points);

} // namespace widgets
