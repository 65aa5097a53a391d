#pragma once

#include <filesystem>
#include <string>

#include "lib/course_content_generator.h"
#include "platform/dict.h"

namespace examora {

class ServiceStore;

// Fills and edits the course content of a ServiceStore the way a real service publishes it: a
// chapter, outline entry or question that appears or changes gets a new change date (the item
// set's next stamp, ContentStore), so that the next sync of every client fetches it; a picture
// that appears or changes moves its question's change date the same way. Rows loaded again
// unchanged move nothing. Change dates in the input are ignored.
//
// Every load is one transaction: on a ContentLoadError nothing of it is stored, and after a kill
// the old or the new content is present, never a mixture. Any thread may load while the service
// serves.
class CourseContentLoader {
  public:
    explicit CourseContentLoader(ServiceStore& store) : store_(store) {}

    // The content files of a folder: "coursechapter.json", "courseoutline.json" and
    // "coursesubject.json" (JSON arrays of objects keyed as the client's records read them;
    // question texts plain, with picture tokens such as "{图1}"), and the pictures as files
    // "pictures/<question id>_<position>.<extension>" (position "2", "0_3", …, as the client
    // names its files). Missing files load nothing. Returns the number of rows that changed.
    int loadFolder(const std::filesystem::path& folder);
    // Content given as objects (a generated course's, for one).
    int load(const CourseContent& content);
    // One row of a content table ("coursechapter", "courseoutline", "coursesubject"); true when
    // it changed anything.
    bool upsertRow(const std::string& table, const Dict& row);

  private:
    ServiceStore& store_;
};

}  // namespace examora
