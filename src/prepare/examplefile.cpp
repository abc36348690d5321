#include "examplefile.h"

#include "textcodec.h"

#include "coding/tags.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace prepare {

namespace {

// A companion holds one tag per character of a text of at most some million
// characters; anything far larger is not one.
constexpr qint64 kMaxCompanionBytes = 16 * 1024 * 1024;

ExampleError errorOf(ExampleError::Kind kind, const QString &detail = {}) {
    ExampleError e;
    e.kind = kind;
    e.detail = detail;
    return e;
}

template <typename T> std::optional<T> fail(ExampleError *error, ExampleError e) {
    if (error)
        *error = std::move(e);
    return std::nullopt;
}

bool failed(ExampleError *error, ExampleError e) {
    if (error)
        *error = std::move(e);
    return false;
}

QString fileName(const QString &path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString companionPath(const QString &mainPath) {
    QString path = mainPath;
    return path.replace(QLatin1String("sav"), QLatin1String("ext"), Qt::CaseSensitive);
}

QByteArray companionContent(const QString &tags) {
    return encodeText(QLatin1Char('"') + tags + QLatin1String("\"\r\n"), TextEncoding::Gb18030);
}

std::optional<QString> parseCompanion(const QByteArray &content) {
    const QString text = decodeText(content);
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    QString line = end < 0 ? text : text.left(end);
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    // A field is read as a quoted string when it begins with a quote (leading
    // blanks allowed), otherwise up to a comma, without the blanks around it.
    const QString field = line.trimmed();
    if (field.startsWith(QLatin1Char('"'))) {
        const qsizetype close = field.indexOf(QLatin1Char('"'), 1);
        if (close < 0)
            return std::nullopt;
        return field.mid(1, close - 1);
    }
    end = field.indexOf(QLatin1Char(','));
    return (end < 0 ? field : field.left(end)).trimmed();
}

QString exampleErrorMessage(const ExampleError &error) {
    using Kind = ExampleError::Kind;
    const auto detail = [&error] {
        return error.detail.isEmpty() ? QString() : QStringLiteral("（%1）").arg(error.detail);
    };
    switch (error.kind) {
    case Kind::MainUnreadable:
        return QStringLiteral("无法读取此文件！") + detail();
    case Kind::MainDamaged:
        return QStringLiteral("此文件不是有效的分词例文，不能打开此文件！（%1）")
            .arg(coding::describeRtfError(error.rtf));
    case Kind::CompanionMissing:
        return QStringLiteral("辅助文件不存在，不能打开此文件！");
    case Kind::CompanionUnreadable:
        return QStringLiteral("无法读取辅助文件，不能打开此文件！") + detail();
    case Kind::CompanionDamaged:
        return QStringLiteral("辅助文件已损坏，不能打开此文件！") + detail();
    case Kind::TagCountMismatch:
        return QStringLiteral("分词例文与辅助文件不一致，不能打开此文件！（例文有%1个字符，"
                              "辅助文件有%2个分词标记）")
            .arg(error.characters)
            .arg(error.tags);
    case Kind::BadTag:
        return QStringLiteral("辅助文件已损坏，不能打开此文件！（第%1个分词标记“%2”无效）")
            .arg(error.position + 1)
            .arg(error.tag);
    case Kind::NotWritten:
        return QStringLiteral("分词例文保存失败！") + detail() +
               QStringLiteral("\n请检查硬盘是否写保护，或者硬盘空间已满！");
    case Kind::SameFile:
        return QStringLiteral("分词例文的文件名中必须含有“sav”！") + detail();
    }
    return {};
}

std::optional<ExampleError> checkExampleTags(const QString &text, const QString &tags) {
    if (tags.size() != text.size()) {
        ExampleError e = errorOf(ExampleError::Kind::TagCountMismatch);
        e.characters = text.size();
        e.tags = tags.size();
        return e;
    }
    using coding::Tag;
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const QChar t = tags.at(i);
        const bool known = coding::isWordTag(t) || coding::isTag(t, Tag::Punct) ||
                           coding::isTag(t, Tag::AlphaNum) ||
                           (coding::isTag(t, Tag::Separator) && text.at(i) == QLatin1Char(' '));
        if (!known) {
            ExampleError e = errorOf(ExampleError::Kind::BadTag);
            e.position = i;
            e.tag = t;
            return e;
        }
    }
    return std::nullopt;
}

std::optional<Example> readExample(const QString &mainPath, ExampleError *error) {
    using Kind = ExampleError::Kind;
    const QString companion = companionPath(mainPath);
    if (companion == mainPath || !QFileInfo::exists(companion))
        return fail<Example>(error, errorOf(Kind::CompanionMissing, fileName(companion)));

    QFile main(mainPath);
    if (!main.open(QIODevice::ReadOnly))
        return fail<Example>(error, errorOf(Kind::MainUnreadable, main.errorString()));
    const QByteArray rtf = main.read(coding::kRtfMaxBytes + 1);
    if (main.error() != QFileDevice::NoError)
        return fail<Example>(error, errorOf(Kind::MainUnreadable, main.errorString()));
    coding::RtfError rtfError;
    auto text = coding::readRtf(rtf, &rtfError);
    if (!text) {
        ExampleError e = errorOf(Kind::MainDamaged);
        e.rtf = rtfError;
        return fail<Example>(error, e);
    }

    QFile tagFile(companion);
    if (!tagFile.open(QIODevice::ReadOnly))
        return fail<Example>(error, errorOf(Kind::CompanionUnreadable, tagFile.errorString()));
    const QByteArray content = tagFile.read(kMaxCompanionBytes + 1);
    if (tagFile.error() != QFileDevice::NoError)
        return fail<Example>(error, errorOf(Kind::CompanionUnreadable, tagFile.errorString()));
    if (content.size() > kMaxCompanionBytes)
        return fail<Example>(error, errorOf(Kind::CompanionDamaged, QStringLiteral("文件过大")));
    const auto tags = parseCompanion(content);
    if (!tags)
        return fail<Example>(error, errorOf(Kind::CompanionDamaged, QStringLiteral("引号不配对")));
    if (auto mismatch = checkExampleTags(text->text, *tags))
        return fail<Example>(error, *mismatch);
    return Example{std::move(*text), *tags};
}

bool writeExample(const QString &mainPath, const coding::RtfText &text, const QString &tags,
                  ExampleError *error) {
    using Kind = ExampleError::Kind;
    const QString companion = companionPath(mainPath);
    if (companion == mainPath)
        return failed(error, errorOf(Kind::SameFile, fileName(mainPath)));
    if (auto mismatch = checkExampleTags(text.text, tags))
        return failed(error, *mismatch);

    const auto notWritten = [&](const QFileDevice &file) {
        return failed(
            error, errorOf(Kind::NotWritten, QStringLiteral("%1：%2").arg(fileName(file.fileName()),
                                                                          file.errorString())));
    };
    // Both files go to temporaries first; nothing is replaced until both are whole.
    // Unbuffered, so that a short write (a full disk) shows in write()'s count: through
    // a buffer QSaveFile would commit a file cut short and call it done.
    QSaveFile mainFile(mainPath), tagFile(companion);
    const QByteArray rtf = coding::writeRtf(text);
    const QByteArray line = companionContent(tags);
    if (!mainFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        mainFile.write(rtf) != rtf.size())
        return notWritten(mainFile);
    if (!tagFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        tagFile.write(line) != line.size())
        return notWritten(tagFile);

    // The main file's earlier content, to put back should the companion fail.
    std::optional<QByteArray> before;
    {
        QFile old(mainPath);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly))
                return notWritten(old);
            before = old.readAll();
        }
    }
    if (!mainFile.commit())
        return notWritten(mainFile);
    if (!tagFile.commit()) {
        ExampleError e =
            errorOf(Kind::NotWritten,
                    QStringLiteral("%1：%2").arg(fileName(companion), tagFile.errorString()));
        if (before) {
            QSaveFile restore(mainPath);
            if (restore.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                restore.write(*before) == before->size())
                restore.commit();
        } else {
            QFile::remove(mainPath);
        }
        return failed(error, e);
    }
    return true;
}

} // namespace prepare
