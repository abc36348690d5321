#include "workwindow.h"

#include "coding/textcolouring.h"
#include "picturebutton.h"

#include <QFrame>
#include <QLabel>

#include <algorithm>

namespace widgets {

WelcomePanel buildWelcomePanel(QWidget &area, const QString &title, const QString &titleName) {
    WelcomePanel panel;
    panel.title = new QLabel(title, &area);
    panel.title->setObjectName(titleName);
    QFont titleFont = panel.title->font();
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    panel.title->setFont(titleFont);
    panel.title->setAlignment(Qt::AlignCenter);
    panel.title->setGeometry(40, 40, 560, 50);

    panel.frame = new QFrame(&area);
    panel.frame->setObjectName(QStringLiteral("Shape1"));
    panel.frame->setFrameShape(QFrame::Box);
    panel.frame->setGeometry(40, 110, 560, 300);

    panel.tips = new QLabel(&area);
    panel.tips->setObjectName(QStringLiteral("lblTips"));
    panel.tips->setFont(QFont(QString::fromUtf16(coding::kKaiFontName), 12));
    panel.tips->setWordWrap(true);
    panel.tips->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panel.tips->setGeometry(56, 120, 528, 280);
    return panel;
}

PictureButton *addCommandButton(QWidget &area, const char *name, const QString &caption,
                                const QRect &geometry) {
    auto *control = new PictureButton(caption, &area);
    control->setObjectName(QString::fromLatin1(name));
    QFont buttonFont = area.font();
    buttonFont.setPointSize(10);
    control->setFont(buttonFont);
    control->setFocusPolicy(Qt::TabFocus);
    control->setGeometry(geometry);
    return control;
}

void setFontPoints(QWidget &w, int points) {
    QFont f = w.font();
    f.setPointSize(std::max(1, points));
    w.setFont(f);
}

} // namespace widgets
