// Feeds arbitrary bytes to an example file pair: a companion file and a main file.
// Whatever the reader takes has one tag per character and writes and reads back the
// same; whatever it refuses gets a message.
#include "fuzzsupport.h"

#include "prepare/examplefile.h"

#include <QDir>

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, true); // the main file's text goes through a text document
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string companionBytes = in.ConsumeRandomLengthString(4096);
    const std::string mainBytes = in.ConsumeRemainingBytesAsString();
    const QByteArray companion = QByteArray::fromStdString(companionBytes);

    if (const auto tags = prepare::parseCompanion(companion)) {
        // Tags (ASCII) of a companion written anew read back the same.
        bool plain = *tags == tags->trimmed();
        for (const QChar c : *tags)
            plain = plain && c.unicode() > 0x20 && c.unicode() < 0x7F && c != u'"' && c != u',';
        if (plain)
            fuzz::check(prepare::parseCompanion(prepare::companionContent(*tags)) == *tags,
                        "a companion that does not read back");
    }

    const QString dir = fuzz::scratchDir();
    if (dir.contains(QStringLiteral("sav")))
        return 0; // the companion would lie in another folder
    const QString mainPath = dir + QStringLiteral("/a.sav");
    fuzz::writeScratch(QStringLiteral("a.sav"), QByteArray::fromStdString(mainBytes));
    fuzz::writeScratch(QStringLiteral("a.ext"), companion);
    fuzz::check(prepare::companionPath(mainPath) == dir + QStringLiteral("/a.ext"),
                "the companion is not beside its main file");

    prepare::ExampleError error;
    const auto example = prepare::readExample(mainPath, &error);
    if (!example) {
        fuzz::check(!prepare::exampleErrorMessage(error).isEmpty(), "a refusal without a message");
        return 0;
    }
    fuzz::check(example->tags.size() == example->text.text.size(), "not one tag per character");
    fuzz::check(!prepare::checkExampleTags(example->text.text, example->tags),
                "a pair taken whose tags do not fit");

    const QString again = dir + QStringLiteral("/b.sav");
    fuzz::check(prepare::writeExample(again, example->text, example->tags, &error),
                "a pair that was read cannot be written");
    const auto back = prepare::readExample(again, &error);
    fuzz::check(back.has_value(), "a written pair cannot be read");
    fuzz::check(back->text.text == example->text.text && back->tags == example->tags,
                "a written pair reads back different");
    return 0;
}
