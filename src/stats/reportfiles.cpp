#include "reportfiles.h"

#include "keystrokes.h"

#include "coding/appstate.h"
#include "coding/texttables.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>

namespace stats {

namespace {

const QString kStarLine = QString(38, QLatin1Char('*'));

void keyBlock(QStringList &out, const KeyCounts &counts) {
    out << kStarLine;
    for (const KeyCountLine &line : keyCountLines()) {
        out << line.label + QString::number(counts[size_t(line.index)]);
        if (line.index == 3 || line.index == 8 || line.index == 13)
            out << QString();
    }
    out << kStarLine << QString();
}

} // namespace

QStringList wordListLines(const coding::TextTables &tables) {
    QStringList out;
    for (const auto &lengthClass : tables.WordTable) {
        for (const coding::CodeRecord &word : lengthClass)
            out << QLatin1Char('"') + word.text + QLatin1Char('"');
    }
    return out;
}

QString durationText(qint64 ms) {
    const qint64 seconds = std::max<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QStringList statisticsReportLines(const coding::AppState &state) {
    const coding::CurrentText &text = state.text;
    const coding::DerivedStats &derived = state.derived;
    const coding::ResultTexts result = derived.result.value_or(coding::ResultTexts{});
    const coding::LearnerFigures learner = derived.learner.value_or(coding::LearnerFigures{});

    QStringList out;
    out << QStringLiteral("以下是关于文本和用户技术的基本信息：") << QString() << kStarLine;
    out << QStringLiteral("文本中的总字数：") +
               QString::number(text.HzCount + text.SymCount + text.AlphaCount)
        << QStringLiteral("文本中的汉字数：") + QString::number(text.HzCount)
        << QStringLiteral("文本中的标点符号数：") + QString::number(text.SymCount)
        << QStringLiteral("文本中的字母数字数：") + QString::number(text.AlphaCount)
        << QStringLiteral("用户所用时间：") + durationText(state.test.TestDuration)
        << QStringLiteral("正确率：") + result.AccuracyText
        << QStringLiteral("输入速度：") + result.SpeedText
        << QStringLiteral("有效速度：") + result.EffSpeedText;
    out << kStarLine << QString();

    out << QStringLiteral("以下是关于文本的详细信息：") << QString()
        << QStringLiteral("文本中包含的文字信息：") << kStarLine
        << QStringLiteral("     文字     次数     标准码     简码");
    if (derived.textTables) {
        for (const auto &lengthClass : derived.textTables->WordTable) {
            for (const coding::CodeRecord &w : lengthClass)
                out << QStringLiteral("     ") + w.text + QStringLiteral("       ") +
                           QString::number(w.count) + QStringLiteral("      ") + w.stdCode +
                           QStringLiteral("       ") + w.shortCode;
        }
    }
    out << kStarLine << QString();

    if (derived.textKeys) {
        out << QStringLiteral("关于全部文本的键数信息：");
        keyBlock(out, *derived.textKeys);
    }

    out << QStringLiteral("以下是关于用户技术的详细信息：") << QString() << kStarLine;
    out << QStringLiteral("用户输入的总字数：") + QString::number(learner.UserCharTotal);
    const char16_t *const lengths[5] = {u"单字", u"二字词", u"三字词", u"四字词", u"多字词"};
    for (size_t i = 0; i < 5; ++i)
        out << QStringLiteral("用户输入的") + QString::fromUtf16(lengths[i]) +
                   QStringLiteral("个数：") + QString::number(learner.UserWordLenCounts[i]);
    out << QStringLiteral("用户输入时的总击键数：") + QString::number(learner.UserKeyTotal)
        << QStringLiteral("用户输入时的平均击键数/字：") +
               QString::number(learner.UserAvgKeys, 'g', 15);
    out << kStarLine << QString();

    if (derived.userKeys) {
        out << QStringLiteral("以下是关于用户所输入的文本的键数信息：");
        keyBlock(out, *derived.userKeys);
    }
    return out;
}

QByteArray fileBytes(const QStringList &lines) {
    QStringEncoder encoder("GB18030");
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += encoder.encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

} // namespace stats
