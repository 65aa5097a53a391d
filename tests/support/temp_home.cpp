// TempHome: a fresh application home per test, with the process-wide launch state reset.
#include "support/temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/common_setting.h"
#include "app/logo_util.h"
#include "platform/device_id.h"
#include "platform/global_queue.h"
#include "platform/main_queue.h"
#include "platform/paths.h"
#include "service/asi_service_args.h"

namespace examora {

namespace {

void resetProcessState() {
    CommonSetting::reset();
    ASIServiceArgs::resetDefaults();
    DeviceId::setMachineIdPath(std::nullopt);
    Paths::setResourceDirectory(std::nullopt);
    MainQueue::shared().discardPending();
}

}  // namespace

TempHome::TempHome() {
    std::string base = (std::filesystem::temp_directory_path() / "examora-test-XXXXXX").string();
    if (::mkdtemp(base.data()) == nullptr) throw std::runtime_error("cannot create a temp home");
    path_ = base;
    resetProcessState();
    Paths::setHome(path_);
}

TempHome::~TempHome() {
    // Work started by the test (the online check, for one) must not outlive its home.
    GlobalQueue::waitUntilIdle();
    resetProcessState();
    Paths::setHome(std::nullopt);
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

bool TempHome::installTemplate() {
    return LogoUtil::initializeDb();
}

std::string TempHome::makeDirectory(const std::string& name) const {
    std::string dir = path_ + "/" + name;
    std::filesystem::create_directories(dir);
    return dir;
}

void TempHome::writeFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string TempHome::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace examora
