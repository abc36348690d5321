// The filter list: reading, adding, deleting exactly one entry, and the files with
// their backup.
#include "prepare/filterfiles.h"
#include "prepare/filterlist.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using prepare::FilterFiles;
using prepare::FilterList;
using prepare::makeFilterEntry;

namespace {

QByteArray gb18030(const QString &text) {
    return QStringEncoder("GB18030")(text);
}

FilterList readBytes(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    FilterList list;
    EXPECT_TRUE(list.read(buffer));
    return list;
}

QByteArray writeBytes(const FilterList &list) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(list.write(buffer));
    return bytes;
}

TEST(FilterList, ReadsTheNonEmptyLinesInEitherEncoding) {
    const QString comma = QStringLiteral("，      逗号");
    const QString stop = QStringLiteral("。      句号");
    struct Case {
        const char *name;
        QByteArray bytes;
    } const cases[] = {
        {"gb18030_crlf", gb18030(comma + "\r\n\r\n" + stop + "\r\n")},
        {"utf8_lf", (comma + "\n\n" + stop + "\n").toUtf8()},
        {"utf8_bom_no_final_break", "\xEF\xBB\xBF" + (comma + "\r\n" + stop).toUtf8()},
        {"lone_cr", gb18030(comma + "\r" + stop + "\r")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const FilterList list = readBytes(c.bytes);
        EXPECT_EQ(list.entries(), QStringList({comma, stop}));
        EXPECT_EQ(list.symbols(), QStringList({QStringLiteral("，"), QStringLiteral("。")}));
        EXPECT_EQ(writeBytes(list), c.bytes);
    }
    EXPECT_TRUE(readBytes({}).entries().isEmpty());
}

TEST(FilterList, ASymbolIsDefinedWhateverItsLetterCase) {
    const FilterList list = FilterList::fromBytes(
        gb18030("A      字母\r\nab      双字母\r\n——      破折号\r\nnoblank\r\n"));
    struct Case {
        const char *name, *symbol;
        bool defined;
    } const cases[] = {
        {"same_letter_other_case", "a", true}, {"two_letters_other_case", "AB", true},
        {"two_characters", "——", true},        {"entry_without_blank", "NOBLANK", true},
        {"first_character_only", "—", false},  {"longer_than_an_entry", "abc", false},
        {"other_symbol", "#", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(list.hasSymbol(QString::fromUtf8(c.symbol)), c.defined);
    }
}

TEST(FilterList, AppendsALineInTheFilesEncoding) {
    const QString entry = makeFilterEntry(QStringLiteral(";"), QStringLiteral("分号"));
    EXPECT_EQ(entry, QStringLiteral(";      分号"));
    struct Case {
        const char *name;
        QByteArray before, after;
    } const cases[] = {
        {"new_file_gb18030", {}, gb18030(entry) + "\r\n"},
        {"ascii_file_gb18030", "#      x\r\n", "#      x\r\n" + gb18030(entry) + "\r\n"},
        {"utf8_file_stays_utf8", QStringLiteral("，      逗号\n").toUtf8(),
         QStringLiteral("，      逗号\n").toUtf8() + entry.toUtf8() + "\r\n"},
        {"last_line_without_break", "#      x", "#      x\r\n" + gb18030(entry) + "\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FilterList list = FilterList::fromBytes(c.before);
        ASSERT_TRUE(list.append(entry));
        EXPECT_EQ(list.bytes(), c.after);
        EXPECT_EQ(list.entries().last(), entry);
    }
    FilterList list;
    EXPECT_FALSE(list.append(QStringLiteral("a      b\r\nc")));
    EXPECT_FALSE(list.append({}));
    EXPECT_TRUE(list.bytes().isEmpty());
}

// The encoding is judged once, when the file is read: an edit changes how no other line
// reads, and what was written reads back the same.
TEST(FilterList, EveryLineReadsTheSameAfterAnEdit) {
    const QByteArray bom("\xEF\xBB\xBF");
    const QString comma = QStringLiteral("，      逗号");
    // Its GB18030 bytes, D1 A7 CF B0, are valid UTF-8 too ("ѧϰ").
    const QString study = QStringLiteral("#      学习");
    const QString semicolon = QStringLiteral(";      分号");
    struct Case {
        const char *name;
        QByteArray before;
        QString added;   // when not empty
        QString removed; // when not empty
    } const cases[] = {
        // A UTF-8 byte-order mark does not make GB18030 text UTF-8.
        {"bom_before_gb18030_add", bom + gb18030(comma + "\r\n"), semicolon, {}},
        {"bom_before_gb18030_remove",
         bom + gb18030(comma + "\r\n" + semicolon + "\r\n"),
         {},
         comma},
        // Once the only line that is no UTF-8 has gone, the rest still reads as GB18030.
        {"remove_leaves_a_line_that_is_also_utf8",
         gb18030(comma + "\r\n" + study + "\r\n"),
         {},
         comma},
        // An ASCII file is GB18030: the new line is written and read in it.
        {"add_a_line_that_is_also_utf8", "#      x\r\n", study, {}},
        {"add_to_gb18030_with_a_line_that_is_also_utf8", gb18030(study + "\r\n"), comma, {}},
        {"utf8_with_bom_add", bom + (comma + "\r\n").toUtf8(), semicolon, {}},
        {"utf8_with_bom_remove_first",
         bom + (comma + "\r\n" + semicolon + "\r\n").toUtf8(),
         {},
         comma},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FilterList list = readBytes(c.before);
        QStringList expected = list.entries();
        if (!c.added.isEmpty()) {
            EXPECT_TRUE(list.append(c.added));
            expected << c.added;
        }
        if (!c.removed.isEmpty()) {
            EXPECT_TRUE(list.remove(0, c.removed));
            expected.removeOne(c.removed);
        }
        EXPECT_EQ(list.entries(), expected);
        // Read back from the file, it is the same, and the new entry goes by its text.
        FilterList again = readBytes(writeBytes(list));
        EXPECT_EQ(again.entries(), expected);
        if (!c.added.isEmpty()) {
            EXPECT_TRUE(again.remove(int(expected.size()) - 1, c.added));
            EXPECT_EQ(again.bytes(), c.before);
        }
    }
    // The GB18030 bytes of 「锘夸」 begin like a UTF-8 mark: they stay text when the line
    // before them goes and they come to the start.
    FilterList marked =
        readBytes(gb18030(comma + "\r\n" + QStringLiteral("锘夸      符号") + "\r\n"));
    EXPECT_TRUE(marked.remove(0, comma));
    EXPECT_EQ(marked.entries(), QStringList{QStringLiteral("锘夸      符号")});
    // The entries read before any edit: no mark in the first one, no UTF-8 misreading.
    EXPECT_EQ(readBytes(bom + gb18030(comma + "\r\n")).entries(), QStringList{comma});
    EXPECT_EQ(readBytes(gb18030(study + "\r\n")).entries(), QStringList{study});
}

TEST(FilterList, DeletingRemovesExactlyThatEntrysLine) {
    const QByteArray before =
        gb18030("a      字母\r\n\r\na      字母表\r\nb      乙\r\n\r\na      字母\r\nc      丙");
    struct Case {
        const char *name;
        int index;
        const char *entry;
        bool removed;
        QByteArray after;
    } const cases[] = {
        {"other_entries_containing_it_stay", 0, "a      字母", true,
         gb18030("\r\na      字母表\r\nb      乙\r\n\r\na      字母\r\nc      丙")},
        {"the_second_of_two_equal_lines", 3, "a      字母", true,
         gb18030("a      字母\r\n\r\na      字母表\r\nb      乙\r\n\r\nc      丙")},
        {"stale_index_falls_back_to_the_text", 0, "b      乙", true,
         gb18030("a      字母\r\n\r\na      字母表\r\n\r\na      字母\r\nc      丙")},
        {"last_line_without_break", 4, "c      丙", true,
         gb18030("a      字母\r\n\r\na      字母表\r\nb      乙\r\n\r\na      字母\r\n")},
        {"not_in_the_file", 1, "d      丁", false, before},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FilterList list = FilterList::fromBytes(before);
        EXPECT_EQ(list.remove(c.index, QString::fromUtf8(c.entry)), c.removed);
        EXPECT_EQ(list.bytes(), c.after);
    }
}

TEST(FilterList, ReadingRefusesAHugeFile) {
    QByteArray huge(FilterList::MaxFileSize + 1, 'x');
    QBuffer buffer(&huge);
    buffer.open(QIODevice::ReadOnly);
    FilterList list = FilterList::fromBytes("#      x\r\n");
    QString error;
    EXPECT_FALSE(list.read(buffer, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(list.entries(), QStringList{QStringLiteral("#      x")});
}

class FilterFilesTest : public ::testing::Test {
protected:
    QByteArray readAll(const QString &name) {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void writeAll(const QString &name, const QByteArray &bytes) {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
    FilterFiles m_files{coding::AppDirectory::at(m_dir.path())};
};

TEST_F(FilterFilesTest, AMissingListIsEmptyAndTheFirstAdditionCreatesIt) {
    FilterList list;
    QString error;
    ASSERT_TRUE(m_files.load(&list, &error));
    EXPECT_TRUE(list.entries().isEmpty());
    EXPECT_TRUE(files().isEmpty());

    list.append(makeFilterEntry(QStringLiteral("★"), QStringLiteral("星")));
    ASSERT_TRUE(m_files.save(list, &error)) << error.toStdString();
    EXPECT_EQ(readAll("filter.dat"), gb18030("★      星\r\n"));
}

TEST_F(FilterFilesTest, TheNameIgnoresLetterCase) {
    writeAll("Filter.dat", "#      x\r\n");
    writeAll("OLDFILTER.DAT", "old");
    EXPECT_EQ(m_files.filterPath(), m_dir.filePath("Filter.dat"));
    EXPECT_EQ(m_files.backupPath(), m_dir.filePath("OLDFILTER.DAT"));
    FilterList list;
    QString error;
    ASSERT_TRUE(m_files.load(&list, &error));
    list.append(QStringLiteral("*      y"));
    ASSERT_TRUE(m_files.save(list, &error));
    EXPECT_EQ(files(), QStringList({"Filter.dat", "OLDFILTER.DAT"}));
    EXPECT_EQ(readAll("Filter.dat"), "#      x\r\n*      y\r\n");
}

TEST_F(FilterFilesTest, RestoringTheBackupGivesBackTheFileByteForByte) {
    const QByteArray original = gb18030("，      逗号\r\n\r\n.      句号\n");
    writeAll("filter.dat", original);
    QString error;
    ASSERT_TRUE(m_files.backUp(&error));
    FilterList list;
    ASSERT_TRUE(m_files.load(&list, &error));
    list.append(QStringLiteral(";      分号"));
    list.remove(0, QStringLiteral("，      逗号"));
    ASSERT_TRUE(m_files.save(list, &error));
    ASSERT_NE(readAll("filter.dat"), original);

    ASSERT_TRUE(m_files.restore(&error));
    EXPECT_EQ(readAll("filter.dat"), original);
    m_files.removeBackup();
    EXPECT_EQ(files(), QStringList{"filter.dat"});
    // Without a backup, restoring changes nothing.
    writeAll("filter.dat", "changed");
    EXPECT_TRUE(m_files.restore(&error));
    EXPECT_EQ(readAll("filter.dat"), "changed");
}

TEST_F(FilterFilesTest, TheBackupOfAMissingListRestoresAnEmptyList) {
    QString error;
    ASSERT_TRUE(m_files.backUp(&error));
    writeAll("filter.dat", "#      x\r\n");
    ASSERT_TRUE(m_files.restore(&error));
    FilterList list;
    ASSERT_TRUE(m_files.load(&list, &error));
    EXPECT_TRUE(list.entries().isEmpty());
}

TEST_F(FilterFilesTest, AnInstalledCopyStartsFromTheShippedList) {
    QTemporaryDir shipped;
    QFile file(QDir(shipped.path()).filePath("filter.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#      x\r\n");
    file.close();
    const FilterFiles files(coding::AppDirectory::at(m_dir.path(), shipped.path()));
    FilterList list;
    QString error;
    ASSERT_TRUE(files.load(&list, &error));
    list.append(QStringLiteral("*      y"));
    ASSERT_TRUE(files.save(list, &error));
    EXPECT_EQ(readAll("filter.dat"), "#      x\r\n*      y\r\n");
}

TEST_F(FilterFilesTest, AFailedWriteIsReportedAndChangesNothing) {
    // A directory where the list should be: it can be neither read nor replaced.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("filter.dat"));
    FilterList list;
    QString error;
    EXPECT_FALSE(m_files.load(&list, &error));
    EXPECT_TRUE(error.contains("filter.dat")) << error.toStdString();
    error.clear();
    EXPECT_FALSE(m_files.save(FilterList::fromBytes("#      x\r\n"), &error));
    EXPECT_TRUE(error.contains("filter.dat")) << error.toStdString();
    EXPECT_TRUE(QFileInfo(m_dir.filePath("filter.dat")).isDir());
    EXPECT_TRUE(files().isEmpty()) << "a temporary file was left behind";
}

} // namespace
