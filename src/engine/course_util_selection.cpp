#include "engine/course_util.h"

namespace examora {

std::string CourseUtil::buildSelectSqlForSelectSubject(int courseId, int chapterId, int selectKind,
                                                       int resultKind,
                                                       const std::string& condition) {
    return buildSelectSqlForSelectSubject(courseId, chapterId, selectKind, resultKind, condition,
                                          0);
}

// The selection statements (favourites, wrong answers, noted subjects) are not built yet: no
// statement means an empty selection, which every caller already handles.
std::string CourseUtil::buildSelectSqlForSelectSubject(int, int, int, int, const std::string&,
                                                       int) {
    return std::string();
}

}  // namespace examora
