// The options dialog, driven through its controls over the settings store of the
// test's home.
#include "options/frmoptions.h"

#include "coding/colorref.h"
#include "coding/settings.h"
#include "prepare/frmdeffilter.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using coding::MsgIcon;
using coding::Settings;
using options::frmOptions;
using Key = coding::Settings::Key;

namespace {

// COLORREF values (0x00BBGGRR).
constexpr qint32 kBlack = 0, kBlue = 0xFF0000, kGreen = 0x00FF00, kRed = 0x0000FF,
                 kMagenta = 0xFF00FF, kCyan = 0xFFFF00, kGrey = 0x808080, kOrange = 0x0080FF;

QColor colour(qint32 ref) {
    return coding::colorFromColorRef(ref);
}

} // namespace

class FrmOptionsTest : public QObject {
    Q_OBJECT

    struct Fixture {
        QTemporaryDir appDir;
        coding::AppState state{coding::AppDirectory::at(appDir.path()),
                               std::make_unique<coding::FakeLibrary>()};
        coding::FakeMessages messages;
        coding::FakeColors colors;
        coding::FakeBeep beep;
        QStringList dialogs;
        std::unique_ptr<frmOptions> dialog;

        Fixture() {
            QSettings(QSettings::NativeFormat, QSettings::UserScope, "Trevix2006", "Trevix2006")
                .clear();
            coding::LoadSettings(state); // the defaults, seeded and loaded
            state.services.setMessages(&messages);
            state.services.setColors(&colors);
            state.services.setBeep(&beep);
        }
        frmOptions &open() {
            dialog = std::make_unique<frmOptions>(state);
            dialog->execDialog = [this](QDialog &d) {
                dialogs << QString::fromLatin1(d.metaObject()->className());
                return 0;
            };
            dialog->show();
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog.get()))
                qWarning("the options dialog did not become active");
            return *dialog;
        }
        // Near the left edge, where a check box or option button has its mark.
        void click(QAbstractButton *button) {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        }
        void pick(frmOptions::ColorButton button, std::optional<qint32> ref) {
            colors.answers.enqueue(ref ? std::optional<QColor>(colour(*ref)) : std::nullopt);
            click(dialog->colorButtons[button]);
        }
        void typeLimit(const QString &text) {
            dialog->txtLimitTime->clear();
            QTest::keyClicks(dialog->txtLimitTime, text);
        }
        static QString stored(Key key) { return Settings().storedText(key); }
    };

