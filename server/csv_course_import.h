#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "server/csv_question_row.h"
#include "server/csv_reader.h"

namespace examora {

class ServiceStore;

struct CsvImportOptions {
    std::filesystem::path file;
    std::string course;  // the course's name: a course of that name is updated, else made
    // The course's class and sub-class by name, made when missing. Empty: the course keeps
    // its class, a new course goes under kDefaultClass; an empty sub-class is named as its class.
    std::string className;
    std::string subclassName;
    bool skipBad = false;  // write the good rows even when some are bad
};

struct CsvImportReport {
    std::string error;  // the file cannot be imported at all (unreadable, no header row, …)
    std::vector<CsvRowProblem> bad;  // refused rows, in file order
    std::size_t rows = 0;            // question rows in the file
    std::size_t imported = 0;        // rows written
    bool written = false;            // the store was written
    int courseId = 0;
    int changed = 0;  // store rows that changed
};

// Imports a question file (CSV, CsvQuestionRow's columns, a header row first) as one course of
// the service: chapters (tree type 0, one chapter per path level, in the order of first
// appearance, codes of two digits per level), questions and their pictures, and the catalogue
// rows of the course and its class. Through ContentLoader and CourseContentLoader, so every
// changed row gets a new change date and clients fetch the change at their next sync.
//
// Import again: the course is found by name; chapters by path and questions by chapter and text
// keep their ids (and so the learners' records of them); questions and chapters the file no
// longer holds are stopped (bstopflag 1), not deleted.
//
// Errors: every row is checked before anything is written. With a bad row and no skipBad, or a
// file error, nothing is written. Writes are two transactions, the content then the catalogue:
// after a kill between them the course's new content is stored but clients do not see the
// course (or see its old catalogue row) until the import runs again. Two imports into one store
// at once may hand out the same new ids: run one at a time.
class CsvCourseImport {
  public:
    static constexpr const char* kDefaultClass = "自编题库";

    explicit CsvCourseImport(ServiceStore& store) : store_(store) {}

    CsvImportReport run(const CsvImportOptions& options);

    // The checked questions of a document whose first record is the header row; refused rows go
    // to `bad`. Besides each row's own rules: a chapter that has sections holds no questions, and
    // no chapter has more than 99 sections. `error` is set when the header row is missing.
    static std::vector<CsvQuestion> check(const CsvDocument& document,
                                          const std::filesystem::path& folder,
                                          std::vector<CsvRowProblem>& bad, std::string& error);

  private:
    ServiceStore& store_;
};

}  // namespace examora
