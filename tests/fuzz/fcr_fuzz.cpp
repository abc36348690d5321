// Feeds arbitrary bytes to the reading of a segmentation result file (*.fcr) by the
// list-input rule. The words the program writes into such a file come back as they were,
// whatever the line before them.
#include "fuzzsupport.h"

#include "prepare/textcodec.h"
#include "words/customwords.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    words::listItems(bytes);
    // A file as the test window writes it: quoted words, one per line, after a line
    // ended by the fuzzed bytes.
    const QStringList wordsWritten = {QStringLiteral("学习"), QStringLiteral("分词输入"),
                                      QStringLiteral("我")};
    QString text = prepare::decodeText(bytes, prepare::TextEncoding::Gb18030);
    text.remove(u'"');
    text.remove(QChar(0));
    QString file = text + QStringLiteral("\r\n");
    for (const QString &w : wordsWritten)
        file += u'"' + w + QStringLiteral("\"\r\n");
    const QStringList back =
        words::listItems("\xEF\xBB\xBF" + prepare::encodeText(file, prepare::TextEncoding::Utf8));
    fuzz::check(back.size() >= wordsWritten.size() && back.mid(back.size() - 3) == wordsWritten,
                "the written words do not come back");
    return 0;
}
