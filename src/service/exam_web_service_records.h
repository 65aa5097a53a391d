#pragma once

// The records that operations of ExamWebServiceUtil return, declared so that the service
// header does not pull in every record definition. Callers include the records they read.

namespace examora {

struct CourseChapterEntity;
struct CourseSubjectEntity;
struct CourseOutlineEntity;
struct TableImageEntity;
struct MessageEntity;
struct UserEntity;

}  // namespace examora
