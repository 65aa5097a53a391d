// The application facade's instance and the engine objects it owns.

#include "facade/api_manager.h"

namespace examora {

APIManager& APIManager::sharedManager() {
    // Created once, safely from any thread; deliberately never destroyed, so a worker still
    // running at exit never reaches a destroyed manager.
    static APIManager* const shared = new APIManager();
    return *shared;
}

APIManager::APIManager() : dalCourse_(std::make_unique<CourseUtil>()) {}

APIManager::APIManager(std::function<std::unique_ptr<UserUtil>()> makeUserUtil)
    : dalCourse_(std::make_unique<CourseUtil>()),
      dalUser_(makeUserUtil
                   ? GuardedLazy<UserUtil>::Make(std::move(makeUserUtil))
                   : GuardedLazy<UserUtil>::Make([] { return std::make_unique<UserUtil>(); })) {}

APIManager::~APIManager() = default;

void APIManager::setDalCourse(std::unique_ptr<CourseUtil> course) {
    if (course) dalCourse_ = std::move(course);
}

}  // namespace examora
