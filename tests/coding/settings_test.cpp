// The per-user settings: seeding, loading, writing back, and the digit-only key filter.
#include "coding/appstate.h"
#include "coding/colorref.h"
#include "coding/filterkey.h"
#include "coding/settings.h"
#include "coding/settingsfile.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

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
        QFile::remove(SettingsFile::defaultPath());
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

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// What QSettings would turn into a picture of 30000 x 30000 pixels (3.6 GB) when it
// reads the file: the stream of a QImage header, as "@Variant(...)" escapes it.
QByteArray hugePictureValue() {
    QByteArray stream;
    QDataStream out(&stream, QIODevice::WriteOnly);
    out << quint32(QMetaType::QImage) << qint8(0);
    // A PNG header that claims 30000 x 30000 pixels, with nothing after it.
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d494844520000753000007530"
                                               "0806000000");
    out << png;
    QByteArray escaped;
    for (const char c : stream)
        escaped += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
    return "@Variant(" + escaped + ")";
}

TEST(SettingsFile, ValuesThatAreNoPlainTextGiveTheDefaultsAndStayInTheFile) {
    // (A file of its own: QSettings itself must never read this one.)
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Trevix2006.conf"));
    const QByteArray picture = hugePictureValue();
    const QByteArray before = "[%U7528%U6237%U8BBE%U7F6E]\n"
                              "%U4EA4%U66FF%U989C%U8272%U4E00=" +
                              picture +
                              "\n"
                              "%U9700%U8981%U5206%U8BCD=@ByteArray(False)\n"
                              "%U9650%U5236%U65F6%U95F4%U957F%U5EA6=@@7\n"
                              "[other]\npicture=" +
                              picture + "\n";
    writeBytes(path, before);
    SettingValues values;
    {
        Settings settings(path);
        settings.seedDefaults();
        settings.loadInto(values);
    }
    EXPECT_EQ(values.AltColor1, 0) << "the default";
    EXPECT_TRUE(values.NeedFc) << "the default";
    EXPECT_EQ(values.LimitTimeLen, 5) << "\"@7\" is no number: the default";
    EXPECT_EQ(values.RightColor, 0x00FF00) << "seeded";
    // Seeding wrote the missing keys; the lines it did not own are as they were.
    const QByteArray after = fileBytes(path);
    EXPECT_TRUE(after.contains("%U4EA4%U66FF%U989C%U8272%U4E00=" + picture + "\n"));
    EXPECT_TRUE(after.contains("[other]\npicture=" + picture + "\n"));
    EXPECT_TRUE(after.contains("=@@7\n"));
    EXPECT_TRUE(after.contains("%U6B63%U786E%U6587%U5B57%U989C%U8272=65280\n"));
}

TEST_F(SettingsTest, QSettingsAndTheProgramReadEachOthersFiles) {
    // Written by QSettings, with a value that needs quotes and escapes, read here.
    store.set(QStringLiteral("交替颜色二"), QStringLiteral(" 255"));
    store.set(QStringLiteral("限制时间长度"), QStringLiteral("a,b;\"c\"\\"));
    {
        Settings settings;
        EXPECT_EQ(settings.storedText(Settings::Key::AltColor2), QStringLiteral(" 255"));
        EXPECT_EQ(settings.storedText(Settings::Key::LimitTimeLen), QStringLiteral("a,b;\"c\"\\"));
        // Written here, read by QSettings.
        EXPECT_TRUE(settings.saveText(Settings::Key::AltColor1, QStringLiteral("@x, \t=1 ")));
        EXPECT_TRUE(settings.saveText(Settings::Key::SymColor, QStringLiteral("数字")));
    }
    EXPECT_EQ(store.text(QStringLiteral("交替颜色一")), QStringLiteral("@x, \t=1 "));
    EXPECT_EQ(store.text(QStringLiteral("标点符号颜色")), QStringLiteral("数字"));
    EXPECT_EQ(store.text(QStringLiteral("交替颜色二")), QStringLiteral(" 255"));
}

TEST(SettingsFile, AFileTooLargeOrAFolderIsNeitherReadNorOverwritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Trevix2006.conf"));
    const QByteArray huge = "[x]\n" + QByteArray(SettingsFile::MaxFileSize, 'a') + "\n";
    writeBytes(path, huge);
    const QString folder = dir.filePath(QStringLiteral("folder.conf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString &p : {path, folder}) {
        SCOPED_TRACE(p.toStdString());
        Settings settings(p);
        EXPECT_FALSE(settings.loadError().isEmpty());
        SettingValues values;
        settings.seedDefaults();
        settings.loadInto(values);
        EXPECT_EQ(values.RightColor, 0x00FF00) << "the defaults";
        EXPECT_FALSE(settings.saveAll(values)) << "a save is refused, not done over the file";
    }
    EXPECT_EQ(fileBytes(path), huge);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(SettingsFile, WrittenAndReadAgainAFileStaysAsItWasWritten) {
    // Line ends of lone CRs, CR LF and none; a mark; comments and other groups.
    const QByteArray cases[] = {
        "\r\r",
        "a=1\r\n\r\n[g]\r\nb=2",
        "\xEF\xBB\xBF; comment\n[g]\nb = \" x \"\n[h]\nb=3\r",
        "[g\nb=1\n=2\n[]\nc=\\\n",
    };
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(bytes.toStdString());
        SettingsFile once(QStringLiteral("/nonexistent"));
        once.parse(bytes);
        SettingsFile twice(QStringLiteral("/nonexistent"));
        twice.parse(once.bytes());
        EXPECT_EQ(twice.bytes(), once.bytes());
    }
    // Any text set reads back as it was, U+FEFF (a byte-order mark to a UTF-8 reader)
    // and control characters before hex digits among them.
    for (const QString &text :
         {QStringLiteral("\uFEFF7F6E]"), QStringLiteral("a\uFEFFb"), QStringLiteral("\x1c😀\u0096"),
          QStringLiteral("\x01"
                         "1;,\"\\ ")}) {
        SettingsFile set(QStringLiteral("/nonexistent"));
        set.setValue(QStringLiteral("g"), QStringLiteral("k"), text);
        SettingsFile read(QStringLiteral("/nonexistent"));
        read.parse(set.bytes());
        EXPECT_EQ(read.value(QStringLiteral("g"), QStringLiteral("k")), text)
            << set.bytes().toStdString();
    }
    SettingsFile file(QStringLiteral("/nonexistent"));
    file.parse("[g]\nb = \" x \"\n[h]\nb=3\n");
    EXPECT_EQ(file.value(QStringLiteral("g"), QStringLiteral("b")), QStringLiteral(" x "));
    file.setValue(QStringLiteral("g"), QStringLiteral("c"), QStringLiteral("4"));
    file.setValue(QStringLiteral("h"), QStringLiteral("b"), QStringLiteral("5"));
    file.setValue(QStringLiteral("新"), QStringLiteral("键"), QStringLiteral("6"));
    EXPECT_EQ(file.bytes(), QByteArray("[g]\nb = \" x \"\nc=4\n[h]\nb=5\n\n[%U65B0]\n%U952E=6\n"));
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
