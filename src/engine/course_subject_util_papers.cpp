// CourseSubjectUtil: drawing a paper's subjects from the course's question bank.

#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "engine/paper_form.h"
#include "platform/exam_error.h"

namespace examora {

namespace {
constexpr const char* kDrawName = "随机组卷";
}  // namespace

CourseSubjectUtil::CourseSubjectUtil() : random_(std::random_device{}()) {}

int CourseSubjectUtil::createPaper(int courseId, int totalScore, int totalTime,
                                   const std::string& paperName,
                                   const std::optional<std::vector<int>>& typeList,
                                   const std::string& typesScore, const std::string& typesCount,
                                   const std::optional<std::vector<int>>& chapterList) {
    const std::string filter = paperFilterSql(typeList, chapterList);
    CourseUtil course;
    // The bank is read once: it gives both the subjects available per type and the candidates.
    const std::vector<PaperSubjectIdListEntity> candidates =
        course.loadSubjectIdListForBuildPaper(courseId, filter);
    std::vector<PaperSubjectCountEntity> counts;
    if (!typesScore.empty()) counts = course.layoutSubjectCounts(typesScore, typesCount);
    if (counts.empty()) counts = course.bankSubjectCounts(candidates);
    counts = course.calcSubjectCountForBeforeBuildPaper(totalScore, std::move(counts));
    if (counts.empty()) throw ExamError(kDrawName, "没有找到任何满足条件的试题！");

    std::vector<PaperSubjectIdListEntity> selected;
    for (const PaperSubjectCountEntity& entity : counts) {
        std::vector<PaperSubjectIdListEntity> ofType;
        for (const PaperSubjectIdListEntity& candidate : candidates) {
            if (candidate.subjecttype != entity.subjecttype) continue;
            ofType.push_back(candidate);
            ofType.back().score = entity.score;
        }
        const std::size_t wanted = static_cast<std::size_t>(std::max(entity.count, 0));
        if (ofType.size() < wanted)
            throw ExamError(kDrawName, "试题库抽取时，数量出错了，请重新设置条件！");
        if (ofType.size() == wanted) {
            selected.insert(selected.end(), ofType.begin(), ofType.end());
            continue;
        }
        for (int position :
             getRandomNum(entity.count, 0, static_cast<int>(ofType.size()) - 1, random_))
            selected.push_back(ofType[static_cast<std::size_t>(position)]);
    }
    return course.buildNewPaper(courseId, totalTime, paperName, static_cast<float>(totalScore),
                                selected);
}

}  // namespace examora
