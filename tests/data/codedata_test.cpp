// Checks the generated code database against the code scheme that the README
// documents, with its worked examples, and the rules every row must keep.
#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

class CodeData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString path = qEnvironmentVariable("TREVIX_TEST_APP_DIR") + "/jtdb.dat";
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        auto db = QSqlDatabase::addDatabase("QSQLITE", "codedata");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    static QSqlDatabase db() { return QSqlDatabase::database("codedata"); }

    struct Row {
        QString srm, jm1, jm2;
        bool found = false;
    };
    static Row row(const QString &table, const QString &hz) {
        QSqlQuery q(db());
        q.prepare("select srm, jm1, jm2 from " + table + " where hz = ?");
        q.addBindValue(hz);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        Row r;
        if (q.next()) {
            r = {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), true};
        }
        return r;
    }
    static QStringList column(const QString &sql) {
        QSqlQuery q(db());
        EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
};

struct Example {
    const char *name;
    const char *table;
    const char *hz;
    const char *srm;
    const char *jm1;
    const char *jm2;
};

// The examples of the README's code-scheme section.
const Example kExamples[] = {
    {"character_with_two_short_codes", "jtzi", "我", "23550", "23", "235"},
    {"character_with_one_short_code", "jtzi", "们", "27220", "272", " "},
    {"character_without_short_code", "jtzi", "习", "17120", " ", " "},
    {"two_character_word", "jtci3", "学习", "3217", " ", " "},
    {"three_character_word", "jtci3", "计算机", "3847", " ", " "},
    {"four_character_word", "jtci1", "一心一意", "1310", " ", " "},
    {"long_word_with_short_code", "jtci5", "中华人民共和国", "5286", "528", " "},
};

TEST_F(CodeData, ReadmeExamples) {
    for (const auto &e : kExamples) {
        SCOPED_TRACE(e.name);
        const Row r = row(e.table, QString::fromUtf8(e.hz));
        ASSERT_TRUE(r.found);
        EXPECT_EQ(r.srm, QString::fromUtf8(e.srm));
        EXPECT_EQ(r.jm1, QString::fromUtf8(e.jm1));
        EXPECT_EQ(r.jm2, QString::fromUtf8(e.jm2));
    }
}

TEST_F(CodeData, WordCodesFollowTheRuleAndLieInTheFirstDigitsTable) {
    int checked = 0;
    for (int d = 0; d <= 9; ++d) {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec(QString("select hz, srm from jtci%1").arg(d)));
        while (q.next()) {
            const QString hz = q.value(0).toString();
            const QString srm = q.value(1).toString();
            QStringList c;
            for (const QChar ch : hz) {
                ASSERT_FALSE(ch.isSurrogate()) << "supplementary characters are not expected";
                c << row("jtzi", QString(ch)).srm;
            }
            QString expected;
            if (c.size() == 2)
                expected = c[0].left(2) + c[1].left(2);
            else if (c.size() == 3)
                expected = c[0].left(1) + c[1].left(1) + c[2].left(2);
            else
                expected = c[0].left(1) + c[1].left(1) + c[2].left(1) + c.last().left(1);
            ASSERT_EQ(srm, expected) << hz.toStdString();
            ASSERT_EQ(c[0].left(1), QString::number(d)) << hz.toStdString();
            if (++checked >= 3000)
                return; // a large sample is enough; the rule is the same for every row
        }
    }
}

TEST_F(CodeData, ShortCodesAreUniqueProperPrefixesAndListedInJmzici) {
    QSet<QString> seen;
    QSet<QString> withShort;
    const QStringList tables = {"jtzi",  "jtci0", "jtci1", "jtci2", "jtci3", "jtci4",
                                "jtci5", "jtci6", "jtci7", "jtci8", "jtci9"};
    for (const QString &t : tables) {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec("select hz, srm, jm1, jm2 from " + t + " where jm1 <> ' '"));
        while (q.next()) {
            const QString hz = q.value(0).toString(), srm = q.value(1).toString();
            const QString jm1 = q.value(2).toString(), jm2 = q.value(3).toString();
            withShort << hz;
            for (const QString &jm : {jm1, jm2}) {
                if (jm == " ")
                    continue;
                EXPECT_TRUE(srm.startsWith(jm) && jm.size() < srm.size()) << hz.toStdString();
                EXPECT_FALSE(seen.contains(jm)) << "short code used twice: " << jm.toStdString();
                seen << jm;
            }
            if (jm2 != " ") {
                EXPECT_LT(jm1.size(), jm2.size()) << hz.toStdString();
            }
            // Words only get three-digit short codes.
            if (t != "jtzi") {
                EXPECT_EQ(jm1.size(), 3) << hz.toStdString();
            }
        }
    }
    // No row has jm2 without jm1.
    for (const QString &t : tables)
        EXPECT_TRUE(column("select hz from " + t + " where jm1 = ' ' and jm2 <> ' '").isEmpty());
    const QStringList listed = column("select hz from jmzici");
    EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()), withShort);
    EXPECT_EQ(column("select srm from jmzici where hz = '我'"), QStringList{"23"});
}

TEST_F(CodeData, SizesAreInTheExpectedRange) {
    const int chars = column("select count(*) from jtzi").value(0).toInt();
    int words = 0;
    for (int d = 0; d <= 9; ++d)
        words += column(QString("select count(*) from jtci%1").arg(d)).value(0).toInt();
    EXPECT_GT(chars, 15000);
    EXPECT_GT(words, 100000);
    EXPECT_LT(words, 160000);
}

} // namespace
