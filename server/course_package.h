#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace examora {

class ServiceStore;

// The course packages of the reference service: one zip archive per course holding its change
// dates ("course.txt"), chapters ("coursechapter.txt"), outline entries ("courseoutline.txt"),
// questions ("coursesubject1.txt", "coursesubject2.txt", … of at most kSubjectsPerFile each) as
// JSON lists keyed as the client's records, and the question pictures under "image/". Question
// texts refer to their pictures through "file_dbpath/image/<course id>/<file>".
//
// A package is named after the course and a fingerprint of its content, so that a changed course
// gets a new name and the old archive is never served for new content. The archive is built on
// the first request for the name after a change, from one read snapshot of the store, under a
// temporary name renamed into place: a reader sees a complete archive or none. Archives live in
// `<data dir>/subject/`; older archives of the course are removed after a new one is in place.
//
// Every operation may be called from any thread; builds are serialised.
class CoursePackage {
  public:
    static constexpr std::size_t kSubjectsPerFile = 5000;
    static constexpr const char* kFolder = "subject";

    explicit CoursePackage(ServiceStore& store);

    // The package's base name (without ".zip") for the course, the archive built when missing;
    // empty when the course has no content or the archive could not be built.
    std::string packageName(long long courseId);
    // The archive file for a served name "<base>.zip"; nullopt for any other name or a missing
    // file.
    std::optional<std::filesystem::path> packageFile(const std::string& fileName) const;

  private:
    ServiceStore& store_;
    std::mutex mutex_;
};

}  // namespace examora
