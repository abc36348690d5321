#pragma once

// The example file pair, a segmented text saved for the test:
//  - the main file (*.sav): the coloured text as RTF (coding/rtf.h), without any
//    separator between its words;
//  - its companion: the main file's full path with every "sav" replaced by "ext"
//    (case-sensitive, directories too), holding one line: the tag string between
//    double quotes, in GB18030, ended by CR LF.
// The pair holds one tag per character (UTF-16 unit) of the main file's text, each
// tag "0", "1", "2" or "4" ("3" only on a separator blank). The segmentation
// editor and the test window write pairs; the test window and trevix-analyse read
// them, all through these functions.

#include "coding/rtf.h"

#include <QString>

#include <optional>

namespace prepare {

// The file dialogs' filter of examples, and the extension of their main files.
inline const QString kExampleFilter = QStringLiteral("分词例文(*.sav)");
inline const QString kExampleSuffix = QStringLiteral("sav");

// The companion of the main file mainPath: "/home/savings/a.sav" gives
// "/home/extings/a.ext".
QString companionPath(const QString &mainPath);

// The companion file's content for tags: "\"tags\"\r\n" in GB18030.
QByteArray companionContent(const QString &tags);

// The tag string of a companion file's content: the first line's quoted field
// (without the quotes; a line without a leading quote counts whole, up to a
// comma). Nothing when the line opens a quote that it does not close.
std::optional<QString> parseCompanion(const QByteArray &content);

struct ExampleError {
    enum class Kind {
        MainUnreadable,      // the main file cannot be read (detail: why)
        MainDamaged,         // the main file is not a readable RTF document (rtf)
        CompanionMissing,    // no companion file
        CompanionUnreadable, // the companion cannot be read (detail: why)
        CompanionDamaged,    // the companion holds no tag line
        TagCountMismatch,    // not one tag per character (characters, tags)
        BadTag,              // a tag that is not one of the tags (position, tag)
        NotWritten,          // saving: a file could not be written (detail: why)
        SameFile,            // saving: the path has no "sav", so the companion would be
                             // the main file itself
    };
    Kind kind = Kind::MainUnreadable;
    QString detail;
    coding::RtfError rtf;
    qsizetype characters = 0;
    qsizetype tags = 0;
    qsizetype position = 0; // 0-based
    QChar tag;
};

// The message for error about the example file path, in the program's words
// ("辅助文件不存在，不能打开此文件！" for a missing companion).
QString exampleErrorMessage(const ExampleError &error);

struct Example {
    coding::RtfText text; // the main file's text and formats
    QString tags;         // one tag per character of text.text
};

// Reads the pair of mainPath and checks that it fits together. On an error returns
// nothing and sets error.
std::optional<Example> readExample(const QString &mainPath, ExampleError *error);

// Checks that tags fit text: one per character, each a tag of an example.
std::optional<ExampleError> checkExampleTags(const QString &text, const QString &tags);

// Writes the pair of mainPath whole or not at all: both files are written to
// temporary files first and only then put in place; when the companion cannot be
// put in place the main file is put back as it was. False with error set when
// anything fails.
bool writeExample(const QString &mainPath, const coding::RtfText &text, const QString &tags,
                  ExampleError *error);

} // namespace prepare
