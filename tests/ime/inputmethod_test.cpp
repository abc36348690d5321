// Finding the Qorvan input method among the installed ones and switching around
// a test, against the fake framework.

#include "ime/ibusbackend.h"
#include "ime/inputmethod.h"
#include "support/fakeinputmethodbackend.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

using ime::FakeInputMethodBackend;
using ime::InputMethodInfo;

const QString kFourth = QStringLiteral("Qorvan输入法第四版");
const QString k2002 = QStringLiteral("Qorvan输入法2002简易版");
const QString kMissingText =
    QStringLiteral("本计算机未安装Qorvan输入法第四版，\r\n本软件大部分功能无法正常使用！");

class InputMethodTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    coding::AppState state{coding::AppDirectory::at(dir.path()), nullptr};
    coding::FakeMessages messages;
    FakeInputMethodBackend backend;

    void SetUp() override { state.services.setMessages(&messages); }
};

struct DetectCase {
    const char *name;
    QList<InputMethodInfo> installed;
    QString expectedHandle; // empty: not found, the message is shown
};

class DetectTest : public InputMethodTest, public ::testing::WithParamInterface<DetectCase> {};

TEST_P(DetectTest, FindsTheInputMethodByItsExactName) {
    backend.installed = GetParam().installed;
    ime::DetectInputMethod(state, &backend);

    EXPECT_EQ(state.inputMethod.ImeLayoutHandle, GetParam().expectedHandle);
    EXPECT_EQ(state.inputMethod.EnglishLayoutHandle, backend.englishId());
    EXPECT_EQ(state.inputMethod.backend, &backend);
    // Found or not, detection only notes the handles: nothing is switched yet.
    EXPECT_TRUE(backend.activations.isEmpty());
    if (GetParam().expectedHandle.isEmpty()) {
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, kMissingText);
        EXPECT_EQ(messages.shown[0].title, kFourth);
        EXPECT_EQ(messages.shown[0].buttons, coding::MsgButtons::Ok);
        EXPECT_EQ(messages.shown[0].icon, coding::MsgIcon::Critical);
    } else {
        EXPECT_TRUE(messages.shown.isEmpty());
    }
}

