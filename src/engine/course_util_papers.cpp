#include "engine/course_util.h"
#include "platform/strformat.h"

namespace examora {

int CourseUtil::getSubjectDefaultScore(int subjectType) {
    return ExecuteScalarInt("select cvalue from sys_cussetting where cname=?",
                            strformat("isubjectscore%d", subjectType));
}

}  // namespace examora
