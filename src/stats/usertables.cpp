#include "usertables.h"

#include "coding/appstate.h"
#include "coding/segmentationlibrary.h"

namespace stats {

UserTablesResult buildUserTables(coding::AppState &state, coding::LibraryError *error) {
    state.derived.typed.reset();
    const QString &typed = state.test.TypedText;
    if (typed.isEmpty()) {
        state.derived.typed = coding::TypedTables{};
        return UserTablesResult::Ok;
    }

    coding::LibraryError why{coding::LibraryError::Kind::NoLibrary, {}, {}, 0};
    QString tags;
    if (state.library)
        tags = state.library->divideSentence(typed, &why);
    if (tags.isNull() || tags.size() != typed.size()) {
        if (!tags.isNull())
            why = {coding::LibraryError::Kind::Mismatch, {}, {}, 0};
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
