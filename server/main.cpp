// examora-service: the reference exam service as a program; prints its address, serves until
// SIGINT or SIGTERM. "import-csv" imports a question file into its store instead.
#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "server/content_loader.h"
#include "server/course_package.h"
#include "server/csv_course_import.h"
#include "server/reference_service.h"
#include "server/service_store.h"

namespace {

// Writes the course's package (the archive clients install offline) to `target`; false, with the
// reason on standard error, when it cannot be built or copied.
bool writePackage(examora::ServiceStore& store, int courseId, const std::filesystem::path& target) {
    examora::CoursePackage packages(store);
    const std::string name = packages.packageName(courseId);
    const auto archive = name.empty() ? std::nullopt : packages.packageFile(name + ".zip");
    if (!archive) {
        std::cerr << "examora-service: the course's package could not be built\n";
        return false;
    }
    std::error_code error;
    std::filesystem::copy_file(*archive, target, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
        std::cerr << "examora-service: cannot write " << target.string() << ": " << error.message()
                  << "\n";
        return false;
    }
    std::printf("package %s.zip written to %s\n", name.c_str(), target.string().c_str());
    return true;
}

// Imports a question file into the store of `dataDir`, and writes the course's package when
// `packageTarget` is given; the exit status of the program.
int importCsv(const std::string& dataDir, const examora::CsvImportOptions& options,
              const std::filesystem::path& packageTarget) {
    using namespace examora;
    ServiceStore store(dataDir);
    if (!store.isOpen()) {
        std::cerr << "examora-service: cannot open the store in " << dataDir << "\n";
        return 1;
    }
    CsvImportReport report;
    try {
        report = CsvCourseImport(store).run(options);
    } catch (const ContentLoadError& e) {
        std::cerr << "examora-service: " << e.what() << "; nothing written\n";
        return 1;
    }
    for (const CsvRowProblem& bad : report.bad)
        std::cerr << options.file.string() << ":" << bad.line << ": " << bad.reason << "\n";
    if (!report.error.empty()) {
        std::cerr << options.file.string() << ": " << report.error << "; nothing written\n";
        return 1;
    }
    if (!report.written) {
        std::cerr << options.file.string() << ": "
                  << (report.bad.empty() ? std::string("no question rows")
                                         : std::to_string(report.bad.size()) + " bad row(s)")
                  << "; nothing written"
                  << (report.bad.empty() || options.skipBad ? ""
                                                            : " (--skip-bad writes the good rows)")
                  << "\n";
        return 1;
    }
    std::printf(
        "course %d \"%s\": %zu question(s) imported, %zu row(s) skipped, %d stored row(s) "
        "changed\n",
        report.courseId, options.course.c_str(), report.imported, report.bad.size(),
        report.changed);
    if (!packageTarget.empty() && !writePackage(store, report.courseId, packageTarget)) return 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace examora;
    CLI::App app{"examora-service: the reference exam service"};
    std::string dataDir = "examora-service-data";
    std::string host = "127.0.0.1";
    int port = 0;
    bool loadDemo = false;
    std::string generated;
    std::vector<std::string> folders;
    app.add_option("--data", dataDir, "store folder (created if missing)");
    app.add_option("--host", host, "address to listen on");
    app.add_option("--port", port, "port to listen on (0: a free one)")
        ->check(CLI::Range(0, 65535));
    app.add_flag("--load-demo", loadDemo, "load the demo catalogue (resources/demo) if present");
    app.add_option("--load-generated", generated, "load the generated catalogue of a size")
        ->check(CLI::IsMember({"S", "M", "L"}));
    app.add_option("--load", folders, "load a folder of <table>.json files");
    CsvImportOptions import;
    std::string importFile;
    CLI::App* importCommand = app.add_subcommand(
        "import-csv", "import a question file (CSV, UTF-8) as a course into the store");
    importCommand->add_option("FILE", importFile, "the question file")->required();
    importCommand->add_option("--course", import.course, "the course's name")->required();
    importCommand->add_option("--class", import.className, "the course's class (made if missing)");
    importCommand->add_option("--subclass", import.subclassName,
                              "the course's sub-class (default: named as the class)");
    importCommand->add_option("--data", dataDir, "store folder (created if missing)");
    importCommand->add_flag("--skip-bad", import.skipBad,
                            "write the good rows even when some rows are bad");
    std::string packageTarget;
    importCommand->add_option("--package", packageTarget,
                              "also write the course's package (zip) to this file, for "
                              "installing without the service");
    CLI11_PARSE(app, argc, argv);
    if (importCommand->parsed()) {
        import.file = importFile;
        return importCsv(dataDir, import, packageTarget);
    }

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    // Blocked before any thread starts, so every thread inherits the mask and sigwait sees them.
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    ReferenceService service(ReferenceServiceOptions{dataDir, host, port});
    if (!service.store().isOpen()) {
        std::cerr << "examora-service: cannot open the store in " << dataDir << "\n";
        return 1;
    }
    try {
        ContentLoader loader(service.store());
        if (loadDemo) {
            const std::filesystem::path demo = examora::ContentLoader::demoFolder();
            if (std::filesystem::is_directory(demo)) {
                loader.loadFolder(demo);
            } else {
                std::cerr << "examora-service: no demo catalogue at " << demo << "\n";
            }
        }
        if (!generated.empty()) loader.loadGenerated(generated[0]);
        for (const std::string& folder : folders)
            loader.loadFolder(folder);
    } catch (const ContentLoadError& e) {
        std::cerr << "examora-service: " << e.what() << "\n";
        return 1;
    }
    if (!service.start()) {
        std::cerr << "examora-service: cannot listen on " << host << ":" << port << "\n";
        return 1;
    }
    std::printf("%s\n", service.baseURL().c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    service.stop();
    return 0;
}
