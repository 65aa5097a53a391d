// The facade's rows that reach the practice engine: catalogue, chapters and subject lists,
// answers, papers, outline and review.

#include <charconv>

#include "app/common_setting.h"
#include "engine/write_note_util.h"
#include "facade/api_manager.h"
#include "service/user_note_list.h"

namespace examora {

void APIManager::getCourseName(int courseId, const Block<std::string>& block) {
    guarded(block, [&] { return dalCourse_->getCourseName(courseId); });
}

void APIManager::loadCourseClass_withShowMyBook(bool /*showMyBook*/,
                                                const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadCourseClassList(); });
}

void APIManager::loadCourseSubClass_withclassId(int classId,
                                                const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadCourseSubClassList(classId); });
}

void APIManager::loadCourse_withclassId(int classId, int subClassId, const std::string& nameFilter,
                                        const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadCourseList(classId, subClassId, nameFilter); });
}

void APIManager::clearCourse(int courseId, bool clearTestHistory, bool clearCollect,
                             bool clearSimulationPaper, const IntBlock& block) {
    guardedInt(block, [&] {
        dalCourse_->clearCourse(courseId, clearTestHistory, clearCollect, clearSimulationPaper);
        return 1;
    });
}

void APIManager::clearCourse(int courseId, const IntBlock& block) {
    guardedInt(block, [&] {
        dalCourse_->clearCourse(courseId);
        return 1;
    });
}

void APIManager::loadChapter_withShowTime(int showTime, int parentChapterId,
                                          const Block<std::vector<CourseChapterEntity>>& block) {
    guarded(block, [&] {
        const int courseId = CommonSetting::CourseId();
        if (showTime == 4 || showTime == 5 || showTime == 6)
            return dalCourse_->loadChapterListForSelectSubject(courseId, showTime);
        return dalCourse_->loadCourseChapterList(courseId, parentChapterId, true, std::string());
    });
}

void APIManager::loadErrSubjectList_withShowObject(int showObject, int errFilterType,
                                                   const Block<ErrSubjectList>& block) {
    guarded(block, [&]() -> std::optional<ErrSubjectList> {
        const int courseId = CommonSetting::CourseId();
        switch (showObject) {
            case 0:
                return dalCourse_->loadChapterListForSelectSubject(courseId, 5, errFilterType);
            case 1:
                return dalCourse_->loadErrSubjectListOfCount(courseId, errFilterType);
            case 2:
                return dalCourse_->loadErrSubjectListOfPeriod(courseId, errFilterType);
            default:
                return std::nullopt;
        }
    });
}

void APIManager::loadSubjectIdList_withShowTime(int showTime, int parentId,
                                                const SubjectFilter& filterSql,
                                                const Block<std::vector<int>>& block) {
    guarded(block, [&]() -> std::optional<std::vector<int>> {
        if (CourseUtil::isTestShowTime(showTime)) {
            return dalCourse_->loadSubjectIdList(CommonSetting::CourseId(), parentId, showTime, 0,
                                                 filterSql);
        }
        // A paper about to be taken starts a fresh attempt; a review keeps the answers.
        if (showTime == 1) dalCourse_->clearMyAnswerInPaper(parentId);
        return dalCourse_->loadSubjectIdListOfPaperDetail(parentId, showTime);
    });
}

void APIManager::loadSubjuectInfo_withSubjectId(int subjectId,
                                                const Block<CourseSubjectEntity>& block) {
    guarded(block, [&] { return dalCourse_->loadSubjuectInfo(subjectId); });
}

void APIManager::loadSubjuectInfo_withPaperId(int paperId, int subjectId,
                                              const Block<CourseSubjectEntity>& block) {
    guarded(block, [&] { return dalCourse_->loadSubjuectInfoOfPaper(paperId, subjectId); });
}

void APIManager::loadSelectSubjectList_withCourse(int courseId, int chapterId,
                                                  const SubjectFilter& filterSql, int showtime,
                                                  int errFilterType, int pageIndex, int pageSize,
                                                  const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] {
        return dalCourse_->loadSelectSubjectList(courseId, chapterId, filterSql, showtime,
                                                 errFilterType, pageIndex, pageSize);
    });
}

