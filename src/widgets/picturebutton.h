#pragma once

#include "coding/appdirectory.h"

#include <QPixmap>
#include <QPushButton>

namespace widgets {

// A command button that wears a picture as its face (102.jpg) and another while
// it is disabled (103.jpg), stretched over the whole button, with its caption on
// top. Without pictures it is an ordinary push button.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString &text, QWidget *parent = nullptr);

    void setFaces(const QPixmap &face, const QPixmap &disabledFace);
    const QPixmap &face() const { return m_face; }
    const QPixmap &disabledFace() const { return m_disabledFace; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_face, m_disabledFace;
};

// Gives every PictureButton among the children of area whose name begins with
// "cmd" (in any case) the faces 102.jpg and 103.jpg of the application directory.
// False, setting nothing, when there is such a button and one of the two pictures
// is missing or is no picture.
bool setCommandFaces(QWidget &area, const coding::AppDirectory &dir);

} // namespace widgets
