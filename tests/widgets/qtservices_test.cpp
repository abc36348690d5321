// The message service of a real run: a modal message box with the captions of a
// Chinese system, and the answer of the button pressed.

#include "widgets/qtservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using coding::MsgAnswer;
using coding::MsgButtons;
using coding::MsgIcon;

Q_DECLARE_METATYPE(MsgButtons)
Q_DECLARE_METATYPE(MsgAnswer)

class QtServicesTest : public QObject {
    Q_OBJECT
private slots:
    void messageBox_data();
    void messageBox();
};

void QtServicesTest::messageBox_data() {
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("pressed"); // index into captions
    QTest::addColumn<MsgAnswer>("answer");
    QTest::newRow("OK") << MsgButtons::Ok << QStringList{"确定"} << 0 << MsgAnswer::Ok;
    QTest::newRow("OK and Cancel, Cancel pressed")
        << MsgButtons::OkCancel << QStringList{"确定", "取消"} << 1 << MsgAnswer::Cancel;
    QTest::newRow("Yes and No, Yes pressed")
        << MsgButtons::YesNo << QStringList{"是(&Y)", "否(&N)"} << 0 << MsgAnswer::Yes;
    QTest::newRow("Yes and No, No pressed")
        << MsgButtons::YesNo << QStringList{"是(&Y)", "否(&N)"} << 1 << MsgAnswer::No;
}

void QtServicesTest::messageBox() {
    QFETCH(MsgButtons, buttons);
    QFETCH(QStringList, captions);
    QFETCH(int, pressed);
    QFETCH(MsgAnswer, answer);
    QStringList seen;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        QAbstractButton *toPress = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            seen << b->text();
            if (b->text() == captions.value(pressed))
                toPress = b;
        }
        if (toPress)
            QTest::mouseClick(toPress, Qt::LeftButton);
        else
            box->reject();
    });
    widgets::QtMessages messages;
    const MsgAnswer got = messages.show(QStringLiteral("确定要退出吗？"),
                                        QStringLiteral("提示信息"), buttons, MsgIcon::Question);
    QCOMPARE(text, QStringLiteral("确定要退出吗？"));
    QCOMPARE(title, QStringLiteral("提示信息"));
    QCOMPARE(icon, QMessageBox::Question);
    seen.sort();
    captions.sort();
    QCOMPARE(seen, captions);
    QCOMPARE(got, answer);
}

QTEST_MAIN(QtServicesTest)
#include "qtservices_test.moc"
