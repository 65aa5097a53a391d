// Importing a spreadsheet question file (10,000 rows; 1,000 with EXAMORA_BENCH_SMALL) into the
// reference service's store: a new course into a fresh store, and the same file again (nothing
// changes). Each iteration is the whole import: read, parse, check, ids, write.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/log.h"
#include "server/csv_course_import.h"
#include "server/service_store.h"

namespace {

using namespace examora;
namespace fs = std::filesystem;

int rowCount() {
    return std::getenv("EXAMORA_BENCH_SMALL") ? 1000 : 10000;
}

// A deterministic sheet: 10 chapters of 10 sections, the five common types in turn, texts of
// a realistic length, a picture on every hundredth question.
struct Sheet {
    fs::path root;
    fs::path file;
    int stores = 0;

    Sheet() {
        setLogQuiet(true);
        root = fs::temp_directory_path() / ("examora-bench-csv-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        std::ofstream(root / "pic.png", std::ios::binary) << std::string(20000, 'p');
        file = root / "sheet.csv";
        std::ofstream out(file, std::ios::binary);
        out << "\xEF\xBB\xBF章节,题型,题目,A,B,C,D,E,F,G,答案,分值,解析,题目图片,解析图片\r\n";
        const std::string stem = "在计算机系统中，下列关于存储器与处理器的说法";
        for (int i = 0; i < rowCount(); ++i) {
            const int rows = rowCount();
            out << "第" << (i * 10 / rows + 1) << "章/第" << (i * 100 / rows % 10 + 1) << "节,";
            const std::string title = "\"" + stem + "（第" + std::to_string(i) + "题）, 正确的是\"";
            switch (i % 5) {
                case 0:
                    out << "单选题," << title << ",运算器,控制器,存储器,输入设备,,,,C,,";
                    break;
                case 1:
                    out << "多选题," << title << ",键盘,鼠标,显示器,扫描仪,,,,\"A,B,D\",,";
                    break;
                case 2:
                    out << "判断题," << title << ",,,,,,,,对,,";
                    break;
                case 3:
                    out << "填空题," << title << ",,,,,,,,回收站" << i << ",,";
                    break;
                default:
                    out << "案例题," << title << ",,,,,,,,\"DNS,缓存\",,";
                    break;
            }
            out << "\"解析：" << stem << "。\r\n见教材第" << i % 300 << "页\","
                << (i % 100 == 0 ? "pic.png" : "") << ",\r\n";
        }
    }
    ~Sheet() { fs::remove_all(root); }

    std::unique_ptr<ServiceStore> freshStore() {
        return std::make_unique<ServiceStore>(root / ("store-" + std::to_string(++stores)));
    }
    CsvImportReport import(ServiceStore& store) const {
        CsvImportOptions o;
        o.file = file;
        o.course = "自编题库";
        return CsvCourseImport(store).run(o);
    }
};

Sheet& sheet() {
    static Sheet s;
    return s;
}

void BM_ImportNewCourse(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<ServiceStore> store = sheet().freshStore();
        state.ResumeTiming();
        CsvImportReport report = sheet().import(*store);
        if (!report.written || report.imported != static_cast<std::size_t>(rowCount())) {
            state.SkipWithError("the import did not write every row");
        }
    }
    state.counters["rows"] = rowCount();
}
BENCHMARK(BM_ImportNewCourse)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportUnchangedAgain(benchmark::State& state) {
    std::unique_ptr<ServiceStore> store = sheet().freshStore();
    sheet().import(*store);
    for (auto _ : state) {
        CsvImportReport report = sheet().import(*store);
        if (report.changed != 0) state.SkipWithError("an unchanged file changed rows");
    }
    state.counters["rows"] = rowCount();
}
BENCHMARK(BM_ImportUnchangedAgain)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
