#include "usertables.h"

#include "coding/appstate.h"
#include "coding/segmentationlibrary.h"

namespace stats {

UserTablesResult buildUserTables(coding::AppState &state, QString *error) {
    state.derived.typed.reset();
    const QString &typed = state.test.TypedText;
    if (typed.isEmpty()) {
        state.derived.typed = coding::TypedTables{};
        return UserTablesResult::Ok;
    }

    QString why;
    QString tags;
    if (state.library)
        tags = state.library->divideSentence(typed, &why);
    else
        why = QStringLiteral("分词库未载入，无法统计用户输入的键数！");
    if (tags.isNull() || tags.size() != typed.size()) {
        if (why.isEmpty())
            why = QStringLiteral("分词库返回的分词结果与用户输入的文字不相符，无法统计键数！");
        if (error)
            *error = why;
        return UserTablesResult::LibraryFailed;
    }
    auto tables = coding::buildTextTables(state, typed, tags, coding::TableKind::TypedText);
    if (!tables)
        return UserTablesResult::DatabaseFailed;
    state.derived.typed = coding::TypedTables{tags, std::move(*tables)};
    return UserTablesResult::Ok;
}

} // namespace stats
