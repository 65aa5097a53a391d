#pragma once

#include <functional>
#include <string>

#include "store/sqlite_helper.h"

namespace examora {

// The practice engine's data-access class for one learner's store: the course catalogue, the
// chapter trees and subject lists, answer recording, papers, review lists, notes and the
// clearing of a course's data. One header; the implementation is split by concern into
// course_util_<concern>.cpp files, and this header keeps the same sections in the same order.
//
// Like every data-access object it owns one connection and is used by one thread at a time.
// Operations that cannot complete throw ExamError; SQL errors are logged by the connection.
class CourseUtil : public SQLiteHelper {
  public:
    CourseUtil() = default;

    // ---- Clearing and download state (course_util_clearing.cpp) ------------------------------
    //
    // Each clearing runs in one counted transaction (nested inside a caller's transaction if
    // there is one). A statement that fails is logged and the clearing goes on; a failure raised
    // while clearing rolls the whole transaction back and is passed on. When the transaction
    // cannot be begun or committed nothing is cleared and ExamError is thrown.

    // Removes the course's downloaded chapters and subjects (with the learner's answers they
    // hold) and its papers with their detail rows, and marks the course as not downloaded. The
    // outline, notes and correction reports stay.
    void clearCourse(int courseId);
    // Removes the chosen kinds of the learner's records of the course: answers and mastered
    // marks (wrong counts, points, answer dates and favourites stay), favourites, and papers
    // with their detail rows.
    void clearCourse(int courseId, bool clearTestHistory, bool clearCollect,
                     bool clearSimulationPaper);
    // Whether any chapter of the course is stored.
    bool checkCourseHadDownload(int courseId);
    // Whether the course still has placeholder subjects whose content must be fetched. A
    // non-empty condition is an SQL condition the system builds from its own constants, added
    // with "and".
    bool needDownloadSubject(int courseId, const std::string& condition);

  private:
    // Runs clear inside one counted transaction under the rules above.
    void runClearing(const std::function<void()>& clear);
    void deletePapersOfCourse(int courseId);
};

}  // namespace examora
