// Course packages: install of a generated course's package against its floor, the four-part
// ranged download over loopback, and the install's resident-set high-water mark.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "app/common_setting.h"
#include "bench_service.h"
#include "lib/course_content_generator.h"
#include "lib/course_generator.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "platform/zip_extractor.h"
#include "platform/zx_file_multi_downloader.h"
#include "server/content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "store/content_cipher.h"
#include "store/sqlite_helper.h"
#include "sync/subject_file_downloader.h"

extern char** environ;

namespace {

using namespace examora;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

bool smallMode() {
    return CourseSize::largestSelected() == CourseSize::S;
}
char benchSize() {
    return smallMode() ? 'S' : 'L';
}
// The download's file: 50 MB, or 1 MB for the smoke run.
std::int64_t downloadBytes() {
    return smallMode() ? (1 << 20) : 50'000'000;
}

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The reference service holding the generated course, its package downloaded once and kept, and
// an incompressible file of downloadBytes() served under a package name.
struct Setup {
    BenchService bench{"package", [](ReferenceService& service, const fs::path&) {
                           ContentLoader(service.store()).loadGenerated(benchSize());
                       }};
    const fs::path& root = bench.root();
    int courseId = CourseGenerator::courseIdForSize(benchSize());
    fs::path archive;
    std::string bigURL;
    std::int64_t archiveBytes = 0;

