#pragma once

#include <memory>

#include <sqlite3.h>

namespace examora {

// Owning handles for the SQLite C objects. A connection handle is closed with sqlite3_close_v2,
// which defers the real close until the last statement is finalized, so destruction order between
// a connection and a stray statement can never leak or crash.
struct SqliteStatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using SqliteStatementPtr = std::unique_ptr<sqlite3_stmt, SqliteStatementFinalizer>;

struct SqliteHandleCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteHandlePtr = std::unique_ptr<sqlite3, SqliteHandleCloser>;

}  // namespace examora
