#pragma once

#include <string>

#include "store/sqlite_helper.h"

namespace examora {

// Name/value settings of sys_cussetting: values the service publishes (default points per
// question type, paper defaults) and values the device sets (text size, display switches,
// examination dates, upload bookmarks). Values are text; integers are stored as decimal text.
class CusSettingUtil : public SQLiteHelper {
  public:
    // The stored value; the empty text when there is no row, the value is null or it cannot be
    // read.
    std::string getValue(const std::string& name);
    // defaultValue when the value is empty (missing, null, "NULL" or ""); otherwise the value's
    // leading integer, so a text without leading digits reads 0.
    int getIntValue(const std::string& name, int defaultValue);
    // Stores the value. False when the same value is stored already (nothing changes) or the
    // write failed. An existing row keeps its date; a new row is dated now.
    bool setValue(const std::string& name, const std::string& value);
    // Empties every catalogue, content, learner and system table and marks every base item as
    // never refreshed, in one transaction. A failure rolls everything back; it is logged, not
    // passed on.
    void clearDBData();

    // One getValue or setValue on a fresh instance (and so a connection of its own): callable
    // from any thread.
    static std::string getSettingValue(const std::string& name);
    static bool setSettingValue(const std::string& name, const std::string& value);
};

}  // namespace examora
