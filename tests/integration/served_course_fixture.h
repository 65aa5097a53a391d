#pragma once

#include <string>
#include <vector>

#include "server/reference_service.h"
#include "store/records/course_subject_entity.h"
#include "support/store_test_fixture.h"
#include "sync/course_content_sync.h"

namespace examora {

// A client home (StoreTest) and the reference service running in-process on its own store, with
// the client's service arguments pointing at it. Tests fill the service, then bring a course
// into the client the way `examora sync --course N` does.
class ServedCourseTest : public StoreTest {
  protected:
    ServedCourseTest();
    ~ServedCourseTest() override;

    // Adds the course row to the client when it has none, then runs the content-sync driver for
    // it; the three item-set reports.
    std::vector<ContentItemSetReport> syncCourse(int courseId);
    // The course's questions as the engine reads them (title and analysis deciphered), by id.
    std::vector<CourseSubjectEntity> subjectsOf(int courseId);
    // Why the question page could not send the subject's right answer as it is stored (a choice
    // letter beyond its options or out of option order, options that do not split, a true-or-false
    // answer other than "对" or "错", a line break in a typed answer); empty when it could.
    static std::string unanswerableBecause(const CourseSubjectEntity& subject);
    // The directory the client keeps the course's pictures in, with a trailing "/".
    static std::string pictureFolder(int courseId);

    ReferenceService service;
};

}  // namespace examora
