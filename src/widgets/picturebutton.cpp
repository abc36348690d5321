#include "picturebutton.h"

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

} // namespace widgets