private slots:
    void itShowsTheSettingsOfTheProgram() {
        Fixture f;
        f.state.settings.AltColor1 = kGrey;
        f.state.settings.NeedFc = false;
        f.state.settings.IsLimitTime = true;
        f.state.settings.LimitTimeLen = 12;
        frmOptions &d = f.open();
        QCOMPARE(d.windowTitle(), QStringLiteral("选项设置"));
        QCOMPARE(d.buttonColor(frmOptions::Alt1), kGrey);
        QCOMPARE(d.colorButtons[frmOptions::Alt1]->property("colorref").toInt(), kGrey);
        QCOMPARE(d.buttonColor(frmOptions::Alt2), kBlue);
        QCOMPARE(d.buttonColor(frmOptions::Alpha), kCyan);
        QVERIFY(!d.ckNeedFc->isChecked());
        QVERIFY(d.ckAutoOpenIme->isChecked() && d.ckJmTips->isChecked());
        QVERIFY(d.opLimitTime->isChecked());
        QCOMPARE(d.txtLimitTime->text(), QStringLiteral("12"));
        QVERIFY(d.txtLimitTime->isEnabled());
        // The two choices switch the box.
        f.click(d.opNoLimitTime);
        QVERIFY(!d.txtLimitTime->isEnabled());
        f.click(d.opLimitTime);
        QVERIFY(d.txtLimitTime->isEnabled());
    }

    void theTimeLimitIsFiveToNinetyNineMinutesStoredAsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("minutes");
        QTest::newRow("5") << "5" << true << "5" << 5;
        QTest::newRow("05 as typed") << "05" << true << "05" << 5;
        QTest::newRow("99") << "99" << true << "99" << 99;
        QTest::newRow("4") << "4" << false << "30" << 30;
        QTest::newRow("empty") << "" << false << "30" << 30;
    }
    void theTimeLimitIsFiveToNinetyNineMinutesStoredAsTyped() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        QFETCH(int, minutes);
        Fixture f;
        f.state.settings.LimitTimeLen = 30;
        Settings().save(f.state.settings, Key::LimitTimeLen);
        frmOptions &d = f.open();
        f.click(d.opLimitTime);
        f.typeLimit(typed);
        f.click(d.ckNeedFc); // another setting, written in any case
        f.click(d.cmdOK);
        QCOMPARE(d.isVisible(), !accepted);
        QCOMPARE(Fixture::stored(Key::LimitTimeLen), stored);
        QCOMPARE(f.state.settings.LimitTimeLen, minutes);
        QVERIFY(f.state.settings.IsLimitTime);
        QCOMPARE(Fixture::stored(Key::IsLimitTime), QStringLiteral("True"));
        QCOMPARE(Fixture::stored(Key::NeedFc), QStringLiteral("False"));
        if (accepted) {
            QVERIFY(f.messages.shown.isEmpty());
        } else {
            QCOMPARE(f.messages.lastText(),
                     QStringLiteral("输入的限制时间为(5～99)分钟，请重新输入！"));
            QCOMPARE(f.messages.shown.last().icon, MsgIcon::Exclamation);
            QCOMPARE(QApplication::focusWidget(), d.txtLimitTime);
        }
    }

    void withoutALimitTheBoxIsNeitherCheckedNorStored() {
        Fixture f;
        frmOptions &d = f.open();
        f.click(d.opLimitTime);
        f.typeLimit(QStringLiteral("3"));
        f.click(d.opNoLimitTime);
        f.click(d.cmdOK);
        QVERIFY(!d.isVisible());
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(!f.state.settings.IsLimitTime);
        QCOMPARE(Fixture::stored(Key::IsLimitTime), QStringLiteral("False"));
        QCOMPARE(Fixture::stored(Key::LimitTimeLen), QStringLiteral("5")); // the default
    }

    void theLimitBoxTakesDigitsOnly() {
        Fixture f;
        frmOptions &d = f.open();
        f.click(d.opLimitTime);
        d.txtLimitTime->clear();
        QTest::keyClicks(d.txtLimitTime, QStringLiteral("a1"));
        QCOMPARE(f.beep.count, 1);
        QCOMPARE(d.txtLimitTime->text(), QStringLiteral("1"));
        QTest::keyClick(d.txtLimitTime, Qt::Key_Backspace);
        QCOMPARE(d.txtLimitTime->text(), QString());
        QTest::keyClicks(d.txtLimitTime, QStringLiteral("123"));
        QCOMPARE(d.txtLimitTime->text(), QStringLiteral("12")); // two characters at most
        QCOMPARE(f.beep.count, 1);
    }

    void aColourUsedByAnotherButtonIsRefused() {
        Fixture f;
        frmOptions &d = f.open();
        f.pick(frmOptions::Alt1, kRed); // the error colour
        QCOMPARE(f.messages.lastText(),
                 QStringLiteral("所选颜色与已使用的颜色相同，请使用其它颜色！"));
        QCOMPARE(f.messages.shown.last().title, QStringLiteral("提示信息"));
        QCOMPARE(d.buttonColor(frmOptions::Alt1), kBlack);
        QVERIFY(d.colorChanged()); // it differed from the button's colour
        f.pick(frmOptions::Alt1, kOrange);
        QCOMPARE(d.buttonColor(frmOptions::Alt1), kOrange);
        QCOMPARE(f.messages.shown.size(), 1);
    }

    void whichColoursCountAsChanged_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<std::optional<qint32>>("picked");
        QTest::addColumn<bool>("changed");
        QTest::newRow("alternate colour, new")
            << int(frmOptions::Alt2) << std::optional(kOrange) << true;
        QTest::newRow("alternate colour, same")
            << int(frmOptions::Alt2) << std::optional(kBlue) << false;
        QTest::newRow("symbol colour, new")
            << int(frmOptions::Sym) << std::optional(kOrange) << true;
        QTest::newRow("letter colour, new")
            << int(frmOptions::Alpha) << std::optional(kOrange) << true;
        QTest::newRow("right colour, same")
            << int(frmOptions::Right) << std::optional(kGreen) << true;
        QTest::newRow("error colour, new")
            << int(frmOptions::Error) << std::optional(kOrange) << false;
        QTest::newRow("cancelled") << int(frmOptions::Alt1) << std::optional<qint32>() << false;
    }
    void whichColoursCountAsChanged() {
        QFETCH(int, button);
        QFETCH(std::optional<qint32>, picked);
        QFETCH(bool, changed);
        Fixture f;
        frmOptions &d = f.open();
        const qint32 before = d.buttonColor(frmOptions::ColorButton(button));
        f.pick(frmOptions::ColorButton(button), picked);
        QCOMPARE(d.colorChanged(), changed);
        QCOMPARE(d.buttonColor(frmOptions::ColorButton(button)), picked.value_or(before));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void okWritesEveryColourAndSignalsTheDisplay() {
        Fixture f;
        frmOptions &d = f.open();
        QSignalSpy display(&d, &frmOptions::displayChanged);
        f.pick(frmOptions::Sym, kOrange);
        f.click(d.cmdOK);
        QVERIFY(!d.isVisible());
        QCOMPARE(f.state.settings.SymColor, kOrange);
        QCOMPARE(Fixture::stored(Key::SymColor), QString::number(kOrange));
        QCOMPARE(display.count(), 1);

        // Only the error colour: nothing to colour again.
        frmOptions &again = f.open();
        QSignalSpy quiet(&again, &frmOptions::displayChanged);
        f.pick(frmOptions::Error, kGrey);
        f.click(again.cmdOK);
        QCOMPARE(f.state.settings.ErrorColor, kGrey);
        QCOMPARE(quiet.count(), 0);

        // A switch that colours the text does.
        frmOptions &third = f.open();
        QSignalSpy switched(&third, &frmOptions::displayChanged);
        f.click(third.ckJmTips);
        f.click(third.cmdOK);
        QVERIFY(!f.state.settings.NeedJmTips);
        QCOMPARE(Fixture::stored(Key::NeedJmTips), QStringLiteral("False"));
        QCOMPARE(switched.count(), 1);
    }

    void defaultColoursStayInTheProgramAfterCancelButAreNotStored() {
        Fixture f;
        f.state.settings.AltColor1 = kGrey;
        f.state.settings.RightColor = kOrange;
        Settings().saveAll(f.state.settings);
        frmOptions &d = f.open();
        f.click(d.cmdResetColor);
        QCOMPARE(d.buttonColor(frmOptions::Alt1), kBlack);
        QCOMPARE(d.buttonColor(frmOptions::Right), kGreen);
        QVERIFY(d.colorChanged()); // 交替颜色一 changed
        f.click(d.cmdCancel);
        QVERIFY(!d.isVisible());
        QCOMPARE(f.state.settings.AltColor1, kBlack);
        QCOMPARE(f.state.settings.RightColor, kGreen);
        QCOMPARE(f.state.settings.AlphaColor, kCyan);
        QCOMPARE(Fixture::stored(Key::AltColor1), QString::number(kGrey));
        QCOMPARE(Fixture::stored(Key::RightColor), QString::number(kOrange));

        // Only the right colour back to its default does not count as changed.
        Fixture g;
        g.state.settings.RightColor = kOrange;
        frmOptions &e = g.open();
        g.click(e.cmdResetColor);
        QVERIFY(!e.colorChanged());
        QCOMPARE(g.state.settings.SymColor, kMagenta);
    }

    void theFilterSymbolsOpenFromTheDialog() {
        Fixture f;
        frmOptions &d = f.open();
        f.click(d.cmdDefineFilter);
        QCOMPARE(f.dialogs, QStringList{QStringLiteral("prepare::frmDefFilter")});
        QVERIFY(d.isVisible());
    }
};

QTEST_MAIN(FrmOptionsTest)
#include "frmoptions_test.moc"
