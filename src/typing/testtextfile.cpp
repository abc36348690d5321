#include "testtextfile.h"

#include "coding/codelookup.h"
#include "coding/textcolouring.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextDocument>

namespace typing {

namespace {

// A copy of a 2000-character text is some hundred kilobytes; anything far larger
// is not one of ours.
constexpr qint64 kMaxCopyBytes = 16 * 1024 * 1024;

} // namespace

bool writeTestText(const QTextDocument &doc, QIODevice &device) {
    const QByteArray bytes = doc.toHtml().toUtf8();
    return device.write(bytes) == bytes.size();
}

bool readTestText(QIODevice &device, QTextDocument &doc, QString *error) {
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QByteArray bytes = device.read(kMaxCopyBytes + 1);
    if (bytes.size() > kMaxCopyBytes)
        return fail(QStringLiteral("the copy of the test text is too large"));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString html = decoder.decode(bytes);
    if (decoder.hasError())
        return fail(QStringLiteral("the copy of the test text is not UTF-8"));
    QTextDocument copy;
    copy.setDefaultFont(doc.defaultFont());
    copy.setHtml(html);
    if (copy.toRawText() != doc.toRawText())
        return fail(QStringLiteral("the copy holds another text"));
    doc.setHtml(html);
    return true;
}

bool saveTestTextCopy(const coding::AppState &state, const QTextDocument &doc, QString *error) {
    QSaveFile file(state.appDir.filePath(kTestTextCopyName));
    if (!file.open(QIODevice::WriteOnly) || !writeTestText(doc, file)) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void removeTestTextCopy(const coding::AppState &state) {
    const QString path = state.appDir.filePath(kTestTextCopyName);
    if (QFile::exists(path))
        QFile::remove(path);
}

Restored restoreTestText(coding::AppState &state, QTextDocument &doc) {
    QFile copy(state.appDir.filePath(kTestTextCopyName));
    if (copy.exists() && copy.open(QIODevice::ReadOnly) && readTestText(copy, doc, nullptr))
        return Restored::FromCopy;
    if (state.test.RightCount + state.test.ErrCount == 0)
        return Restored::Unchanged;
    // A failing database still colours the text, without hint marks; the window
    // tells the user.
    coding::PrepareTestText(state, doc);
    return Restored::Recoloured;
}

} // namespace typing
