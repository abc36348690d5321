// Proportional layout: design rectangles recorded at load, every control scaled
// with the window's inner area, visibility and keyboard focus kept.

#include "widgets/layout.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

widgets::LayoutScale makeState() {
    return {};
}

// A working window as the test window and the editor are built: controls placed
// by hand, the layout recorded at load and rescaled on every resize.
class ProportionalWindow : public QWidget {
public:
    explicit ProportionalWindow(widgets::LayoutScale &state) : m_state(state) {
        resize(300, 200);
        button = new QPushButton(QStringLiteral("开始测试"), this);
        button->setGeometry(10, 20, 100, 30);
        frame = new QFrame(this);
        frame->setGeometry(50, 60, 120, 80);
        inFrame = new QLabel(QStringLiteral("框内"), frame);
        inFrame->setGeometry(5, 5, 40, 20);
        hiddenEdit = new QLineEdit(this);
        hiddenEdit->setGeometry(200, 100, 60, 20);
        hiddenEdit->hide();
        input = new QLineEdit(this);
        input->setGeometry(200, 150, 80, 24);
        RecordControlLayout();
    }
    void RecordControlLayout() { widgets::RecordControlLayout(*this, m_state); }

    QPushButton *button;
    QFrame *frame;
    QLabel *inFrame;
    QLineEdit *hiddenEdit;
    QLineEdit *input;

protected:
    void resizeEvent(QResizeEvent *) override { widgets::ResizeForm(*this, m_state); }

private:
    widgets::LayoutScale &m_state;
};

// Counts how often a widget loses the keyboard focus.
class FocusLossCounter : public QObject {
public:
    int losses = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::FocusOut)
            ++losses;
        return false;
    }
};

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void doublingTheWindowDoublesEveryControl();
    void shrinkingScalesDownAndRoundsToWholePixels();
    void visibilityAndFocusSurviveAResize();
    void mainWindowScalesItsCentralArea();
    void controlsOutsideTheRecordStayWhereTheyAre();
    void hasVisibleProperty_data();
    void hasVisibleProperty();
};

