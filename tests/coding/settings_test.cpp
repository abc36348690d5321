// The per-user settings: seeding, loading, writing back, and the digit-only key filter.
#include "coding/appstate.h"
#include "coding/colorref.h"
#include "coding/filterkey.h"
#include "coding/settings.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

#include <QSettings>

namespace coding {
namespace {

// The store as any other program would see it.
class RawStore {
public:
    RawStore() : m_s(QSettings::NativeFormat, QSettings::UserScope, "Trevix2006", "Trevix2006") {
        m_s.beginGroup(QStringLiteral("用户设置"));
    }
    void clear() {
        m_s.remove(QString());
        m_s.sync();
    }
    void set(const QString &key, const QString &value) {
        m_s.setValue(key, value);
        m_s.sync();
    }
    QString text(const QString &key) {
        m_s.sync();
        return m_s.value(key).toString();
    }
    QStringList keys() {
        m_s.sync();
        return m_s.childKeys();
    }

private:
    QSettings m_s;
};

AppState freshState() {
    return AppState(AppDirectory::at(QStringLiteral("/nonexistent")), nullptr);
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The store is cleared: only ever in a private configuration directory.
        if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
            GTEST_SKIP() << "run through ctest, which gives the test its own XDG_CONFIG_HOME";
        store.clear();
    }
    RawStore store;
};

TEST_F(SettingsTest, EmptyStoreIsSeededWithTheStoredFormsOfTheDefaults) {
    AppState s = freshState();
    LoadSettings(s);

    const QList<std::pair<QString, QString>> expected = {
        {"交替颜色一", "0"},       {"交替颜色二", "16711680"},   {"正确文字颜色", "65280"},
        {"错误文字颜色", "255"},   {"标点符号颜色", "16711935"}, {"字母及数字颜色", "16776960"},
        {"需要简码提示", "True"},  {"需要分词", "True"},         {"是否自动打开输入法", "True"},
        {"是否限制时间", "False"}, {"限制时间长度", "5"},
    };
    EXPECT_EQ(store.keys().size(), expected.size());
    for (const auto &[key, text] : expected)
        EXPECT_EQ(store.text(key), text) << key.toStdString();

    EXPECT_EQ(s.settings.AltColor1, 0);
    EXPECT_EQ(s.settings.AltColor2, 0xFF0000);
    EXPECT_EQ(s.settings.RightColor, 0x00FF00);
    EXPECT_EQ(s.settings.ErrorColor, 0x0000FF);
    EXPECT_EQ(s.settings.SymColor, 0xFF00FF);
    EXPECT_EQ(s.settings.AlphaColor, 0xFFFF00);
    EXPECT_TRUE(s.settings.NeedJmTips);
    EXPECT_TRUE(s.settings.NeedFc);
    EXPECT_TRUE(s.settings.AutoOpenIme);
    EXPECT_FALSE(s.settings.IsLimitTime);
    EXPECT_EQ(s.settings.LimitTimeLen, 5);
}

// Each row: what the store holds for one key before loading, what the field
// becomes, and what the store holds afterwards.
TEST_F(SettingsTest, StoredValuesAreLoadedOrFallBackToTheDefault) {
    struct Case {
        const char *name;
        QString key, stored;
        std::function<int(const AppState &)> field;
        int loaded;
        QString storedAfter;
    };
    const auto alt2 = [](const AppState &s) { return s.settings.AltColor2; };
    const auto limit = [](const AppState &s) { return s.settings.LimitTimeLen; };
    const auto needFc = [](const AppState &s) { return int(s.settings.NeedFc); };
    const auto isLimit = [](const AppState &s) { return int(s.settings.IsLimitTime); };
    const QList<Case> cases = {
        {"zero_colour_is_not_reseeded", "交替颜色二", "0", alt2, 0, "0"},
        {"empty_value_is_reseeded", "交替颜色二", "", alt2, 16711680, "16711680"},
        {"hand_written_limit_beyond_the_dialog_range", "限制时间长度", "120", limit, 120, "120"},
        {"garbage_colour_falls_back", "交替颜色二", "blue", alt2, 16711680, "blue"},
        {"colour_beyond_32_bits_falls_back", "交替颜色二", "4294967296", alt2, 16711680,
         "4294967296"},
        {"limit_beyond_16_bits_falls_back", "限制时间长度", "40000", limit, 5, "40000"},
        {"garbage_switch_falls_back", "需要分词", "maybe", needFc, 1, "maybe"},
        {"lower_case_false", "需要分词", "false", needFc, 0, "false"},
        {"numeric_zero_is_false", "需要分词", "0", needFc, 0, "0"},
        {"other_number_is_true", "是否限制时间", "-1", isLimit, 1, "-1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        store.clear();
        store.set(c.key, c.stored);
        AppState s = freshState();
        LoadSettings(s);
        EXPECT_EQ(c.field(s), c.loaded);
        EXPECT_EQ(store.text(c.key), c.storedAfter);
    }
}

TEST_F(SettingsTest, WriterStoresTheFieldsInTheirStoredForms) {
    AppState s = freshState();
    LoadSettings(s);
    s.settings.AltColor1 = colorRefFromColor(QColor(0x12, 0x34, 0x56));
    s.settings.NeedJmTips = false;
    s.settings.IsLimitTime = true;
    s.settings.LimitTimeLen = 42;
    {
        Settings settings;
        ASSERT_TRUE(settings.save(s.settings, Settings::Key::LimitTimeLen));
    }
    EXPECT_EQ(store.text("限制时间长度"), "42");
    EXPECT_EQ(store.text("交替颜色一"), "0"); // only the one key was written

    ASSERT_TRUE(Settings().saveAll(s.settings));
    EXPECT_EQ(store.text("交替颜色一"), QString::number(0x563412));
    EXPECT_EQ(store.text("需要简码提示"), "False");
    EXPECT_EQ(store.text("是否限制时间"), "True");

    AppState again = freshState();
    LoadSettings(again);
    EXPECT_EQ(again.settings.AltColor1, s.settings.AltColor1);
    EXPECT_FALSE(again.settings.NeedJmTips);
    EXPECT_TRUE(again.settings.IsLimitTime);
    EXPECT_EQ(again.settings.LimitTimeLen, 42);

    // Resetting the colours touches the six colours only, and not the store.
    again.settings.RightColor = 1;
    Settings::resetColors(again.settings);
    EXPECT_EQ(again.settings.AltColor1, 0);
    EXPECT_EQ(again.settings.RightColor, 65280);
    EXPECT_EQ(again.settings.LimitTimeLen, 42);
    EXPECT_EQ(store.text("交替颜色一"), QString::number(0x563412));
}

TEST(ColorRef, RedIsInTheLowByte) {
    struct Case {
        const char *name;
        qint32 ref;
        QColor color;
    } const cases[] = {
        {"black", 0, QColor(0, 0, 0)},
        {"red", 255, QColor(255, 0, 0)},
        {"green", 65280, QColor(0, 255, 0)},
        {"blue", 16711680, QColor(0, 0, 255)},
        {"mixed", 0x00563412, QColor(0x12, 0x34, 0x56)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(colorFromColorRef(c.ref), c.color);
        EXPECT_EQ(colorRefFromColor(c.color), c.ref);
    }
}

TEST(FilterKey, DigitsAndBackspacePassOthersBeep) {
    const QString digits = QStringLiteral("0123456789");
    struct Case {
        const char *name;
        int key;
        QString allowed;
        bool withBackspace;
        int result;
        int beeps;
    } const cases[] = {
        {"digit", '8', digits, true, 56, 0},
        {"backspace", 8, digits, true, 8, 0},
        {"letter", 'a', digits, true, 0, 1},
        {"backspace_not_allowed", 8, digits, false, 0, 1},
        {"letter_case_is_ignored", 'a', QStringLiteral("ABC"), false, 'a', 0},
        {"not_a_character", 0x1FFFF, digits, true, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeBeep beep;
        EXPECT_EQ(FilterKey(c.key, c.allowed, c.withBackspace, beep), c.result);
        EXPECT_EQ(beep.count, c.beeps);
    }
}

} // namespace
} // namespace coding
