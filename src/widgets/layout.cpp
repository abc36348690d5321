#include "layout.h"

#include <QApplication>
#include <QHash>
#include <QLayout>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>

#include <cmath>

namespace widgets {

namespace {

// The design rectangles of one window, kept as a hidden child object of it.
class DesignRects : public QObject {
public:
    explicit DesignRects(QWidget &window) : QObject(&window) {
        setObjectName(QStringLiteral("trevixDesignRects"));
    }
    QHash<const QWidget *, QRect> rects;
};

DesignRects *designRectsOf(QWidget &window) {
    return window.findChild<DesignRects *>(QStringLiteral("trevixDesignRects"),
                                           Qt::FindDirectChildrenOnly);
}

QWidget &innerArea(QWidget &window) {
    if (auto *main = qobject_cast<QMainWindow *>(&window)) {
        if (QWidget *central = main->centralWidget()) {
            // Let the main window place its central widget before it is measured.
            if (main->layout())
                main->layout()->activate();
            return *central;
        }
    }
    return window;
}

bool layoutHolds(const QLayout &layout, const QWidget *widget) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem *item = layout.itemAt(i);
        if (item->widget() == widget)
            return true;
        if (item->layout() && layoutHolds(*item->layout(), widget))
            return true;
    }
    return false;
}

bool isPlainContainer(const QWidget &widget) {
    const char *name = widget.metaObject()->className();
    return qstrcmp(name, "QWidget") == 0 || qstrcmp(name, "QFrame") == 0 ||
           qstrcmp(name, "QGroupBox") == 0;
}

void collectControls(QWidget &parent, QList<QWidget *> &controls) {
    const QLayout *managed = parent.layout();
    for (QObject *child : parent.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow())
            continue;
        if (managed && layoutHolds(*managed, widget))
            continue;
        controls << widget;
        if (isPlainContainer(*widget))
            collectControls(*widget, controls);
    }
}

QList<QWidget *> controlsOf(QWidget &area) {
    QList<QWidget *> controls;
    collectControls(area, controls);
    return controls;
}

int scaled(double factor, int value) {
    return static_cast<int>(std::lround(factor * value));
}

} // namespace

void RecordControlLayout(QWidget &window, LayoutScale &scale) {
    QWidget &area = innerArea(window);
    scale.DesignScaleWidth = area.width();
    scale.DesignScaleHeight = area.height();
    DesignRects *table = designRectsOf(window);
    if (!table)
        table = new DesignRects(window);
    table->rects.clear();
    for (QWidget *control : controlsOf(area))
        table->rects.insert(control, control->geometry());
}

void ScaleControls(QWidget &window, LayoutScale &scale) {
    if (scale.DesignScaleWidth <= 0 || scale.DesignScaleHeight <= 0)
        return; // nothing recorded
    QWidget &area = innerArea(window);
    scale.ScaleFactorX = double(area.width()) / scale.DesignScaleWidth;
    scale.ScaleFactorY = double(area.height()) / scale.DesignScaleHeight;
    const DesignRects *table = designRectsOf(window);
    if (!table)
        return;
    const double fx = scale.ScaleFactorX, fy = scale.ScaleFactorY;
    for (QWidget *control : controlsOf(area)) {
        const auto found = table->rects.constFind(control);
        if (found == table->rects.constEnd())
            continue;
        const QRect &r = *found;
        control->setGeometry(scaled(fx, r.x()), scaled(fy, r.y()), scaled(fx, r.width()),
                             scaled(fy, r.height()));
    }
}

void ResizeForm(QWidget &window, LayoutScale &scale) {
    // The controls that are visible are hidden while they move and shown again.
    // The one that holds the keyboard focus (and its containers) stays: hiding it
    // would move the focus and make the input method commit what is being typed.
    QWidget &area = innerArea(window);
    QWidget *focus = QApplication::focusWidget();
    if (focus && !window.isAncestorOf(focus))
        focus = nullptr;

    QList<QPointer<QWidget>> hidden;
    for (QWidget *control : controlsOf(area)) {
        if (!HasVisibleProperty(*control) || !control->isVisibleTo(&window))
            continue;
        if (focus && (control == focus || control->isAncestorOf(focus)))
            continue;
        hidden << control;
    }

    const bool updates = window.updatesEnabled();
    window.setUpdatesEnabled(false);
    for (const auto &control : hidden)
        control->setVisible(false);
    ScaleControls(window, scale);
    for (const auto &control : hidden)
        if (control)
            control->setVisible(true);
    window.setUpdatesEnabled(updates);
}

bool HasVisibleProperty(const QObject &control) {
    return control.metaObject()->indexOfProperty("visible") >= 0;
}

} // namespace widgets
