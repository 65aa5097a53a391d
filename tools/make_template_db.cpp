// Builds the template database: executes a SQL script into a fresh SQLite file.
// Usage: make_template_db <script.sql> <output.db>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {
struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <script.sql> <output.db>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream script;
    script << in.rdbuf();

    // Build beside the target and rename, so a failed build never leaves a half-made template.
    const std::string out = argv[2];
    const std::string tmp = out + ".tmp";
    std::filesystem::remove(tmp);
    sqlite3* raw = nullptr;
    if (sqlite3_open(tmp.c_str(), &raw) != SQLITE_OK) {
        std::fprintf(stderr, "cannot create %s\n", tmp.c_str());
        sqlite3_close(raw);
        return 1;
    }
    std::unique_ptr<sqlite3, DbCloser> db(raw);
    char* err = nullptr;
    if (sqlite3_exec(db.get(), script.str().c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], err ? err : "error");
        sqlite3_free(err);
        db.reset();
        std::filesystem::remove(tmp);
        return 1;
    }
    db.reset();
    std::filesystem::rename(tmp, out);
    return 0;
}
