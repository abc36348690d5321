// The services of a run are never missing: what is not given is a null object with
// which nothing happens.

#include "coding/services.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

namespace {

using coding::MsgAnswer;
using coding::MsgButtons;
using coding::MsgIcon;

struct NullAnswer {
    MsgButtons buttons;
    MsgAnswer answer;
};

class NullMessagesAnswer : public testing::TestWithParam<NullAnswer> {};

// The answer that changes nothing: an exit question is not taken as "yes".
TEST_P(NullMessagesAnswer, TheButtonThatChangesNothing) {
    const coding::Services services;
    EXPECT_EQ(services.messages().show(QStringLiteral("确定要退出？"), QStringLiteral("提示信息"),
                                       GetParam().buttons, MsgIcon::Question),
              GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Buttons, NullMessagesAnswer,
                         testing::Values(NullAnswer{MsgButtons::Ok, MsgAnswer::Ok},
                                         NullAnswer{MsgButtons::OkCancel, MsgAnswer::Cancel},
                                         NullAnswer{MsgButtons::YesNo, MsgAnswer::No},
                                         NullAnswer{MsgButtons::YesNoCancel, MsgAnswer::Cancel}));

TEST(Services, WhatIsNotGivenIsCancelledOrSilentAndTheClockIsTheSystems) {
    coding::Services services(nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(services.files().getOpenFileName(QStringLiteral("打开"), QString()).isEmpty());
    EXPECT_TRUE(services.files().getSaveFileName(QStringLiteral("保存"), QString()).isEmpty());
    EXPECT_FALSE(services.colors().getColor(Qt::red).has_value());
    services.beep().beep();
    services.help().showHelp(QStringLiteral("test.html"));
    const qint64 before = services.clock().tickMs();
    EXPECT_GE(services.clock().tickMs(), before);
    EXPECT_LE(qAbs(services.clock().now().secsTo(QDateTime::currentDateTime())), 5);
}

TEST(Services, AGivenServiceIsUsedAndNullPutsTheNullObjectBack) {
    coding::FakeMessages messages;
    coding::Services services;
    services.setMessages(&messages);
    services.messages().show(QStringLiteral("请先打开测试文件！"), QStringLiteral("提示信息"),
                             MsgButtons::Ok, MsgIcon::Exclamation);
    ASSERT_EQ(messages.shown.size(), 1);
    services.setMessages(nullptr);
    EXPECT_EQ(services.messages().show(QStringLiteral("x"), QString(), MsgButtons::YesNo,
                                       MsgIcon::Question),
              MsgAnswer::No);
    EXPECT_EQ(messages.shown.size(), 1);

    coding::FakeHelp help;
    services.setHelp(&help);
    services.help().showHelp(QStringLiteral("test.html"));
    services.setHelp(nullptr);
    services.help().showHelp(QStringLiteral("index.html"));
    EXPECT_EQ(help.pages, QStringList{QStringLiteral("test.html")});

    coding::FakeClock clock;
    services.setClock(&clock);
    clock.advance(250);
    EXPECT_EQ(services.clock().tickMs(), 1250);
}

} // namespace
