#include "centring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace widgets {

namespace {

// Centres its window on the first Show event, then removes itself.
class FirstShowCentring : public QObject {
public:
    explicit FirstShowCentring(QWidget &window) : QObject(&window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            centreOnScreen(*static_cast<QWidget *>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void centreOnScreen(QWidget &window) {
    QScreen *screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect s = screen->geometry();
    const QSize size = window.frameGeometry().size();
    window.move(s.x() + (s.width() - size.width()) / 2, s.y() + (s.height() - size.height()) / 2);
}

void centreOnFirstShow(QWidget &window) {
    window.installEventFilter(new FirstShowCentring(window));
}

} // namespace widgets
