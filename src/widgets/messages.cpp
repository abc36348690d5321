#include "messages.h"

#include "coding/appstate.h"

#include <QDir>

namespace widgets {

QString codeDatabaseMessage(const coding::CodeDatabaseError &error) {
    using Kind = coding::CodeDatabaseError::Kind;
    const QString file = QDir::toNativeSeparators(error.path);
    QString text;
    switch (error.kind) {
    case Kind::None:
        return {};
    case Kind::Missing:
        text = QStringLiteral("编码数据库文件%1不存在，无法查询汉字和词的编码！").arg(file);
        break;
    case Kind::Damaged:
        text =
            QStringLiteral("编码数据库文件%1已损坏或无法读取，无法查询汉字和词的编码！").arg(file);
        break;
    case Kind::NotOpen:
        text = QStringLiteral("编码数据库文件%1未打开，无法查询汉字和词的编码！").arg(file);
        break;
    }
    if (!error.detail.isEmpty())
        text += QLatin1Char('\n') + error.detail;
    return text;
}

QString libraryMessage(const coding::LibraryError &error) {
    using Kind = coding::LibraryError::Kind;
    switch (error.kind) {
    case Kind::None:
        return {};
    case Kind::NoLibrary:
        return QStringLiteral("分词库未载入，无法分词！");
    case Kind::DictionaryUnusable:
        return QStringLiteral("分词词库%1已损坏或不存在，无法分词！\n%2")
            .arg(QDir::toNativeSeparators(error.path), error.detail);
    case Kind::SegmentationFailed:
        return QStringLiteral("分词失败（错误 %1）").arg(error.code);
    case Kind::Mismatch:
        return QStringLiteral("分词结果与文本的长度不一致，无法分词！");
    }
    return {};
}

void reportCodeDatabaseError(coding::AppState &state) {
    if (const auto error = state.codeDatabase.takeUnreportedError())
        state.services.messages().show(codeDatabaseMessage(*error), QStringLiteral("提示信息"),
                                       coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
}

} // namespace widgets
