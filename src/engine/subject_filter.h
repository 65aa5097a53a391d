#pragma once

#include <string>
#include <utility>

namespace examora {

// A condition on a course's subjects (alias a), such as a wrong-answer filter or a review period.
// Only the engine builds one, from its own constants, and only the engine reads it: screens hold
// it and hand it back, so no SQL text ever travels through them. The empty filter selects every
// subject.
class SubjectFilter {
  public:
    SubjectFilter() = default;

    bool empty() const { return sql_.empty(); }
    bool operator==(const SubjectFilter&) const = default;

  private:
    explicit SubjectFilter(std::string sql) : sql_(std::move(sql)) {}
    const std::string& sql() const { return sql_; }

    std::string sql_;

    friend class CourseUtil;
};

}  // namespace examora
