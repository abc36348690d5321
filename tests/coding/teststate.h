#pragma once

// A program state over a private application directory, with a fake library and
// fake message boxes, and (unless told otherwise) the standard fixture database.

#include "coding/appstate.h"
#include "fixturedatabase.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

namespace coding::fixture {

struct TestState {
    enum class Database { Standard, None };

    explicit TestState(Database db = Database::Standard) {
        auto lib = std::make_unique<FakeLibrary>();
        library = lib.get();
        state = std::make_unique<AppState>(AppDirectory::at(dir.path()), std::move(lib));
        state->services.setMessages(&messages);
        if (db == Database::Standard)
            write(standardRows());
    }
    void write(const CodeRows &rows) {
        const QString error = writeCodeDatabase(databasePath(), rows);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    }
    QString databasePath() const { return dir.filePath(QStringLiteral("jtdb.dat")); }

    QTemporaryDir dir;
    FakeLibrary *library = nullptr; // owned by state
    FakeMessages messages;
    std::unique_ptr<AppState> state;
};

} // namespace coding::fixture
