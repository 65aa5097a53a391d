// Cost of the data-access layer over plain SQLite: scalar reads on an open and on a closed
// database, 10,000 inserts in one counted transaction against the same through raw prepared
// statements, and the journal settings the connection uses against the alternatives.
//
// EXAMORA_BENCH_SMALL=1 shrinks every workload to its smallest size (CI smoke runs).

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <sqlite3.h>

#include "app/common_setting.h"
#include "platform/log.h"
#include "store/sqlite_helper.h"

namespace examora {
namespace {

int rowsPerTransaction() {
    return std::getenv("EXAMORA_BENCH_SMALL") ? 100 : 10000;
}

// A fresh database file in a temporary directory for one benchmark.
class BenchDb {
  public:
    explicit BenchDb(const std::string& name) {
        dir_ = std::filesystem::temp_directory_path() /
               ("examora-bench-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "zxexam.db").string();
        CommonSetting::setDbPath(path_);
        SQLiteHelper h;
        h.ExecuteNonQuery(
            "create table coursesubject (isubjectid integer primary key, ichapterid integer, "
            "ctitle text, cmyanswer text, danswerdate text)");
    }
    ~BenchDb() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::filesystem::path dir_;
    std::string path_;
};

const char* const kInsert =
    "insert into coursesubject (isubjectid, ichapterid, ctitle, cmyanswer, danswerdate) "
    "values (?, ?, ?, ?, ?)";
const char* const kTitle = "下列关于会计要素的表述中，正确的是 (which of the following is right)";

void fillRows(SQLiteHelper& h, int rows) {
    h.BeginTran();
    for (int i = 1; i <= rows; ++i)
        h.ExecuteNonQuery(kInsert, i, i % 50, kTitle, "A", "2015-03-01 08:09:10");
    h.CommitTran();
}

void BM_ExecuteScalarInt_Open(benchmark::State& state) {
    BenchDb db("scalar-open");
    SQLiteHelper h;
    fillRows(h, 1000);
    h.OpenDataBase();
    int id = 0;
    for (auto _ : state) {
        id = id % 1000 + 1;
        benchmark::DoNotOptimize(
            h.ExecuteScalarInt("select ichapterid from coursesubject where isubjectid = ?", id));
    }
    h.CloseDataBase();
}
BENCHMARK(BM_ExecuteScalarInt_Open);

void BM_ExecuteScalarInt_Closed(benchmark::State& state) {
    BenchDb db("scalar-closed");
    SQLiteHelper h;
    fillRows(h, 1000);
    int id = 0;
    for (auto _ : state) {
        id = id % 1000 + 1;
        benchmark::DoNotOptimize(
            h.ExecuteScalarInt("select ichapterid from coursesubject where isubjectid = ?", id));
    }
}
BENCHMARK(BM_ExecuteScalarInt_Closed);

// Argument: 1 reuses prepared statements (the connection's default), 0 prepares every time.
void BM_Insert_ExecuteNonQuery(benchmark::State& state) {
    BenchDb db("insert-helper");
    const int rows = rowsPerTransaction();
    SQLiteHelper h;
    h.db()->setShouldCacheStatements(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        h.ExecuteNonQuery("delete from coursesubject");
        state.ResumeTiming();
        fillRows(h, rows);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_Insert_ExecuteNonQuery)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void exec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// The same work as BM_Insert_ExecuteNonQuery written directly against SQLite: open, the same
// connection settings, one exclusive transaction, one prepared statement, close.
void BM_Insert_RawSqlite(benchmark::State& state) {
    BenchDb db("insert-raw");
    const int rows = rowsPerTransaction();
    for (auto _ : state) {
        state.PauseTiming();
        {
            SQLiteHelper h;
            h.ExecuteNonQuery("delete from coursesubject");
        }
        state.ResumeTiming();
        sqlite3* raw = nullptr;
        sqlite3_open_v2(db.path().c_str(), &raw,
                        SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
        exec(raw, "pragma journal_mode=wal");
        exec(raw, "pragma synchronous=normal");
        exec(raw, "begin exclusive transaction");
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, kInsert, -1, &stmt, nullptr);
        for (int i = 1; i <= rows; ++i) {
            sqlite3_bind_int(stmt, 1, i);
            sqlite3_bind_int(stmt, 2, i % 50);
            sqlite3_bind_text(stmt, 3, kTitle, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 4, "A", -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 5, "2015-03-01 08:09:10", -1, SQLITE_TRANSIENT);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        exec(raw, "commit transaction");
        sqlite3_close(raw);
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_Insert_RawSqlite)->Unit(benchmark::kMillisecond);

// Journal settings, measured on plain SQLite so that only the settings differ. Argument 0:
// delete journal, synchronous=full (SQLite's defaults); 1: delete, normal; 2: wal, normal;
// 3: wal, full. Every one of them keeps a committed write through a killed process.
const char* const kJournalModes[] = {"delete", "delete", "wal", "wal", "wal"};
const char* const kSyncModes[] = {"full", "normal", "normal", "full", "normal"};
// Setting 4 keeps the write-ahead log file between connections instead of deleting it at the
// last close.
bool persistsWal(int setting) {
    return setting == 4;
}

sqlite3* openWithSettings(const std::string& path, int setting) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.c_str(), &raw,
                    SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_busy_timeout(raw, 2000);
    exec(raw, (std::string("pragma journal_mode=") + kJournalModes[setting]).c_str());
    exec(raw, (std::string("pragma synchronous=") + kSyncModes[setting]).c_str());
    if (persistsWal(setting)) {
        int persist = 1;
        sqlite3_file_control(raw, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    }
    return raw;
}

void labelSetting(benchmark::State& state, int setting) {
    state.SetLabel(std::string(kJournalModes[setting]) + "/" + kSyncModes[setting] +
                   (persistsWal(setting) ? "/persist" : ""));
}

// The typical operation on a closed database: open, one autocommit write, close.
void BM_Journal_OpenWriteClose(benchmark::State& state) {
    const int setting = static_cast<int>(state.range(0));
    BenchDb db("journal-write");
    int id = 0;
    for (auto _ : state) {
        sqlite3* raw = openWithSettings(db.path(), setting);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, kInsert, -1, &stmt, nullptr);
        sqlite3_bind_int(stmt, 1, ++id);
        sqlite3_bind_int(stmt, 2, 1);
        sqlite3_bind_text(stmt, 3, kTitle, -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 4, "A", -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 5, "2015-03-01 08:09:10", -1, SQLITE_STATIC);
        sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        sqlite3_close(raw);
    }
    labelSetting(state, setting);
}
BENCHMARK(BM_Journal_OpenWriteClose)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Open, one indexed read, close.
void BM_Journal_OpenReadClose(benchmark::State& state) {
    const int setting = static_cast<int>(state.range(0));
    BenchDb db("journal-read");
    {
        SQLiteHelper h;
        fillRows(h, 100);
    }
    sqlite3_close(openWithSettings(db.path(), setting));
    for (auto _ : state) {
        sqlite3* raw = openWithSettings(db.path(), setting);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, "select ichapterid from coursesubject where isubjectid = 7", -1,
                           &stmt, nullptr);
        sqlite3_step(stmt);
        benchmark::DoNotOptimize(sqlite3_column_int(stmt, 0));
        sqlite3_finalize(stmt);
        sqlite3_close(raw);
    }
    labelSetting(state, setting);
}
BENCHMARK(BM_Journal_OpenReadClose)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Open, the rows of one transaction, commit, close.
void BM_Journal_Transaction(benchmark::State& state) {
    const int setting = static_cast<int>(state.range(0));
    BenchDb db("journal-txn");
    const int rows = rowsPerTransaction();
    for (auto _ : state) {
        state.PauseTiming();
        {
            sqlite3* raw = openWithSettings(db.path(), setting);
            exec(raw, "delete from coursesubject");
            sqlite3_close(raw);
        }
        state.ResumeTiming();
        sqlite3* raw = openWithSettings(db.path(), setting);
        exec(raw, "begin exclusive transaction");
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, kInsert, -1, &stmt, nullptr);
        for (int i = 1; i <= rows; ++i) {
            sqlite3_bind_int(stmt, 1, i);
            sqlite3_bind_int(stmt, 2, i % 50);
            sqlite3_bind_text(stmt, 3, kTitle, -1, SQLITE_STATIC);
            sqlite3_bind_text(stmt, 4, "A", -1, SQLITE_STATIC);
            sqlite3_bind_text(stmt, 5, "2015-03-01 08:09:10", -1, SQLITE_STATIC);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        exec(raw, "commit transaction");
        sqlite3_close(raw);
    }
    labelSetting(state, setting);
}
BENCHMARK(BM_Journal_Transaction)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// Open, one indexed read, close, while another thread keeps writing transactions of 200 rows
// (as a download does): how long the screens' reads wait for the writer.
void BM_Journal_ReadDuringWrites(benchmark::State& state) {
    const int setting = static_cast<int>(state.range(0));
    BenchDb db("journal-concurrent");
    {
        SQLiteHelper h;
        fillRows(h, 100);
    }
    sqlite3_close(openWithSettings(db.path(), setting));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        int id = 1000;
        while (!stop.load()) {
            sqlite3* raw = openWithSettings(db.path(), setting);
            exec(raw, "begin exclusive transaction");
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(raw, kInsert, -1, &stmt, nullptr);
            for (int i = 0; i < 200; ++i) {
                sqlite3_bind_int(stmt, 1, ++id);
                sqlite3_bind_int(stmt, 2, 1);
                sqlite3_bind_text(stmt, 3, kTitle, -1, SQLITE_STATIC);
                sqlite3_bind_text(stmt, 4, "A", -1, SQLITE_STATIC);
                sqlite3_bind_text(stmt, 5, "2015-03-01 08:09:10", -1, SQLITE_STATIC);
                sqlite3_step(stmt);
                sqlite3_reset(stmt);
            }
            sqlite3_finalize(stmt);
            exec(raw, "commit transaction");
            sqlite3_close(raw);
        }
    });
    int failures = 0;
    for (auto _ : state) {
        sqlite3* raw = openWithSettings(db.path(), setting);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, "select ichapterid from coursesubject where isubjectid = 7", -1,
                           &stmt, nullptr);
        if (sqlite3_step(stmt) != SQLITE_ROW) ++failures;
        sqlite3_finalize(stmt);
        sqlite3_close(raw);
    }
    stop = true;
    writer.join();
    state.counters["failed"] = failures;
    labelSetting(state, setting);
}
BENCHMARK(BM_Journal_ReadDuringWrites)
    ->DenseRange(1, 2)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace examora

int main(int argc, char** argv) {
    // Every open and close logs a line; the lines would measure the terminal, not the store.
    examora::setLogQuiet(true);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
