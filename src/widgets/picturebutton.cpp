#include "picturebutton.h"

#include "pictures.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace widgets {

PictureButton::PictureButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {}

void PictureButton::setFaces(const QPixmap &face, const QPixmap &disabledFace) {
    m_face = face;
    m_disabledFace = disabledFace;
    update();
}

void PictureButton::paintEvent(QPaintEvent *event) {
    const QPixmap &picture = isEnabled() ? m_face : m_disabledFace;
    if (picture.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (isDown())
        option.rect.translate(1, 1);
    painter.drawControl(QStyle::CE_PushButtonLabel, option);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool setCommandFaces(QWidget &area, const coding::AppDirectory &dir) {
    QList<PictureButton *> commands;
    for (PictureButton *b : area.findChildren<PictureButton *>()) {
        if (b->objectName().startsWith(QLatin1String("cmd"), Qt::CaseInsensitive))
            commands << b;
    }
    if (commands.isEmpty())
        return true;
    const QPixmap face = loadPicture(dir.filePath(pictureFileName(102)));
    const QPixmap disabledFace = loadPicture(dir.filePath(pictureFileName(103)));
    if (face.isNull() || disabledFace.isNull())
        return false;
    for (PictureButton *b : commands)
        b->setFaces(face, disabledFace);
    return true;
}

} // namespace widgets