void LayoutTest::doublingTheWindowDoublesEveryControl() {
    auto state = makeState();
    ProportionalWindow window(state);
    QCOMPARE(state.DesignScaleWidth, 300);
    QCOMPARE(state.DesignScaleHeight, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.resize(600, 400);
    QTRY_COMPARE(window.size(), QSize(600, 400));
    QCOMPARE(state.ScaleFactorX, 2.0);
    QCOMPARE(state.ScaleFactorY, 2.0);
    QCOMPARE(window.button->geometry(), QRect(20, 40, 200, 60));
    QCOMPARE(window.frame->geometry(), QRect(100, 120, 240, 160));
    // Inside a container: relative to the container, scaled the same way.
    QCOMPARE(window.inFrame->geometry(), QRect(10, 10, 80, 40));
    QCOMPARE(window.hiddenEdit->geometry(), QRect(400, 200, 120, 40));
    QCOMPARE(window.input->geometry(), QRect(400, 300, 160, 48));

    // Back to the design size: back to the design rectangles, not drifted.
    window.resize(300, 200);
    QTRY_COMPARE(window.size(), QSize(300, 200));
    QCOMPARE(state.ScaleFactorX, 1.0);
    QCOMPARE(window.button->geometry(), QRect(10, 20, 100, 30));
    QCOMPARE(window.inFrame->geometry(), QRect(5, 5, 40, 20));
}

void LayoutTest::shrinkingScalesDownAndRoundsToWholePixels() {
    auto state = makeState();
    ProportionalWindow window(state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(450, 150); // 1.5 across, 0.75 down
    QTRY_COMPARE(window.size(), QSize(450, 150));
    QCOMPARE(state.ScaleFactorX, 1.5);
    QCOMPARE(state.ScaleFactorY, 0.75);
    // 10 x 1.5 = 15, 20 x 0.75 = 15, 100 x 1.5 = 150, 30 x 0.75 = 22.5 -> 23
    QCOMPARE(window.button->geometry(), QRect(15, 15, 150, 23));
}

void LayoutTest::visibilityAndFocusSurviveAResize() {
    auto state = makeState();
    ProportionalWindow window(state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    window.input->setFocus();
    QTRY_VERIFY(window.input->hasFocus());
    FocusLossCounter counter;
    window.input->installEventFilter(&counter);

    window.resize(600, 400);
    QTRY_COMPARE(window.size(), QSize(600, 400));
    QVERIFY(window.hiddenEdit->isHidden());
    QVERIFY(window.button->isVisible());
    QVERIFY(window.frame->isVisible());
    QVERIFY(window.inFrame->isVisible());
    QVERIFY(window.input->isVisible());
    // The field being typed into keeps the focus throughout: a focus change would
    // make the input method commit what is being composed.
    QVERIFY(window.input->hasFocus());
    QCOMPARE(counter.losses, 0);
    QCOMPARE(window.input->geometry(), QRect(400, 300, 160, 48));
}

void LayoutTest::mainWindowScalesItsCentralArea() {
    auto state = makeState();
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("文件"));
    auto *central = new QWidget;
    window.setCentralWidget(central);
    auto *button = new QPushButton(QStringLiteral("退出"), central);
    window.resize(400, 300);
    button->setGeometry(40, 30, 80, 20);
    widgets::RecordControlLayout(window, state);
    const QSize design = central->size();
    QCOMPARE(state.DesignScaleWidth, design.width());
    QCOMPARE(state.DesignScaleHeight, design.height());
    const int menuHeight = window.menuBar()->sizeHint().height();

    window.resize(800, 300 + design.height()); // the central area doubles
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(central->size(), QSize(2 * design.width(), 2 * design.height()));
    widgets::ResizeForm(window, state);
    QCOMPARE(state.ScaleFactorX, 2.0);
    QCOMPARE(state.ScaleFactorY, 2.0);
    QCOMPARE(button->geometry(), QRect(80, 60, 160, 40));
    QCOMPARE(window.menuBar()->height(), menuHeight); // the menu bar is not a control
}

void LayoutTest::controlsOutsideTheRecordStayWhereTheyAre() {
    auto state = makeState();
    QWidget window;
    window.resize(200, 100);
    // Placed by a layout: Qt's to place.
    auto *managedBox = new QWidget(&window);
    managedBox->setGeometry(0, 0, 100, 50);
    auto *inLayout = new QLineEdit(managedBox);
    auto *column = new QVBoxLayout(managedBox);
    column->addWidget(inLayout);
    auto *placed = new QPushButton(&window);
    placed->setGeometry(120, 10, 60, 20);
    widgets::RecordControlLayout(window, state);
    auto *later = new QPushButton(&window); // created after the layout was recorded
    later->setGeometry(5, 70, 30, 20);

    window.resize(400, 200);
    const QRect managedBefore = inLayout->geometry();
    widgets::ScaleControls(window, state);
    QCOMPARE(placed->geometry(), QRect(240, 20, 120, 40));
    QCOMPARE(managedBox->geometry(), QRect(0, 0, 200, 100));
    QCOMPARE(later->geometry(), QRect(5, 70, 30, 20));
    QCOMPARE(inLayout->geometry(), managedBefore);
}

void LayoutTest::hasVisibleProperty_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::newRow("a widget") << "widget" << true;
    QTest::newRow("a menu item") << "action" << true;
    QTest::newRow("a timer has no position or visibility") << "timer" << false;
}

void LayoutTest::hasVisibleProperty() {
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    std::unique_ptr<QObject> control;
    if (kind == QLatin1String("widget"))
        control = std::make_unique<QWidget>();
    else if (kind == QLatin1String("action"))
        control = std::make_unique<QAction>();
    else
        control = std::make_unique<QTimer>();
    QCOMPARE(widgets::HasVisibleProperty(*control), expected);
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
