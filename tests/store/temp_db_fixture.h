#pragma once

#include <string>

#include "app/common_setting.h"
#include "support/temp_home.h"

namespace examora {

// Each test gets a fresh, empty database file, named by CommonSetting::DbPath, in its own
// temporary home (which also puts the settings back to their process-start values).
class TempDbTest : public TempHomeTest {
  protected:
    TempDbTest() { CommonSetting::setDbPath(dbPath_); }
    const std::string& dbPath() const { return dbPath_; }

  private:
    std::string dbPath_ = home_.path() + "/zxexam.db";
};

}  // namespace examora
