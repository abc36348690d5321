#pragma once

// temp.zh: the copy of the coloured test text that the test window saves when a
// test starts and that the result dialog's exit puts back, so that the text shows
// its word colours again instead of the learner's right and wrong colours. The
// copy keeps the text, its colours, hint marks and fonts, in RTF as the examples
// do (coding/rtf.h).

#include "coding/appstate.h"

#include <QString>

class QIODevice;
class QTextDocument;

namespace typing {

inline const QString kTestTextCopyName = QStringLiteral("temp.zh");

// Writes doc to device. False when the device fails.
bool writeTestText(const QTextDocument &doc, QIODevice &device);

// Reads a copy from device into doc, but only when it holds exactly the text
// that doc holds now (same characters, position for position), so that the
// segmentation tags still fit it. On any trouble (unreadable, too large, damaged,
// another text) doc is left as it is and error tells why.
bool readTestText(QIODevice &device, QTextDocument &doc, QString *error);

// Saves doc as temp.zh in the application directory, whole or not at all.
bool saveTestTextCopy(const coding::AppState &state, const QTextDocument &doc, QString *error);

// Deletes temp.zh from the application directory when it is there.
void removeTestTextCopy(const coding::AppState &state);

enum class Restored {
    FromCopy,   // temp.zh was loaded
    Recoloured, // no usable copy: the text was coloured again by its tags
    Unchanged,  // no usable copy and nothing was typed
};

// Puts back the colours that the test text had before the test: from temp.zh when
// it exists and fits the text; otherwise, when something was typed (RightCount +
// ErrCount not 0), by colouring the text again with PrepareTestText (a database
// failure is told to the user, the text is coloured all the same).
Restored restoreTestText(coding::AppState &state, QTextDocument &doc);

} // namespace typing
