#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "store/sqlite_helper.h"

namespace examora {

// A fresh application home in a temporary directory: documents/zxexam.db installed from the
// built template (EXAMORA_RESOURCES, else the build tree's resources) and documents/image, with
// CommonSetting reset and its DbPath and ImagePath pointing there. Everything is removed and
// CommonSetting reset again when the object goes.
class StoreHome {
  public:
    StoreHome();
    ~StoreHome();
    StoreHome(const StoreHome&) = delete;
    StoreHome& operator=(const StoreHome&) = delete;

    const std::string& path() const { return path_; }
    std::string documents() const { return path_ + "/documents"; }
    std::string dbPath() const { return documents() + "/zxexam.db"; }

    // The template database of the build.
    static std::string templatePath();

  private:
    std::string path_;
};

// A test whose every case runs on its own StoreHome, with a connection of its own for checks.
// The home is made in the constructor, so that data-access members of a derived fixture are
// created on the test's database.
class StoreTest : public ::testing::Test {
  protected:
    StoreTest();
    ~StoreTest() override;

    // A data-access object on the test's database, for setting up and checking rows directly.
    SQLiteHelper& sql() { return *sql_; }
    // Rows of the table, optionally only those matching the condition.
    int count(const std::string& table, const std::string& where = std::string());

    std::optional<StoreHome> home_;

  private:
    std::unique_ptr<SQLiteHelper> sql_;
};

}  // namespace examora
