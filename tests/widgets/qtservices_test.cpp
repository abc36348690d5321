// The message service of a real run: a modal message box with the captions of a
// Chinese system, and the answer of the button pressed.

#include "widgets/qtservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
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
    void filterSuffix_data();
    void filterSuffix();
    void saveDialogGivesTheSuffixOfTheChosenFilter_data();
    void saveDialogGivesTheSuffixOfTheChosenFilter();
};

void QtServicesTest::filterSuffix_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("example") << QStringLiteral("分词例文(*.sav)") << QStringLiteral("sav");
    QTest::newRow("two patterns") << QStringLiteral("文本(*.txt *.text)") << QStringLiteral("txt");
    QTest::newRow("any file") << QStringLiteral("所有文件(*)") << QString();
    QTest::newRow("no pattern") << QStringLiteral("纯文本") << QString();
}

void QtServicesTest::filterSuffix() {
    QFETCH(QString, filter);
    QFETCH(QString, suffix);
    QCOMPARE(widgets::filterSuffix(filter), suffix);
}

void QtServicesTest::saveDialogGivesTheSuffixOfTheChosenFilter_data() {
    QTest::addColumn<int>("filterIndex"); // -1: the user leaves the first one
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("filter");
    QTest::newRow("default") << -1 << QStringLiteral("例文") << QStringLiteral("例文.sav")
                             << QStringLiteral("分词例文(*.sav)");
    QTest::newRow("plain text") << 1 << QStringLiteral("例文") << QStringLiteral("例文.txt")
                                << QStringLiteral("纯文本(*.txt)");
    QTest::newRow("own suffix") << -1 << QStringLiteral("例文.rtf") << QStringLiteral("例文.rtf")
                                << QStringLiteral("分词例文(*.sav)");
}

void QtServicesTest::saveDialogGivesTheSuffixOfTheChosenFilter() {
    QFETCH(int, filterIndex);
    QFETCH(QString, typed);
    QFETCH(QString, file);
    QFETCH(QString, filter);
    QTemporaryDir dir;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (filterIndex >= 0) {
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            QVERIFY(types);
            types->setCurrentIndex(filterIndex);
            emit types->activated(filterIndex);
            emit types->textActivated(types->itemText(filterIndex));
        }
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    widgets::QtFiles files;
    QString chosen;
    const QString path = files.getSaveFileName(QStringLiteral("保存"),
                                               QStringLiteral("分词例文(*.sav);;纯文本(*.txt)"),
                                               dir.path(), QStringLiteral("sav"), &chosen);
    QCOMPARE(path, dir.filePath(file));
    QCOMPARE(chosen, filter);
}

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
