#pragma once

#include "coding/segmentationlibrary.h"

namespace coding {
struct AppState;
} // namespace coding

namespace stats {

enum class UserTablesResult {
    Ok,
    LibraryFailed,  // the typed text could not be segmented; error says why
    DatabaseFailed, // jtdb.dat failed: widgets::reportCodeDatabaseError tells the user
};

// Segments the typed text (test.TypedText) with the library and builds its tables
// (coding::TableKind::TypedText) into derived.typed. An empty typed text gives empty
// tables without asking the library. On failure derived.typed stays empty.
UserTablesResult buildUserTables(coding::AppState &state, coding::LibraryError *error);

} // namespace stats
