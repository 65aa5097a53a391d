#include "support/store_test_fixture.h"

#include <stdexcept>

namespace examora {

StoreTest::StoreTest() {
    if (!home_.installTemplate())
        throw std::runtime_error("the template database could not be installed");
    sql_ = std::make_unique<SQLiteHelper>();
}

StoreTest::~StoreTest() {
    sql_.reset();
}

int StoreTest::count(const std::string& table, const std::string& where) {
    std::string q = "select count(*) from " + table;
    if (!where.empty()) q += " where " + where;
    return sql_->ExecuteScalarInt(q, std::vector<Value>{});
}

}  // namespace examora
