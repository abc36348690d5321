#pragma once

// The files in which the test window keeps a text's figures, written the same way
// by the window and by trevix-analyse: the segmentation result file (*.fcr, the
// text's word list) and the statistics report (*.txt). Both are GB18030 text with
// CR LF line ends; both are written whole or not at all (saveWholeFile).

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace coding {
struct AppState;
struct TextTables;
} // namespace coding

namespace stats {

// The word list: one line per entry of the word table, the word between double
// quotes; classes 1 to 5 in order, each in the table's order. Nothing else: an
// empty table gives an empty file.
QStringList wordListLines(const coding::TextTables &tables);

// The statistics report of state, line by line: the text's and the learner's basic
// figures, the text's word table with counts and codes, the whole-text keystroke
// block when state.derived holds the text's keystroke counts, the learner's block,
// and the typed text's keystroke block when it holds those. What the windows have
// not computed shows as the figures a window would show before (0, empty texts).
QStringList statisticsReportLines(const coding::AppState &state);

// Lines as a file's bytes: GB18030, each line ended by CR LF.
QByteArray fileBytes(const QStringList &lines);

// The test's duration, in milliseconds, as h:mm:ss (hours without a leading zero,
// not wrapped at a day).
QString durationText(qint64 ms);

// Writes bytes to path whole or not at all (an earlier file stays as it was when
// anything fails). False with error set to a message that names the file.
bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error);

} // namespace stats
