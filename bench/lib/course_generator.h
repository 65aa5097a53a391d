#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dict.h"

namespace examora {

// Deterministic synthetic courses for benchmarks, written straight into a database that holds
// the template's tables. The same seed, size and clock give the same course byte for byte.
//
// A course has two chapter trees: type 0 with three levels (10 chapters × 6 sections × 10
// points = 600 leaves) and type 1 with two (10 × 10 = 100 leaves). Subjects are spread over the
// leaves (85 % type 0), cover all seven question types, and carry Chinese titles of about 150
// characters and explanations of about 300, enciphered as stored. About 30 % are answered (most
// of them correctly) on dates spread over the 30 days before the clock, 10 % have a wrong count,
// some are favourites and some have a note.
struct CourseSize {
    static constexpr int S = 1'000;
    static constexpr int M = 10'000;
    static constexpr int L = 50'000;

    // The sizes a benchmark should run: S alone for the smoke run (EXAMORA_BENCH_SMALL set),
    // else the one named by EXAMORA_BENCH_SIZE ("S", "M" or "L"), else all three.
    static std::vector<int> selected();
    // The largest selected size.
    static int largestSelected();
};

struct GeneratedCourse {
    int courseId = 0;
    int subjectCount = 0;
    int firstSubjectId = 0;          // subjects have consecutive ids from here
    std::vector<int> leafChapters0;  // leaf chapter ids of tree type 0, in code order
    std::vector<int> leafChapters1;
    int answered = 0;
    int wrong = 0;
    int favourites = 0;
    int notes = 0;
};

// The catalogue that goes with a generated course, keyed as the exam service's objects: table
// (base item) name → rows, classes before courses.
using GeneratedCatalogue = std::vector<std::pair<std::string, DictList>>;

class CourseGenerator {
  public:
    explicit CourseGenerator(std::uint64_t seed = 20261206) : seed_(seed) {}

    // Writes the course (row, both chapter trees, subjects, notes) in one transaction. Chapter
    // and subject ids are derived from the course id (course c uses c × 1,000,000 onwards), so
    // several generated courses can share a database. nowEpoch fixes the clock that answer
    // dates are spread back from (default: the current time). Throws std::runtime_error when
    // the database cannot be written.
    GeneratedCourse generate(const std::string& dbPath, int courseId, int subjectCount,
                             std::optional<std::int64_t> nowEpoch = std::nullopt) const;

    // The course id of the generated course of a size ('S' 1, 'M' 2, 'L' 3); 0 for another size.
    static int courseIdForSize(char size);
    // Its number of subjects (CourseSize::S, M or L); 0 for another size.
    static int subjectCountForSize(char size);
    // The catalogue rows of that course: its class and sub-class (the ones generate() files
    // courses under), the course row, districts, a message for the course and the default-score
    // settings. Empty for another size.
    static GeneratedCatalogue catalogue(char size);

    // Copies the built template database to path (replacing a file there) and returns path.
    static std::string installTemplate(const std::string& path);

  private:
    std::uint64_t seed_;
};

}  // namespace examora
