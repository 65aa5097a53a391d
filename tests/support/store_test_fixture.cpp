#include "support/store_test_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/common_setting.h"

namespace examora {

namespace fs = std::filesystem;

std::string StoreHome::templatePath() {
    if (const char* dir = std::getenv("EXAMORA_RESOURCES"); dir && *dir)
        return std::string(dir) + "/zxexam.db";
    return std::string(EXAMORA_BUILD_RESOURCES) + "/zxexam.db";
}

StoreHome::StoreHome() {
    std::string tmpl = (fs::temp_directory_path() / "examora-home-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary home");
    path_ = tmpl;
    fs::create_directories(documents() + "/image");
    fs::copy_file(templatePath(), dbPath());
    CommonSetting::reset();
    CommonSetting::setDbPath(dbPath());
    CommonSetting::setImagePath(documents() + "/image");
}

StoreHome::~StoreHome() {
    CommonSetting::reset();
    std::error_code ec;
    fs::remove_all(path_, ec);
}

StoreTest::StoreTest() {
    if (!fs::exists(StoreHome::templatePath()))
        throw std::runtime_error("no template database at " + StoreHome::templatePath());
    home_.emplace();
    sql_ = std::make_unique<SQLiteHelper>();
}

StoreTest::~StoreTest() {
    sql_.reset();
    home_.reset();
}

int StoreTest::count(const std::string& table, const std::string& where) {
    std::string q = "select count(*) from " + table;
    if (!where.empty()) q += " where " + where;
    return sql_->ExecuteScalarInt(q, std::vector<Value>{});
}

}  // namespace examora
