// The fixture of tests that serve a course from the in-process reference service to a client.
#include "integration/served_course_fixture.h"

#include <stdexcept>

#include "app/common_setting.h"
#include "engine/course_subject_util.h"
#include "service/asi_service_args.h"
#include "store/database_scope.h"
#include "store/sqlite_result_set.h"

namespace examora {

ServedCourseTest::ServedCourseTest()
    : service(ReferenceServiceOptions{home_.makeDirectory("service"), "127.0.0.1", 0}) {
    if (!service.start()) throw std::runtime_error("the reference service did not start");
    ASIServiceArgs::useExamService(service.serviceURL());
}

ServedCourseTest::~ServedCourseTest() {
    service.stop();
}

std::vector<ContentItemSetReport> ServedCourseTest::syncCourse(int courseId) {
    sql().ExecuteNonQuery("insert or ignore into course(icourseid,ccoursename) values(?,'课程')",
                          courseId);
    CourseContentSync::Options options;
    options.courseId = courseId;
    return CourseContentSync::run(options);
}

std::vector<CourseSubjectEntity> ServedCourseTest::subjectsOf(int courseId) {
    std::vector<CourseSubjectEntity> out;
    DatabaseScope scope(sql());
    auto rs = sql().ExecuteDataReader(
        "select * from coursesubject where icourseid=? order by isubjectid", courseId);
    while (rs && rs->next()) {
        const Dict row = rs->resultDictionary();
        out.emplace_back().initWithDict(row, true);
    }
    return out;
}

std::string ServedCourseTest::unanswerableBecause(const CourseSubjectEntity& s) {
    const std::string& a = s.answer;
    switch (s.subjecttype) {
        case 0:
        case 1:
        case 6: {
            std::optional<std::vector<std::string>> options =
                CourseSubjectUtil::buildAnswerArrayList(s.question, s.answercount);
            if (!options || options->size() != static_cast<std::size_t>(s.answercount)) {
                return "the options do not split into " + std::to_string(s.answercount);
            }
            if (a.empty() || (s.subjecttype == 0 && a.size() != 1) ||
                (s.subjecttype == 1 && a.size() < 2)) {
                return "wrong number of letters";
            }
            for (std::size_t i = 0; i < a.size(); ++i) {
                if (a[i] < 'A' || a[i] >= 'A' + s.answercount) return "a letter beyond the options";
                if (i > 0 && a[i] <= a[i - 1]) return "letters out of option order";
            }
            return {};
        }
        case 2:
            return a == "对" || a == "错" ? std::string() : "neither 对 nor 错";
        default:
            if (a.empty()) return "no answer";
            return a.find_first_of("\r\n") == std::string::npos ? std::string() : "a line break";
    }
}

std::string ServedCourseTest::pictureFolder(int courseId) {
    return CommonSetting::ImagePath() + "/" + std::to_string(courseId) + "/";
}

}  // namespace examora
