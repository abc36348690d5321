#pragma once

#include "coding/segmentationlibrary.h"

#include <QHash>
#include <QStringList>

namespace coding {

// A segmentation library for tests: answers with the tags and codes it is given
// and records what it was asked.
class FakeLibrary : public SegmentationLibrary {
public:
    QHash<QString, QString> tagsFor;  // text -> tags; unknown text gets all "2"
    QHash<QString, QString> codes;    // item -> standard code
    QHash<QString, QString> proposed; // word -> proposed custom code
    QHash<QString, int> addResults;   // word -> AddWord result (default 0)
    QString loadError;                // non-empty: loading fails, the library saying this
    QStringList calls;                // "divide:<text>", "code:<item>", ...

    bool ensureLoaded(LibraryError *error) override {
        if (loadError.isEmpty())
            return true;
        if (error)
            *error = {LibraryError::Kind::DictionaryUnusable, QStringLiteral("marvik.dic"),
                      loadError, 0};
        return false;
    }
    QString divideSentence(const QString &text, LibraryError *error) override {
        calls << QStringLiteral("divide:") + text;
        if (!ensureLoaded(error))
            return {};
        return tagsFor.value(text, QString(text.size(), QLatin1Char('2')));
    }
    QString convert(const QString &word) override {
        calls << QStringLiteral("convert:") + word;
        return proposed.value(word);
    }
    int addWord(const QString &code, const QString &word) override {
        calls << QStringLiteral("add:") + code + QLatin1Char(':') + word;
        return addResults.value(word, 0);
    }
    QString getItemCode(const QString &item) override {
        calls << QStringLiteral("code:") + item;
        return codes.value(item);
    }
};

} // namespace coding
