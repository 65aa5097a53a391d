#pragma once

#include "store/sqlite_helper.h"

namespace examora {

// Keeps a data-access object's database open for a block of statements and readers: opens it if
// it is closed and, at the end of the scope (also when an exception passes), closes it only if
// this scope opened it. A database the caller holds open stays open.
class DatabaseScope {
  public:
    explicit DatabaseScope(SQLiteHelper& helper)
        : helper_(helper), opened_(helper.OpenDataBase()) {}
    ~DatabaseScope() {
        if (opened_) helper_.CloseDataBase();
    }
    DatabaseScope(const DatabaseScope&) = delete;
    DatabaseScope& operator=(const DatabaseScope&) = delete;

  private:
    SQLiteHelper& helper_;
    bool opened_;
};

}  // namespace examora