const InputMethodInfo kKeyboard{QStringLiteral("xkb:us::eng"), QStringLiteral("English (US)")};

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectTest,
    ::testing::Values(
        DetectCase{"FourthEditionOnly", {kKeyboard, {"table:q4", kFourth}}, "table:q4"},
        DetectCase{
            "BothFourthListedFirst", {{"table:q4", kFourth}, {"table:q2", k2002}}, "table:q4"},
        DetectCase{"BothFourthListedLast",
                   {{"table:q2", k2002}, kKeyboard, {"table:q4", kFourth}},
                   "table:q4"},
        DetectCase{"Only2002Edition", {kKeyboard, {"table:q2", k2002}}, "table:q2"},
        DetectCase{"NameOnlyContainsTheSearchedName",
                   {{"table:x", kFourth + QStringLiteral("(测试)")},
                    {"table:y", QStringLiteral("新") + kFourth}},
                   ""},
        DetectCase{"NameDiffersInCase", {{"table:x", QStringLiteral("qorvan输入法第四版")}}, ""},
        DetectCase{"NameWithTrailingBlank", {{"table:x", kFourth + QStringLiteral(" ")}}, ""},
        DetectCase{"ContainingNameIsPassedOverFor2002",
                   {{"table:x", kFourth + QStringLiteral("2")}, {"table:q2", k2002}},
                   "table:q2"},
        DetectCase{"FirstOfTwoWithTheSameName", {{"a", kFourth}, {"b", kFourth}}, "a"},
        DetectCase{"NothingInstalled", {}, ""},
        DetectCase{"OnlyOtherInputMethods", {kKeyboard, {"pinyin", QStringLiteral("拼音")}}, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(InputMethodTest, NoFrameworkRunningIsToldApartFromNotInstalled) {
    ime::DetectInputMethod(state, nullptr);

    // Not "not installed": no framework runs, and the message says how to start one.
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_NE(messages.shown[0].text, kMissingText);
    EXPECT_TRUE(messages.shown[0].text.startsWith(
        QStringLiteral("本计算机没有运行输入法框架（IBus 或 Fcitx 5）")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("fcitx5 -d")));
    EXPECT_EQ(messages.shown[0].title, kFourth);
    EXPECT_TRUE(state.inputMethod.ImeLayoutHandle.isEmpty());
    EXPECT_TRUE(state.inputMethod.EnglishLayoutHandle.isEmpty());
    EXPECT_EQ(state.inputMethod.backend, nullptr);
    // Switching then does nothing and does not fail.
    ime::OpenInputMethod(state);
    ime::CloseInputMethod(state);
}

TEST_F(InputMethodTest, FrameworkThatDoesNotAnswerIsPassedSilently) {
    backend.installed = {{"table:q4", kFourth}};
    backend.reachable = false;
    ime::DetectInputMethod(state, &backend);

    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(state.inputMethod.ImeLayoutHandle.isEmpty());
    EXPECT_TRUE(state.inputMethod.EnglishLayoutHandle.isEmpty());
    ime::OpenInputMethod(state);
    ime::CloseInputMethod(state);
    EXPECT_TRUE(backend.activations.isEmpty());
}

TEST_F(InputMethodTest, OpenAndCloseSwitchBetweenTheInputMethodAndEnglish) {
    backend.installed = {kKeyboard, {"table:q4", kFourth}};
    ime::DetectInputMethod(state, &backend);

    ime::OpenInputMethod(state);
    EXPECT_EQ(backend.currentId(), "table:q4");
    ime::CloseInputMethod(state);
    EXPECT_EQ(backend.currentId(), backend.englishId());
    ime::OpenInputMethod(state); // resumed
    EXPECT_EQ(backend.activations, QStringList({"table:q4", "english", "table:q4"}));
}

TEST_F(InputMethodTest, WithoutTheInputMethodOpenDoesNothingAndCloseStillSwitchesToEnglish) {
    backend.installed = {kKeyboard};
    backend.current = QStringLiteral("xkb:us::eng");
    ime::DetectInputMethod(state, &backend);

    ime::OpenInputMethod(state);
    EXPECT_TRUE(backend.activations.isEmpty());
    ime::CloseInputMethod(state);
    EXPECT_EQ(backend.activations, QStringList({"english"}));
    EXPECT_EQ(messages.shown.size(), 1); // told once, at detection only
}

// The IBus daemon's address: IBUS_ADDRESS first, else the daemon's address file,
// which counts only while the daemon named in it lives.
class IBusAddressTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("bus"));

    void SetUp() override {
        qunsetenv("IBUS_ADDRESS");
        qputenv("IBUS_ADDRESS_FILE", file.toLocal8Bit());
    }
    void TearDown() override {
        qunsetenv("IBUS_ADDRESS");
        qunsetenv("IBUS_ADDRESS_FILE");
    }
    void writeFile(const QByteArray &text) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

TEST_F(IBusAddressTest, ReadsTheAddressFileOfALiveDaemon) {
    writeFile("# written by ibus-daemon\nIBUS_ADDRESS=unix:abstract=/tmp/x,guid=1\n"
              "IBUS_DAEMON_PID=" +
              QByteArray::number(static_cast<qint64>(getpid())) + "\n");
    EXPECT_EQ(ime::IBusBackend::findAddress(), "unix:abstract=/tmp/x,guid=1");
}

TEST_F(IBusAddressTest, IgnoresTheFileOfAnEndedOrUnnamedDaemonAndAnEmptyAddress) {
    const QByteArray pid = QByteArray::number(static_cast<qint64>(getpid()));
    for (const QByteArray &text :
         {QByteArray("IBUS_ADDRESS=unix:path=/tmp/x\nIBUS_DAEMON_PID=999999999\n"),
          QByteArray("IBUS_ADDRESS=unix:path=/tmp/x\n"),
          QByteArray("IBUS_ADDRESS=\nIBUS_DAEMON_PID=" + pid + "\n"), QByteArray()}) {
        writeFile(text);
        EXPECT_EQ(ime::IBusBackend::findAddress(), QString()) << text.constData();
    }
    QFile::remove(file);
    EXPECT_EQ(ime::IBusBackend::findAddress(), QString());
}

TEST_F(IBusAddressTest, EnvironmentVariableWins) {
    writeFile("IBUS_ADDRESS=unix:path=/tmp/file\nIBUS_DAEMON_PID=" +
              QByteArray::number(static_cast<qint64>(getpid())) + "\n");
    qputenv("IBUS_ADDRESS", "unix:path=/tmp/env");
    EXPECT_EQ(ime::IBusBackend::findAddress(), "unix:path=/tmp/env");
}

} // namespace
