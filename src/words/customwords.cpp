#include "customwords.h"

#include "prepare/textcodec.h"

namespace words {

QStringList listItems(const QByteArray &content) {
    const QString text = prepare::decodeText(content);
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const auto isLineEnd = [](QChar c) { return c == u'\r' || c == u'\n'; };
    while (i < n) {
        while (i < n && isBlank(text.at(i)))
            ++i;
        QString item;
        if (i < n && text.at(i) == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            item = text.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            // Whatever follows the closing quote up to the separator is dropped.
            while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i)))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i)))
                ++i;
            item = text.mid(start, i - start);
            while (!item.isEmpty() && isBlank(item.back()))
                item.chop(1);
        }
        items << item;
        if (i < n && text.at(i) == u',') {
            ++i;
            // A comma at the end of a line leaves an empty item after it.
            if (i == n || isLineEnd(text.at(i)))
                items << QString();
        }
        // One line end (CR LF, LF or CR) ends the item.
        if (i < n && text.at(i) == u'\r')
            ++i;
        if (i < n && text.at(i) == u'\n')
            ++i;
    }
    return items;
}

QString resultText(const QStringList &items) {
    QString text;
    for (const QString &item : items)
        text += QLatin1Char(' ') + item;
    return text;
}

QStringList handOverWords(const QString &handOver) {
    const QStringList pieces = handOver.split(QLatin1Char(' '));
    QStringList words;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        const QString &w = pieces.at(i);
        if (w.isEmpty() || words.contains(w, Qt::CaseInsensitive))
            continue;
        words << w;
    }
    return words;
}

} // namespace words
