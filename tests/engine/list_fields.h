#pragma once

#include <string_view>
#include <vector>

#include "store/database_scope.h"
#include "store/sqlite_helper.h"

namespace examora {

// One member of every record of a list, in list order.
template <class T, class M>
std::vector<M> fields(const std::vector<T>& list, M T::*member) {
    std::vector<M> out;
    for (const T& item : list)
        out.push_back(item.*member);
    return out;
}

// The first column of every row of a query, as integers.
template <class... Args>
std::vector<int> intRows(SQLiteHelper& db, std::string_view sql, const Args&... args) {
    std::vector<int> out;
    DatabaseScope open(db);
    auto rs = db.ExecuteDataReader(sql, std::vector<Value>{Value(args)...});
    while (rs && rs->next())
        out.push_back(rs->intForColumnIndex(0));
    return out;
}

}  // namespace examora
