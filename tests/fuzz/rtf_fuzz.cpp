// Feeds arbitrary bytes to the RTF reader. Whatever it reads must write and read
// back the same, and go through a text document unchanged; whatever it refuses must
// be refused with an error at a place inside the input.
#include "coding/rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "rtf_fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // documents need fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace coding;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    RtfError error;
    const auto text = readRtf(bytes, &error);
    if (!text) {
        check(error.offset >= 0 && error.offset <= qint64(size), "an error outside the input");
        check(!describeRtfError(error).isEmpty(), "an error without a description");
        return 0;
    }
    qsizetype covered = 0;
    for (const RtfRun &run : text->runs) {
        check(run.start == covered && run.length > 0, "runs with a gap or an empty run");
        covered += run.length;
    }
    check(covered == text->text.size(), "runs that do not cover the text");

    const QByteArray again = writeRtf(*text);
    if (again.size() > kRtfMaxBytes)
        return 0;
    RtfError againError;
    const auto back = readRtf(again, &againError);
    check(back.has_value(), "what was read does not read back once written");
    check(*back == *text, "what was read reads back different");

    QTextDocument doc;
    applyRtfText(*text, doc);
    const QString fromDocument = rtfTextFromDocument(doc).text;
    if (fromDocument != text->text) {
        for (const QString &t : {text->text, fromDocument}) {
            for (const QChar c : t)
                std::fprintf(stderr, "%04x ", c.unicode());
            std::fprintf(stderr, "\n");
        }
    }
    check(fromDocument == text->text, "a document changes the text");
    return 0;
}
