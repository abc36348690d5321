#pragma once

#include "segmentationlibrary.h"

namespace coding {

// The real library: marvik, with its dictionary in the application directory and
// the user's custom words in the per-user data directory.
class MarvikLibrary : public SegmentationLibrary {
public:
    // dictDir holds marvik.dic; userDictPath is the custom-word file (empty: the
    // library's default in the user's data directory).
    explicit MarvikLibrary(QString dictDir, QString userDictPath = {});

    bool ensureLoaded(LibraryError *error) override;
    QString divideSentence(const QString &text, LibraryError *error) override;
    QString convert(const QString &word) override;
    int addWord(const QString &code, const QString &word) override;
    QString getItemCode(const QString &item) override;
    QString customWordFile() const override;

private:
    QString m_dictDir;
    QString m_userDictPath;
    QString m_customFile;
};

// Where the library keeps the user's custom words by default, for the program and
// its tools alike: $XDG_DATA_HOME (or ~/.local/share)/Trevix2006/custom.dic.
QString defaultCustomDictionaryPath();

// Moves the custom-word file of an earlier release from earlierPath to the default
// place, when only the earlier one exists. False when a move was needed and failed.
bool adoptEarlierCustomWords(const QString &earlierPath);

} // namespace coding