void APIManager::loadSubjectExamEntityList_withShowTime(
    int showTime, int courseId, int paperId, const SubjectFilter& filterSql,
    const Block<std::vector<CourseSubjectExamEntity>>& block) {
    guarded(block, [&] {
        if (CourseUtil::isTestShowTime(showTime))
            return dalCourse_->loadSubjectExamEntityList(courseId, paperId, showTime, filterSql);
        return dalCourse_->loadSubjectExamEntityListFromPaper(paperId, filterSql);
    });
}

void APIManager::clearSubjectMyAnswer(int courseId, int chapterId, const Block<int>& block) {
    guarded(block, [&] {
        dalCourse_->clearSubjectMyAnswer(courseId, chapterId);
        return chapterId;
    });
}

void APIManager::buildWriteNoteHtmlwithSubject(int subjectId, bool isNetNote, const Value& userId,
                                               int pageIndex, const Block<std::string>& block) {
    guarded(block, [&] {
        WriteNoteUtil notes([](int subject, const Value& user, int pageSize, int page) {
            ExamWebServiceUtil service;
            return loadUserNoteList(service, subject, user, pageSize, page);
        });
        return notes.buildWriteNoteHtml(subjectId, isNetNote, userId, pageIndex);
    });
}

void APIManager::removeSubject_withSubjectId(int subjectId, int showTime) {
    switch (showTime) {
        case 4:
            dalCourse_->doDeleteCollectSubject(subjectId);
            break;
        case 5:
            dalCourse_->doDeleteWrongSubject(subjectId);
            break;
        case 6:
            dalCourse_->doCancelRememberSubject(subjectId);
            break;
        default:
            break;
    }
}

void APIManager::loadSearchSubjectList_withcourseId(int courseId, const std::string& searchChar,
                                                    int startSubjectId, int pageSize,
                                                    const SearchBlock& block) {
    std::optional<std::vector<BaseItemEntity>> list;
    std::optional<ExamError> error;
    try {
        list = dalCourse_->loadSearchSubjectList(courseId, searchChar, startSubjectId, pageSize);
    } catch (const ExamError& e) {
        error = e;
    }
    if (!block) return;
    if (error) {
        block(std::nullopt, 0, &*error);
        return;
    }
    // The next page starts after the last subject listed; an empty page leaves the start.
    int next = startSubjectId;
    if (!list->empty()) {
        const std::string& key = list->back().key;
        std::from_chars(key.data(), key.data() + key.size(), next);
    }
    block(std::move(list), next, nullptr);
}

void APIManager::loadPaperListWithCourse(int courseId, int examedStatus,
                                         const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadPaperList(courseId, examedStatus); });
}

void APIManager::loadChapterListForCreatePaper(int courseId, int type,
                                               const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadChapterListForCreatePaper(courseId, type); });
}

void APIManager::loadSubjectTypeListOfCourse(int courseId,
                                             const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadSubjectTypeListOfCourse(courseId); });
}

void APIManager::createPaperWithCourseId(int courseId, int totalScore, int totalTime,
                                         const std::string& paperName,
                                         const std::optional<std::vector<int>>& lstType,
                                         const std::optional<std::vector<int>>& lstChapter,
                                         const std::string& typesScore,
                                         const std::string& typesCount, const IntBlock& block) {
    guardedInt(block, [&] {
        const int paperId = subjectUtil_.createPaper(courseId, totalScore, totalTime, paperName,
                                                     lstType, typesScore, typesCount, lstChapter);
        if (paperId < 1) throw ExamError(kCreatePaperName, kCreatePaperReason);
        return paperId;
    });
}

void APIManager::sumitPaperWithPaperId(int paperId, int useTimes, const IntBlock& block) {
    guardedInt(block, [&] {
        dalCourse_->sumitPaper(paperId, useTimes);
        return 1;
    });
}

void APIManager::loadCourseOutlineList_withParentOutlineId(
    int parentOutlineId, const Block<std::vector<CourseOutlineEntity>>& block) {
    guarded(block, [&] {
        return dalCourse_->loadCourseOutlineList(CommonSetting::CourseId(), parentOutlineId,
                                                 std::string());
    });
}

void APIManager::loadCourseOutlineInfo_withOutlineId(int outlineId,
                                                     const Block<CourseOutlineEntity>& block) {
    guarded(block, [&] { return dalCourse_->loadCourseOutlineInfo(outlineId); });
}

void APIManager::loadEbbinghausListWithCourseId(int courseId,
                                                const Block<std::vector<BaseItemEntity>>& block) {
    guarded(block, [&] { return dalCourse_->loadEbbinghausList(courseId); });
}

}  // namespace examora
