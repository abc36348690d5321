// Feeds arbitrary bytes to the custom-word file, as the segmentation library reads it and
// as the program reads it (to hand the words over to the input method): both must take
// the same words with the same codes, each word usable and each code 1 to 6 digits.
#include "fuzzsupport.h"

#include "coding/customword.h"
#include "custom_words.h"

#include <QFile>

#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path =
        fuzz::writeScratch(QStringLiteral("custom.dic"), fuzz::bytesOf(data, size));
    marvik::CustomWords library;
    library.read(QFile::encodeName(path).toStdString());
    const QList<coding::CustomWord> program = coding::readCustomWordFile(path);
    if (std::size_t(program.size()) != library.size()) {
        for (const coding::CustomWord &w : program)
            std::fprintf(stderr, "program: %s %s\n", qPrintable(w.word), qPrintable(w.code));
        std::fprintf(stderr, "library: %zu words\n", library.size());
    }
    fuzz::check(std::size_t(program.size()) == library.size(),
                "the program and the library take a different number of words");
    for (const coding::CustomWord &w : program) {
        const std::u16string word = w.word.toStdU16String();
        fuzz::check(marvik::isUsableCustomWord(word), "an unusable word taken");
        fuzz::check(marvik::isUsableCustomCode(w.code.toStdU16String()), "an unusable code taken");
        const std::string *code = library.code(word);
        fuzz::check(code && QString::fromStdString(*code) == w.code,
                    "the library has another code for a word");
    }
    // A word added to the file is read back with the others.
    marvik::CustomWords grown = library;
    if (grown.append(QFile::encodeName(path).toStdString(), u"新加词语", "12345")) {
        const QList<coding::CustomWord> again = coding::readCustomWordFile(path);
        bool found = false;
        for (const coding::CustomWord &w : again)
            found = found || w.word == QStringLiteral("新加词语");
        fuzz::check(found, "an added word is not read back");
        fuzz::check(again.size() >= program.size(), "adding a word lost another");
    }
    return 0;
}
