#include "customword.h"

#include <QFile>
#include <QSet>

namespace coding {

namespace {

bool usableCode(const QString &code) {
    if (code.isEmpty() || code.size() > 6)
        return false;
    for (const QChar c : code) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

bool usableWord(const QString &word) {
    if (word.isEmpty())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        if (c.category() == QChar::Other_Control)
            return false;
        if (c.isHighSurrogate() && (i + 1 == word.size() || !word.at(i + 1).isLowSurrogate()))
            return false;
        if (c.isLowSurrogate() && (i == 0 || !word.at(i - 1).isHighSurrogate()))
            return false;
    }
    return true;
}

} // namespace

QList<CustomWord> readCustomWordFile(const QString &path) {
    QList<CustomWord> words;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return words;
    QSet<QString> seen;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        // A line ends at LF, with one CR before it, as the library reads it.
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            continue;
        const QByteArray wordBytes = line.left(tab);
        const QString word = QString::fromUtf8(wordBytes);
        const QString code = QString::fromUtf8(line.mid(tab + 1));
        // Bytes that are not UTF-8 come back as U+FFFD and never match again.
        if (word.toUtf8() != wordBytes || !usableWord(word) || !usableCode(code))
            continue;
        if (seen.contains(word))
            continue;
        seen.insert(word);
        words.append({word, code});
    }
    return words;
}

} // namespace coding
