#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/common_setting.h"

namespace examora {

// Each test gets a fresh, empty database file in its own temporary directory, named by
// CommonSetting::DbPath, and settings back at their process-start values.
class TempDbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CommonSetting::reset();
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "examora-store-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        dbPath_ = (dir_ / "zxexam.db").string();
        CommonSetting::setDbPath(dbPath_);
    }

    void TearDown() override {
        CommonSetting::reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    const std::string& dbPath() const { return dbPath_; }

  private:
    std::filesystem::path dir_;
    std::string dbPath_;
};

}  // namespace examora
