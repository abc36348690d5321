// Feeds arbitrary bytes to the reading of a text file and to its preparation for the
// test: the bytes in any encoding, the cleaning, the cut at the longest text, then the
// library's tags, the widening and the filters, and the blanks of the editor.
#include "fuzzsupport.h"

#include "coding/tags.h"
#include "prepare/textcodec.h"
#include "prepare/textfilereader.h"
#include "prepare/textpreparation.h"

#include <marvik/marvik.h>

#include <QBuffer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using prepare::TextEncoding;
using prepare::TextFile;

bool hasLoneSurrogate(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 == text.size() || !text.at(i + 1).isLowSurrogate())
                return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

QString tagsOf(const QString &text) {
    const std::u16string dir = fuzz::fixtureDir().toStdU16String();
    std::u16string tags(std::size_t(text.size()) + 1, u'x');
    const int16_t r = DivideSentence(dir.c_str(), reinterpret_cast<const char16_t *>(text.utf16()),
                                     int32_t(text.size()), tags.data(), int32_t(tags.size()));
    fuzz::check(r == MARVIK_OK, "the library does not segment a text that was read");
    fuzz::check(tags.back() == u'\0', "no NUL after the tags");
    tags.pop_back();
    return QString::fromStdU16String(tags);
}

void checkPrepared(const prepare::PreparedText &p) {
    fuzz::check(p.text.size() == p.tags.size(), "a prepared text without one tag per character");
    for (const QChar tag : p.tags)
        fuzz::check(tag == u'0' || tag == u'1' || tag == u'2' || tag == u'3' || tag == u'4',
                    "a tag that is none");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer buffer;
    buffer.setData(bytes);
    fuzz::check(buffer.open(QIODevice::ReadOnly), "a buffer that does not open");
    const TextFile file = prepare::readTextFile(buffer);

    // Every encoding decodes anything; what is valid text comes back from its bytes.
    for (const TextEncoding e : {TextEncoding::Utf8, TextEncoding::Gb18030, TextEncoding::Utf16Le,
                                 TextEncoding::Utf16Be, TextEncoding::Big5}) {
        const QString decoded = prepare::decodeText(bytes, e);
        // (A text that begins with U+FEFF loses it: written again it is a byte-order mark.)
        if (e != TextEncoding::Big5 && !hasLoneSurrogate(decoded) &&
            !decoded.startsWith(QChar(0xFEFF)))
            fuzz::check(prepare::decodeText(prepare::encodeText(decoded, e), e) == decoded,
                        "text that does not come back from its own bytes");
    }

    switch (file.status) {
    case TextFile::Status::Unreadable:
        fuzz::check(false, "a buffer that cannot be read");
        return 0;
    case TextFile::Status::Binary:
        return 0;
    case TextFile::Status::TooShort:
        fuzz::check(file.text.size() < prepare::MinTextLength, "a short text of full length");
        break;
    case TextFile::Status::Ok:
        fuzz::check(file.text.size() >= prepare::MinTextLength &&
                        file.text.size() <= prepare::MaxTextLength,
                    "a text of a length outside the limits");
        break;
    }
    // (One less when the last would be half of a character beyond U+FFFF.)
    fuzz::check(!file.cut || file.text.size() == prepare::MaxTextLength ||
                    file.text.size() == prepare::MaxTextLength - 1,
                "a cut short text");
    fuzz::check(!hasLoneSurrogate(file.text), "half a character in the text");
    for (const QChar c : file.text)
        fuzz::check(!prepare::isRemovedOnOpening(c), "a character that opening removes");
    // Read in chunks, the text is what the whole bytes give in the judged encoding.
    if (!file.cut && bytes.size() < prepare::MaxReadBytes) {
        // A UTF-8 byte-order mark before text in GB18030 or Big5 is a stray mark.
        const bool legacy =
            file.encoding == TextEncoding::Gb18030 || file.encoding == TextEncoding::Big5;
        const QByteArray body = legacy && bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        QString whole = prepare::cleanText(prepare::decodeText(body, file.encoding));
        for (QChar &c : whole)
            if (c.isSurrogate())
                c = QChar(0xFFFD);
        QString read = file.text;
        for (QChar &c : read)
            if (c.isSurrogate())
                c = QChar(0xFFFD);
        // The whole bytes' decoder keeps a character cut off at the end for more bytes;
        // the reader, at the end of the file, gives what it has of it as characters that
        // do not decode. Everything before agrees.
        const qsizetype agreed = std::max<qsizetype>(0, std::min(read.size(), whole.size()) - 3);
        if (read.left(agreed) != whole.left(agreed) || std::abs(read.size() - whole.size()) > 3)
            std::fprintf(stderr, "read:  %s\nwhole: %s\n", qPrintable(read), qPrintable(whole));
        fuzz::check(read.left(agreed) == whole.left(agreed) &&
                        std::abs(read.size() - whole.size()) <= 3,
                    "the text read differs from the whole file's");
    }
    if (file.text.isEmpty())
        return 0;

    const QString tags = tagsOf(file.text);
    prepare::PrepareOptions options;
    options.filterSymbols = size % 2 == 1;
    options.filterAlphaNum = size % 3 == 1;
    options.symbols = {QStringLiteral("，"), QStringLiteral("。"), QStringLiteral("……"),
                       QString(file.text.left(1))};
    const prepare::PreparedText prepared = prepare::prepareText(file.text, tags, options);
    checkPrepared(prepared);
    fuzz::check(prepared.text.size() <= file.text.size(), "preparation made the text longer");
    prepare::holdsChineseCharacter(prepared);
    const prepare::PreparedText spaced = prepare::insertSeparators(prepared);
    checkPrepared(spaced);
    for (qsizetype i = 0; i < spaced.text.size(); ++i)
        if (spaced.tags.at(i) == u'3')
            fuzz::check(spaced.text.at(i) == u' ', "a separator that is no blank");
    return 0;
}
