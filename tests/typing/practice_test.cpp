// Practice texts: the lessons from a small item list, and the mixing of drills.
#include "typing/practice.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

using typing::LessonKind;

class LessonTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray lines;
        // item, code, short codes, frequency
        lines += "我们\t232800\t2328\t900\n";
        lines += "学习\t324171\t\t800\n";
        lines += "一\t10000\t1,10\t5000\n";
        lines += "中华人民\t528000\t\t10\n";
        lines += "计算机\t400000\t\t50\n";
        lines += "broken line\n";
        for (int i = 0; i < 40; ++i) // more two-character words than one set holds
            lines += QStringLiteral("词%1\t1\t\t%2\n").arg(QChar(0x4e00 + 100 + i)).arg(i).toUtf8();
        f.write(lines);
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("qorvan.txt"));
};

TEST_F(LessonTest, TheSetsOfAKindAreItsWordsTheMostFrequentFirst) {
    QString error;
    const auto first = typing::lessonWords(path, LessonKind::TwoCharacterWords, 0, &error);
    ASSERT_TRUE(first) << error.toStdString();
    ASSERT_EQ(first->size(), typing::kWordsPerSet);
    EXPECT_EQ(first->at(0), QStringLiteral("我们"));
    EXPECT_EQ(first->at(1), QStringLiteral("学习"));
    const auto second = typing::lessonWords(path, LessonKind::TwoCharacterWords, 1, &error);
    EXPECT_EQ(second->size(), 42 - typing::kWordsPerSet);
    EXPECT_EQ(*typing::lessonWords(path, LessonKind::ThreeCharacterWords, 0, &error),
              QStringList{QStringLiteral("计算机")});
    EXPECT_EQ(*typing::lessonWords(path, LessonKind::FourCharacterWords, 0, &error),
              QStringList{QStringLiteral("中华人民")});
    EXPECT_EQ(*typing::lessonWords(path, LessonKind::ShortCodeItems, 0, &error),
              (QStringList{QStringLiteral("一"), QStringLiteral("我们")}));
    EXPECT_TRUE(typing::lessonWords(path, LessonKind::FourCharacterWords, 3, &error)->isEmpty());
    EXPECT_FALSE(typing::lessonWords(dir.filePath(QStringLiteral("none.txt")),
                                     LessonKind::TwoCharacterWords, 0, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("none.txt")));
}

TEST(PracticeText, EachWordRepeatsMixedWithPunctuation) {
    const QStringList words{QStringLiteral("我们"), QStringLiteral("学习"),
                            QStringLiteral("计算机")};
    const QString text = typing::practiceText(words, 3, 7);
    EXPECT_EQ(text.count(QStringLiteral("我们")), 3);
    EXPECT_EQ(text.count(QStringLiteral("学习")), 3);
    EXPECT_EQ(text.count(QStringLiteral("计算机")), 3);
    EXPECT_EQ(text.count(QStringLiteral("，")), 2); // after the 4th and the 8th of 9 words
    EXPECT_TRUE(text.endsWith(QStringLiteral("。")));
    EXPECT_EQ(typing::practiceText(words, 3, 7), text); // the same seed, the same text
    EXPECT_NE(typing::practiceText(words, 3, 8), text);

    // One short word: repeated until the text holds 20 characters.
    const QString short_ = typing::practiceText({QStringLiteral("一")}, 3, 1);
    EXPECT_EQ(short_.count(QStringLiteral("一")), 20);
    EXPECT_TRUE(typing::practiceText({}, 3, 1).isEmpty());
}

} // namespace
