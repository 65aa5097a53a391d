// Operations that answer with content, message and note records.
#include <gtest/gtest.h>

#include "catalogue_scripted_service.h"
#include "service/user_note_list.h"
#include "store/records/course_chapter_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/message_entity.h"
#include "store/records/table_image_entity.h"

namespace examora {
namespace {

using testing::ScriptedService;

// A message record as "id|title|link|kind".
std::string text(const std::optional<MessageEntity>& m) {
    return m ? m->msgid + "|" + m->msgtitle + "|" + m->msgurl + "|" + m->type : "none";
}

TEST(CatalogueRecords, TableImageIsTheFirstPictureOfTheList) {
    ScriptedService s;
    s.replies = {
        R"([{"ctblname":"courseclass","csourceid":"7","pimage":"AP8Q","cextname":"png"},
            {"ctblname":"courseclass","csourceid":"8","pimage":"","cextname":"jpg"}])",
        "[]", "anyType{}", R"(["x"])"};
    auto image = s.loadTableImage("courseclass", "7");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->sourceid, "7");
    EXPECT_EQ(image->image, (Bytes{0x00, 0xff, 0x10}));
    EXPECT_EQ(image->extname, "png");
    EXPECT_EQ(s.loadTableImage("courseclass", "7"), std::nullopt);
    EXPECT_EQ(s.loadTableImage("courseclass", "7"), std::nullopt);
    EXPECT_EQ(s.loadTableImage("courseclass", "7"), std::nullopt) << "not an object";
}

TEST(CatalogueRecords, ContentRecordsNeedExactlyOneObject) {
    ScriptedService s;
    s.replies = {R"([{"ichapterid":9,"icourseid":5,"cchaptername":"第一章"}])",
                 R"([{"ichapterid":9},{"ichapterid":10}])",
                 R"([{"isubjectid":12,"ctitle":"题目","canswer":" A "}])"};
    auto chapter = s.loadCourseChapterInfo(9);
    ASSERT_TRUE(chapter);
    EXPECT_EQ(chapter->chapterid, 9);
    EXPECT_EQ(chapter->chaptername, "第一章");
    EXPECT_EQ(s.loadCourseChapterInfo(9), std::nullopt);
    // Question texts come plain from the service and are taken as they are.
    auto subject = s.loadCourseSubjectInfo(12);
    ASSERT_TRUE(subject);
    EXPECT_EQ(subject->subjectid, 12);
    EXPECT_EQ(subject->title, "题目");
}

TEST(CatalogueRecords, MessageOperationsMapTheirOwnKeys) {
    ScriptedService s;
    s.replies = {
        R"([{"imsgid":31,"cmsgtitle":"通知","cmsgurl":"http://x/31","ctype":"2","itype":9}])",
        R"([{"imsgid":31},{"imsgid":32}])",
        R"([{"imsgid":31,"cmsgtitle":"a","cdate":"2024-05-01","istatus":1},
            {"imsgid":32,"cmsgtitle":"b","cdate":"2024-05-02","istatus":0}, 7])",
        "[]", R"([{"cmsgid":"40","cmsgtitle":"下一条","cmsgurl":"u","itype":3}])"};
    EXPECT_EQ(text(s.loadPhoneMessageInfo(31)), "31|通知|http://x/31|2")
        << "this answer carries the kind under ctype";
    EXPECT_EQ(text(s.loadPhoneMessageInfo(31)), "none");

    auto list = s.loadPhoneMessageListByUser(4, 5, 20, 1);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ(text((*list)[0]), "31|a|2024-05-01|1");
    EXPECT_EQ(text((*list)[1]), "32|b|2024-05-02|0")
        << "the list carries its date where the link goes, and its status as the kind";
    EXPECT_EQ(s.loadPhoneMessageListByUser(4, 5, 20, 1), std::nullopt);

    EXPECT_EQ(text(s.getNextPhoneMessage(31, 5, 4)), "40|下一条|u|3");
}

TEST(CatalogueRecords, OtherLearnersNotesAreTheObjectsOfTheAnswer) {
    ScriptedService s;
    s.replies = {
        R"([{"id":3,"isubjectid":8,"cnotetext":"好","dchangedate":"2026-11-01 09:30:00"},7])", "",
        "anyType{}", "not json"};
    const auto notes = loadUserNoteList(s, 8, Value(2), 10, 1);
    EXPECT_EQ(s.onlyCall().method, "SearchUserNote");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].detailid, 3);
    EXPECT_EQ(notes[0].notetext, "好");
    for (const char* what : {"empty", "anyType{}", "malformed"})
        EXPECT_TRUE(loadUserNoteList(s, 8, Value(2), 10, 1).empty()) << what;
}

}  // namespace
}  // namespace examora
