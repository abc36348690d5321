#include "testtextfile.h"

#include "coding/codelookup.h"
#include "coding/rtf.h"
#include "coding/textcolouring.h"

#include <QFile>
#include <QSaveFile>
#include <QTextDocument>

namespace typing {

bool writeTestText(const QTextDocument &doc, QIODevice &device) {
    return coding::writeRtf(doc, device);
}

bool readTestText(QIODevice &device, QTextDocument &doc, QString *error) {
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QByteArray bytes = device.read(coding::kRtfMaxBytes + 1);
    coding::RtfError rtfError;
    const auto copy = coding::readRtf(bytes, &rtfError);
    if (!copy)
        return fail(coding::describeRtfError(rtfError));
    if (copy->text != coding::rtfTextFromDocument(doc).text)
        return fail(QStringLiteral("the copy holds another text"));
    coding::applyRtfText(*copy, doc);
    return true;
}

bool saveTestTextCopy(const coding::AppState &state, const QTextDocument &doc, QString *error) {
    QSaveFile file(state.appDir.filePath(kTestTextCopyName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeTestText(doc, file)) {
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
