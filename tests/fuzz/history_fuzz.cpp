// Opens arbitrary bytes as the results history. A file SQLite cannot use is set aside and
// a new history started; a file it can read is read whole, moved forward when it is old,
// and takes a new test; nothing of it may crash or hang the program.
#include "fuzzsupport.h"

#include "history/resultshistory.h"

#include <QDir>

#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QDir dir(fuzz::scratchDir() + QStringLiteral("/history"));
    dir.removeRecursively();
    fuzz::check(QDir().mkpath(dir.path()), "no folder for the history");
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    fuzz::writeScratch(QStringLiteral("history/history.sqlite"), fuzz::bytesOf(data, size));

    history::ResultsHistory h(path);
    QString error;
    if (!h.open(&error)) {
        fuzz::check(!error.isEmpty(), "a history that cannot be opened, without a reason");
        return 0;
    }
    // A history started anew (the file was empty, or set aside as damaged) reads back
    // exactly what was recorded; one that SQLite took may be damaged where it cannot see.
    const bool fresh = size == 0 || !h.takeNotice().isEmpty();
    if (const auto entries = h.entries(&error)) {
        for (const history::TestEntry &e : *entries)
            h.detail(e.id, &error);
        h.entries(&error, false);
    }
    history::TestDetail test;
    test.text = QStringLiteral("我们学习分词输入。");
    test.tags = QStringLiteral("001100112");
    test.entry.textHash = history::textHash(test.text);
    test.entry.textHead = history::textHead(test.text);
    test.entry.endedAt = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    test.entry.durationMs = 60'000;
    test.entry.total = 9;
    test.entry.rightCount = 8;
    test.entry.wrongCount = 1;
    test.mistakes.append({2, QStringLiteral("学"), QStringLiteral("雪")});
    // A file that SQLite opens may still be damaged further in: then a read or a write
    // fails with a reason, and what is read is what was written.
    if (h.record(test, &error)) {
        if (const auto back = h.detail(test.entry.id, &error)) {
            if (!fresh)
                return 0;
            if (back->text != test.text || back->mistakes != test.mistakes)
                std::fprintf(stderr, "read back: %s, %lld mistakes\n", qPrintable(back->text),
                             static_cast<long long>(back->mistakes.size()));
            fuzz::check(back->text == test.text && back->mistakes == test.mistakes,
                        "a test reads back different");
        } else
            fuzz::check(!error.isEmpty(), "a failed read without a reason");
        h.remove(test.entry.id, &error);
    } else {
        fuzz::check(!error.isEmpty(), "a failed record without a reason");
    }
    return 0;
}
