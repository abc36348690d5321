// The filter-symbol dialog, driven through its controls over a filter list in a
// temporary application directory.
#include "prepare/frmdeffilter.h"

#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using prepare::frmDefFilter;

namespace {
QByteArray gb18030(const QString &text) {
    return QStringEncoder("GB18030")(text);
}
const QByteArray InitialList =
    gb18030(QStringLiteral("a      字母\r\n\r\na      字母表\r\n,      逗号\r\n"));
} // namespace

class FrmDefFilterTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        QTemporaryDir appDir;
        coding::AppState state{coding::AppDirectory::at(appDir.path()),
                               std::make_unique<coding::FakeLibrary>()};
        coding::FakeMessages messages;
        std::unique_ptr<frmDefFilter> dialog;

        explicit Fixture(const QByteArray &list = InitialList, const char *name = "filter.dat") {
            state.services.setMessages(&messages);
            if (!list.isNull()) {
                QFile file(appDir.filePath(QString::fromLatin1(name)));
                file.open(QIODevice::WriteOnly);
                file.write(list);
            }
            dialog = std::make_unique<frmDefFilter>(state);
            dialog->show();
        }
        QByteArray fileBytes(const char *name = "filter.dat") {
            QFile file(appDir.filePath(QString::fromLatin1(name)));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
        }
        bool backupExists() { return QFile::exists(appDir.filePath("OldFilter.dat")); }
        template <typename T> T *control(const char *name) {
            return dialog->findChild<T *>(QString::fromLatin1(name));
        }
        QStringList listed() {
            QStringList items;
            auto *list = control<QListWidget>("listofFilters");
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            return items;
        }
        void click(const char *name) {
            QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
        }
        // Types text as a learner does: ASCII on the keyboard, Chinese committed by
        // the input method.
        void type(const char *field, const QString &text) {
            auto *edit = control<QLineEdit>(field);
            edit->clear();
            for (const QChar ch : text) {
                if (ch.unicode() < 0x80) {
                    QTest::keyClicks(edit, QString(ch));
                } else {
                    QInputMethodEvent commit;
                    commit.setCommitString(QString(ch));
                    QApplication::sendEvent(edit, &commit);
                }
            }
        }
        void add(const QString &symbol, const QString &description) {
            type("txtSymbol", symbol);
            type("txtSymbolSpe", description);
            click("cmdAddFilter");
        }
        void select(int row) {
            auto *list = control<QListWidget>("listofFilters");
            const QRect rect = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
    };

