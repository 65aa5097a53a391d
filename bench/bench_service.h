#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/common_setting.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "store/sqlite_helper.h"

namespace examora {

// The reference service on loopback for one benchmark program: its folder under the temporary
// directory (removed when the program ends), the client's calls pointed at it, and fresh client
// stores made from the template database.
class BenchService {
  public:
    // `name` tells the program's folder apart; `load` fills the service's store before it starts
    // (it is handed the program's folder for files of its own).
    using Load = std::function<void(ReferenceService&, const std::filesystem::path& root)>;
    BenchService(const std::string& name, const Load& load)
        : root_(std::filesystem::temp_directory_path() /
                ("examora-bench-" + name + "-" + std::to_string(::getpid()))) {
        setLogQuiet(true);
        std::filesystem::remove_all(root_);
        service_ = std::make_unique<ReferenceService>(
            ReferenceServiceOptions{(root_ / "service").string(), "127.0.0.1", 0});
        if (load) load(*service_, root_);
        if (!service_->start()) throw std::runtime_error("the reference service did not start");
        ASIServiceArgs::useExamService(service_->serviceURL());
        templatePath_ = Paths::pathForResource("zxexam", "db").value_or("");
    }
    ~BenchService() {
        service_->stop();
        std::filesystem::remove_all(root_);
    }
    BenchService(const BenchService&) = delete;
    BenchService& operator=(const BenchService&) = delete;

    const std::filesystem::path& root() const { return root_; }
    ReferenceService& service() { return *service_; }

    // Makes a copy of the template in `dir` (with its picture folder) the current store; a course
    // id of 1 or more adds that course's row, never synchronised.
    void useClient(const std::filesystem::path& dir, int courseId = 0) {
        std::filesystem::create_directories(dir / "image");
        const std::string path = (dir / "zxexam.db").string();
        std::filesystem::copy_file(templatePath_, path,
                                   std::filesystem::copy_options::overwrite_existing);
        CommonSetting::setDbPath(path);
        CommonSetting::setImagePath((dir / "image").string());
        if (courseId < 1) return;
        SQLiteHelper db;
        db.ExecuteNonQuery("insert into course(icourseid,ccoursename) values(?,'bench')", courseId);
    }
    // useClient in a folder of its own for each run.
    void freshClient(int courseId = 0) {
        useClient(root_ / ("client-" + std::to_string(++runs_)), courseId);
    }

  private:
    std::filesystem::path root_;
    std::unique_ptr<ReferenceService> service_;
    std::string templatePath_;
    int runs_ = 0;
};

}  // namespace examora
