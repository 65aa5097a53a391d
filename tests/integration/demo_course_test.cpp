// The shipped demo course, served by the reference service and synchronised into a client.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "engine/course_subject_util.h"
#include "integration/served_course_fixture.h"
#include "server/content_loader.h"
#include "support/temp_home.h"

namespace examora {
namespace {

constexpr int kDemoCourse = 100;

class DemoCourseTest : public ServedCourseTest {
  protected:
    DemoCourseTest() { ContentLoader(service.store()).loadFolder(ContentLoader::demoFolder()); }
};

TEST_F(DemoCourseTest, EveryQuestionIsRightWhenAnsweredWithItsOwnAnswer) {
    for (const ContentItemSetReport& r : syncCourse(kDemoCourse)) {
        EXPECT_TRUE(r.dateStored) << static_cast<int>(r.itemSet);
        EXPECT_EQ(r.failedBatches, 0u);
    }
    std::map<int, std::string> sourceAnswers;
    std::ifstream source(ContentLoader::demoFolder() / "coursesubject.json");
    for (const nlohmann::json& row : nlohmann::json::parse(source))
        sourceAnswers[row.at("isubjectid").get<int>()] = row.at("canswer").get<std::string>();
    std::vector<CourseSubjectEntity> subjects = subjectsOf(kDemoCourse);
    ASSERT_EQ(subjects.size(), 97u);
    std::set<int> types;
    for (CourseSubjectEntity& s : subjects) {
        SCOPED_TRACE(s.subjectid);
        types.insert(s.subjecttype);
        EXPECT_FALSE(s.title.empty());
        EXPECT_FALSE(s.description.empty());
        ASSERT_TRUE(s.score.has_value());
        EXPECT_EQ(unanswerableBecause(s), "") << s.answer;
        // The answer as written in the course's source, not as the client read it back.
        s.myanswer = sourceAnswers.at(s.subjectid);
        EXPECT_TRUE(CourseSubjectUtil::checkAnswerIsCorrect(s)) << s.myanswer;
        EXPECT_EQ(s.myscore, *s.score);
        // Every picture token found its picture.
        EXPECT_EQ(s.title.find("{图"), std::string::npos) << s.title;
        EXPECT_EQ(s.description.find("{图"), std::string::npos) << s.description;
    }
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(DemoCourseTest, PicturesChapterTreesAndOutlineLand) {
    const std::vector<ContentItemSetReport> reports = syncCourse(kDemoCourse);
    std::size_t shipped = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ContentLoader::demoFolder() / "pictures")) {
        ++shipped;
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(TempHome::readFile(pictureFolder(kDemoCourse) + name),
                  TempHome::readFile(entry.path().string()))
            << name;
    }
    EXPECT_EQ(shipped, 7u);
    EXPECT_EQ(reports[2].pictures, shipped);
    EXPECT_EQ(count("coursesubject", "icourseid=100 and bpicquestion=1"), 4);
    EXPECT_EQ(count("coursesubject", "icourseid=100 and bpicanswer=1"), 2);

    // Tree type 0 has three levels, tree type 1 one; leaves hold the questions they count.
    EXPECT_EQ(
        sql().ExecuteScalarInt(
            "select count(distinct igrade) from coursechapter where icourseid=100 and itype=0"),
        3);
    EXPECT_EQ(count("coursechapter", "icourseid=100 and itype=1 and igrade=0 and bendgrade=1"), 3);
    EXPECT_EQ(count("coursechapter", "icourseid=100 and itype=1"), 3);
    EXPECT_EQ(sql().ExecuteScalarInt(
                  "select count(*) from coursechapter c where icourseid=100 and bendgrade=1 and "
                  "icount<>(select count(*) from coursesubject s where s.ichapterid=c.ichapterid)"),
              0);
    EXPECT_EQ(count("courseoutline", "icourseid=100 and length(ctext)>0"), 10);
}

}  // namespace
}  // namespace examora