private slots:
    void loadsTheListAndTakesTheBackup() {
        Fixture f;
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("自定义过滤符号"));
        const struct {
            const char *name, *caption;
        } labels[] = {{"Label1", "已定义的过滤符号："},
                      {"Label2", "输入符号："},
                      {"Label3", "输入符号的说明："}},
          buttons[] = {{"cmdAddFilter", "增加(&A)"},
                       {"cmdDelFilter", "删除(&D)"},
                       {"cmdOK", "确定(&O)"},
                       {"cmdCancel", "取消(&C)"}};
        for (const auto &l : labels)
            QCOMPARE(f.control<QLabel>(l.name)->text(), QString::fromUtf8(l.caption));
        for (const auto &b : buttons)
            QCOMPARE(f.control<QPushButton>(b.name)->text(), QString::fromUtf8(b.caption));
        QVERIFY(f.control<QPushButton>("cmdOK")->isDefault());

        QCOMPARE(f.listed(),
                 QStringList({QStringLiteral("a      字母"), QStringLiteral("a      字母表"),
                              QStringLiteral(",      逗号")}));
        QVERIFY(!f.control<QPushButton>("cmdAddFilter")->isEnabled());
        QVERIFY(!f.control<QPushButton>("cmdDelFilter")->isEnabled());
        QCOMPARE(f.fileBytes("OldFilter.dat"), InitialList);
        QVERIFY(f.messages.shown.isEmpty());
    }

    void addIsEnabledByBothFieldsWithinTheirLimits() {
        Fixture f;
        auto *add = f.control<QPushButton>("cmdAddFilter");
        f.type("txtSymbol", QStringLiteral("——"));
        QVERIFY(!add->isEnabled());
        f.type("txtSymbolSpe", QStringLiteral("破折号"));
        QVERIFY(add->isEnabled());
        f.type("txtSymbol", QString());
        QVERIFY(!add->isEnabled());

        f.type("txtSymbol", QStringLiteral("a b<>?"));
        QCOMPARE(f.control<QLineEdit>("txtSymbol")->text(), QStringLiteral("ab<>"));
        f.type("txtSymbolSpe", QStringLiteral("一二三 四五六七"));
        QCOMPARE(f.control<QLineEdit>("txtSymbolSpe")->text(), QStringLiteral("一二三 四五"));
    }

    void addingWritesTheEntryAtOnce() {
        Fixture f;
        f.add(QStringLiteral(";"), QStringLiteral("分号"));
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.listed().last(), QStringLiteral(";      分号"));
        QCOMPARE(f.fileBytes(), InitialList + gb18030(QStringLiteral(";      分号\r\n")));
        QVERIFY(f.control<QLineEdit>("txtSymbol")->text().isEmpty());
        QVERIFY(f.control<QLineEdit>("txtSymbolSpe")->text().isEmpty());
        QVERIFY(!f.control<QPushButton>("cmdAddFilter")->isEnabled());
    }

    void aDefinedSymbolIsRefusedInAnyCase_data() {
        QTest::addColumn<QString>("symbol");
        QTest::newRow("same_case") << QStringLiteral("a");
        QTest::newRow("other_case") << QStringLiteral("A");
        QTest::newRow("two_characters") << QStringLiteral("AB");
    }
    void aDefinedSymbolIsRefusedInAnyCase() {
        QFETCH(QString, symbol);
        Fixture f(InitialList + "ab      双字母\r\n");
        const QByteArray before = f.fileBytes();
        f.add(symbol, QStringLiteral("重复"));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.lastText(), QStringLiteral("你所输入的符号已定义！"));
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("提示信息"));
        QCOMPARE(f.messages.shown[0].icon, coding::MsgIcon::Exclamation);
        QCOMPARE(f.fileBytes(), before);
        QCOMPARE(f.listed().size(), 4);
        QVERIFY(f.control<QLineEdit>("txtSymbol")->text().isEmpty());
        QVERIFY(f.control<QLineEdit>("txtSymbolSpe")->text().isEmpty());
    }

    void deletingRemovesExactlyTheSelectedEntry() {
        Fixture f;
        auto *del = f.control<QPushButton>("cmdDelFilter");
        f.select(0);
        QVERIFY(del->isEnabled());
        f.click("cmdDelFilter");
        QCOMPARE(f.listed(),
                 QStringList({QStringLiteral("a      字母表"), QStringLiteral(",      逗号")}));
        // The empty line stays; the entry that contains the deleted text stays.
        QCOMPARE(f.fileBytes(), gb18030(QStringLiteral("\r\na      字母表\r\n,      逗号\r\n")));
        QVERIFY(!del->isEnabled());
    }

    void cancelRestoresTheListByteForByte() {
        for (const bool escape : {false, true}) {
            Fixture f;
            f.add(QStringLiteral(";"), QStringLiteral("分号"));
            f.add(QStringLiteral("#"), QStringLiteral("井号"));
            f.select(2);
            f.click("cmdDelFilter");
            QVERIFY(f.fileBytes() != InitialList);
            if (escape)
                QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
            else
                f.click("cmdCancel");
            QCOMPARE(f.fileBytes(), InitialList);
            QVERIFY(!f.dialog->isVisible());
            QVERIFY(!f.backupExists());
        }
    }

    void okAndClosingKeepTheChanges() {
        for (const bool close : {false, true}) {
            Fixture f;
            f.add(QStringLiteral(";"), QStringLiteral("分号"));
            if (close)
                f.dialog->close();
            else
                f.click("cmdOK");
            QCOMPARE(f.fileBytes(), InitialList + gb18030(QStringLiteral(";      分号\r\n")));
            QVERIFY(!f.dialog->isVisible());
            QVERIFY(!f.backupExists());
        }
    }

    void aMissingListStartsEmptyAndCancelLeavesItEmpty() {
        Fixture f(QByteArray{});
        QVERIFY(f.listed().isEmpty());
        f.add(QStringLiteral("★"), QStringLiteral("星"));
        QCOMPARE(f.fileBytes(), gb18030(QStringLiteral("★      星\r\n")));
        f.click("cmdCancel");
        QVERIFY(f.fileBytes().isEmpty());
    }

    void theListFileNameIgnoresLetterCase() {
        Fixture f(InitialList, "FILTER.DAT");
        QCOMPARE(f.listed().size(), 3);
        f.add(QStringLiteral(";"), QStringLiteral("分号"));
        QCOMPARE(f.fileBytes("FILTER.DAT"),
                 InitialList + gb18030(QStringLiteral(";      分号\r\n")));
        QVERIFY(!QFile::exists(f.appDir.filePath("filter.dat")));
        f.click("cmdCancel");
        QCOMPARE(f.fileBytes("FILTER.DAT"), InitialList);
    }

    void anUnusableListIsReported() {
        QTemporaryDir dir;
        Fixture f(QByteArray{});
        f.dialog.reset();
        QVERIFY(QDir(f.appDir.path()).mkdir(QStringLiteral("filter.dat")));
        f.dialog = std::make_unique<frmDefFilter>(f.state);
        QVERIFY(!f.messages.shown.isEmpty());
        QVERIFY(f.messages.lastText().contains(QStringLiteral("filter.dat")));
        const qsizetype shown = f.messages.shown.size();
        f.add(QStringLiteral(";"), QStringLiteral("分号"));
        QCOMPARE(f.messages.shown.size(), shown + 1);
        QVERIFY(f.listed().isEmpty());
        // The input stays, so that nothing typed is lost.
        QCOMPARE(f.control<QLineEdit>("txtSymbol")->text(), QStringLiteral(";"));
    }
};

QTEST_MAIN(FrmDefFilterTest)
#include "frmdeffilter_test.moc"
