#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "store/sqlite_helper.h"
#include "support/temp_home.h"

namespace examora {

// A test whose every case runs in its own TempHome with the template database installed as the
// launch installs it (documents/zxexam.db and documents/image; CommonSetting's DbPath and
// ImagePath point there), and with a connection of its own for setting up and checking rows.
// The home is made in the constructor, so that data-access members of a derived fixture are
// created on the test's database.
class StoreTest : public ::testing::Test {
  protected:
    StoreTest();
    ~StoreTest() override;

    // A data-access object on the test's database.
    SQLiteHelper& sql() { return *sql_; }
    // Rows of the table, optionally only those matching the condition.
    int count(const std::string& table, const std::string& where = std::string());

    TempHome home_;

  private:
    std::unique_ptr<SQLiteHelper> sql_;
};

}  // namespace examora
