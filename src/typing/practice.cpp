#include "practice.h"

#include "coding/utf16.h"

#include <QFile>

#include <algorithm>
#include <random>

namespace typing {

QString lessonKindName(LessonKind kind) {
    switch (kind) {
    case LessonKind::TwoCharacterWords:
        return QStringLiteral("二字词");
    case LessonKind::ThreeCharacterWords:
        return QStringLiteral("三字词");
    case LessonKind::FourCharacterWords:
        return QStringLiteral("四字词");
    case LessonKind::ShortCodeItems:
        return QStringLiteral("简码字词");
    }
    return {};
}

std::optional<QStringList> lessonWords(const QString &itemsPath, LessonKind kind, int set,
                                       QString *error) {
    QFile file(itemsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("无法读取编码数据 %1：%2").arg(itemsPath, file.errorString());
        return std::nullopt;
    }
    const int wanted = kind == LessonKind::TwoCharacterWords     ? 2
                       : kind == LessonKind::ThreeCharacterWords ? 3
                       : kind == LessonKind::FourCharacterWords  ? 4
                                                                 : 0;
    struct Item {
        QString word;
        qint64 freq;
    };
    std::vector<Item> items;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split('\t');
        if (fields.size() < 4)
            continue;
        const QString word = QString::fromUtf8(fields[0]);
        const qsizetype length = coding::utf16::characterCount(word);
        const bool matches = wanted > 0 ? length == wanted : !fields[2].trimmed().isEmpty();
        if (matches)
            items.push_back({word, fields[3].toLongLong()});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item &a, const Item &b) { return a.freq > b.freq; });
    QStringList words;
    for (size_t i = size_t(set) * kWordsPerSet;
         i < items.size() && i < size_t(set + 1) * kWordsPerSet; ++i)
        words << items[i].word;
    return words;
}

QString practiceText(const QStringList &words, int repeats, quint32 seed, int minimumCharacters) {
    if (words.isEmpty())
        return {};
    qsizetype once = 0;
    for (const QString &w : words)
        once += coding::utf16::characterCount(w);
    int times = std::max(repeats, 1);
    while (once * times < minimumCharacters)
        ++times;
    QStringList all;
    for (int t = 0; t < times; ++t)
        all += words;
    std::mt19937 mix(seed);
    std::shuffle(all.begin(), all.end(), mix);
    QString text;
    for (qsizetype i = 0; i < all.size(); ++i) {
        text += all.at(i);
        if (i + 1 == all.size())
            text += QStringLiteral("。");
        else if ((i + 1) % 4 == 0)
            text += QStringLiteral("，");
    }
    return text;
}

} // namespace typing