    Setup() {
        bench.useClient(root / "first", courseId);
        SubjectFileDownloader downloader;
        std::optional<std::string> path;
        downloader.downloadCourseZipFileWithCourseId(
            courseId, 0, "", [&](const auto& p, const auto& error) {
                if (error) throw std::runtime_error("package download failed: " + *error);
                path = p;
            });
        if (!path) throw std::runtime_error("the service named no package");
        archive = root / "package.zip";
        fs::rename(*path, archive);
        archiveBytes = static_cast<std::int64_t>(fs::file_size(archive));

        const std::string name = "course999_0123456789abcdef.zip";
        const fs::path big = root / "service" / "subject" / name;
        fs::create_directories(big.parent_path());
        std::ofstream out(big, std::ios::binary);
        std::mt19937_64 random(14);
        std::string block(1 << 16, '\0');
        for (std::int64_t left = downloadBytes(); left > 0;) {
            for (std::size_t i = 0; i + 8 <= block.size(); i += 8) {
                const std::uint64_t v = random();
                std::memcpy(&block[i], &v, 8);
            }
            const std::int64_t n = std::min<std::int64_t>(left, std::ssize(block));
            out.write(block.data(), n);
            left -= n;
        }
        bigURL = SubjectFileDownloader::packageURL(bench.service().serviceURL(), "subject/" + name);
    }
    // A copy of the kept archive, for an install (which removes the archive it unpacks).
    fs::path archiveCopy(const fs::path& dir) const {
        fs::create_directories(dir);
        const fs::path to = dir / "tmp.zip";
        fs::copy_file(archive, to, fs::copy_options::overwrite_existing);
        return to;
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

// The floor of an install: the archive unpacked, then the questions written by one prepared
// insert in one transaction, titles and analyses enciphered as the install stores them.
double installFloor(const CourseContent& content, const fs::path& dir) {
    setup().bench.useClient(dir, setup().courseId);
    const fs::path zip = setup().archiveCopy(dir);
    const auto start = Clock::now();
    if (!ZipExtractor::extract(zip, dir / "unpacked").complete)
        throw std::runtime_error("the archive did not unpack");
    sqlite3* raw = nullptr;
    sqlite3_open_v2(CommonSetting::DbPath().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, DbCloser> db(raw);
    sqlite3_exec(db.get(), "pragma journal_mode=wal; pragma synchronous=normal; begin", nullptr,
                 nullptr, nullptr);
    sqlite3_stmt* rawStatement = nullptr;
    sqlite3_prepare_v2(db.get(),
                       "insert into coursesubject(isubjectid,icourseid,ichapterid,isubjecttype,"
                       "ichaptertype,iindex,iscore,ctitle,cquestion,canswer,ianswercount,"
                       "cdescription,csubjecttype,bpicquestion,bpicanswer,bstopflag,dchangedate,"
                       "cmaker,bremember,bcollect,iwrong) "
                       "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'',0,0,0)",
                       -1, &rawStatement, nullptr);
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> insert(rawStatement);
    if (!insert) throw std::runtime_error("the floor's insert did not prepare");
    for (const Dict& s : content.subjects) {
        const std::string title = ContentCipher::encipher(s.get("ctitle").asString()).value_or("");
        const std::string description =
            ContentCipher::encipher(s.get("cdescription").asString()).value_or("");
        const std::string question = s.get("cquestion").asString();
        const std::string answer = s.get("canswer").asString();
        const std::string typeText = s.get("csubjecttype").asString();
        sqlite3_stmt* st = insert.get();
        sqlite3_reset(st);
        sqlite3_bind_int64(st, 1, s.get("isubjectid").asInt64());
        sqlite3_bind_int64(st, 2, s.get("icourseid").asInt64());
        sqlite3_bind_int64(st, 3, s.get("ichapterid").asInt64());
        sqlite3_bind_int64(st, 4, s.get("isubjecttype").asInt64());
        sqlite3_bind_int64(st, 5, s.get("ichaptertype").asInt64());
        sqlite3_bind_int64(st, 6, s.get("iindex").asInt64());
        sqlite3_bind_double(st, 7, s.get("iscore").asDouble());
        sqlite3_bind_text(st, 8, title.data(), static_cast<int>(title.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, 9, question.data(), static_cast<int>(question.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, 10, answer.data(), static_cast<int>(answer.size()), SQLITE_STATIC);
        sqlite3_bind_int64(st, 11, s.get("ianswercount").asInt64());
        sqlite3_bind_text(st, 12, description.data(), static_cast<int>(description.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(st, 13, typeText.data(), static_cast<int>(typeText.size()),
                          SQLITE_STATIC);
        sqlite3_bind_int64(st, 14, s.get("bpicquestion").asInt64());
        sqlite3_bind_int64(st, 15, s.get("bpicanswer").asInt64());
        sqlite3_bind_int64(st, 16, 0);
        sqlite3_bind_text(st, 17, "2026-12-06 00:00:00", -1, SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_DONE)
            throw std::runtime_error(std::string("floor insert: ") + sqlite3_errmsg(db.get()));
    }
    sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr);
    return seconds(start);
}

// The install and its floor in the same iteration, so that the ratio compares like with like.
void BM_PackageInstall(benchmark::State& state) {
    const CourseContent content = CourseContentGenerator::content(benchSize());
    double installTotal = 0, floorTotal = 0;
    std::size_t records = 0, pictures = 0;
    int run = 0;
    for (auto _ : state) {
        const fs::path dir = setup().root / ("install-" + std::to_string(++run));
        setup().bench.useClient(dir, setup().courseId);
        const fs::path zip = setup().archiveCopy(dir);
        const auto start = Clock::now();
        SubjectFileDownloader downloader;
        const PackageInstallResult r =
            downloader.InstallSubjectWithCourseId(setup().courseId, zip.string());
        const double s = seconds(start);
        if (!r.installed) throw std::runtime_error("install failed: " + r.error);
        records = r.records;
        pictures = r.pictures;
        installTotal += s;
        state.SetIterationTime(s);
        floorTotal += installFloor(content, setup().root / ("floor-" + std::to_string(run)));
        fs::remove_all(dir);
        fs::remove_all(setup().root / ("floor-" + std::to_string(run)));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["records"] = static_cast<double>(records);
    state.counters["pictures"] = static_cast<double>(pictures);
    state.counters["archive_MB"] = static_cast<double>(setup().archiveBytes) / 1e6;
    state.counters["install_s"] = installTotal / n;
    state.counters["floor_s"] = floorTotal / n;
    state.counters["x_floor"] = installTotal / floorTotal;
}
BENCHMARK(BM_PackageInstall)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RangedDownload(benchmark::State& state) {
    const fs::path dest = setup().root / "download.zip";
    std::int64_t bytes = 0;
    double total = 0;
    for (auto _ : state) {
        std::error_code ec;
        fs::remove(dest, ec);
        ZxFileMultiDownloader downloader(setup().bigURL, dest);
        const auto start = Clock::now();
        const std::optional<std::string> failure = downloader.start();
        const double s = seconds(start);
        if (failure) throw std::runtime_error("download failed: " + *failure);
        bytes = static_cast<std::int64_t>(fs::file_size(dest));
        if (bytes != downloadBytes()) throw std::runtime_error("the download is short");
        total += s;
        state.SetIterationTime(s);
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["MB_per_s"] =
        static_cast<double>(bytes) * static_cast<double>(state.iterations()) / 1e6 / total;
}
BENCHMARK(BM_RangedDownload)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The resident-set high-water mark of an install run in a process of its own (this program
// started again with kChildFlag), which reports its VmHWM when done.
constexpr const char* kChildFlag = "--package-install-child";

long vmHwmKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

int installChild(int argc, char** argv) {
    if (argc < 6) return 2;
    setLogQuiet(true);
    CommonSetting::setDbPath(argv[2]);
    CommonSetting::setImagePath(argv[3]);
    const long before = vmHwmKilobytes();
    SubjectFileDownloader downloader;
    const PackageInstallResult r =
        downloader.InstallSubjectWithCourseId(std::atoi(argv[5]), argv[4]);
    if (!r.installed) return 3;
    std::printf("%ld %ld\n", before, vmHwmKilobytes());
    return 0;
}

void BM_InstallPeakMemory(benchmark::State& state) {
    long peak = 0, atStart = 0;
    int run = 0;
    for (auto _ : state) {
        const fs::path dir = setup().root / ("memory-" + std::to_string(++run));
        setup().bench.useClient(dir, setup().courseId);
        const fs::path zip = setup().archiveCopy(dir);
        const fs::path report = dir / "hwm.txt";
        const std::string course = std::to_string(setup().courseId);
        std::string self = fs::read_symlink("/proc/self/exe").string();
        std::vector<std::string> args = {
            self,         kChildFlag, CommonSetting::DbPath(), CommonSetting::ImagePath(),
            zip.string(), course};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, report.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        const int spawned =
            posix_spawn(&pid, self.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) throw std::runtime_error("the install process did not start");
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            throw std::runtime_error("the install process failed");
        std::ifstream in(report);
        in >> atStart >> peak;
        state.SetIterationTime(1);
        fs::remove_all(dir);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
    state.counters["start_MB"] = static_cast<double>(atStart) / 1024.0;
}
BENCHMARK(BM_InstallPeakMemory)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kChildFlag) == 0) return installChild(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
