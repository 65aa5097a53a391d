// The client's own service catalogue against the running reference service: the base-item calls
// answer in the form the client reads.
#include <gtest/gtest.h>

#include "platform/base64.h"
#include "reference_service_fixture.h"
#include "service/exam_web_service_util.h"
#include "store/records/message_entity.h"
#include "store/records/server_exchange_item_entity.h"
#include "store/records/table_image_entity.h"

namespace examora {
namespace {

class CatalogueRoundTripTest : public ReferenceServiceTest {
  protected:
    ExamWebServiceUtil client;
};

TEST_F(CatalogueRoundTripTest, ServerTimeAndReachability) {
    EXPECT_EQ(client.getServerTime(), "2026-03-01 08:00:00");
    EXPECT_TRUE(client.checkIsOnline(5));
    setNow("2026-03-01 08:00:07");
    EXPECT_EQ(client.getServerTime(), "2026-03-01 08:00:07");
}

TEST_F(CatalogueRoundTripTest, ChangeListAndChangedRows) {
    loader->loadGenerated('S');
    setNow("2026-03-02 08:00:00");
    loader->upsertRow("course", Dict{{"icourseid", 1}, {"ccoursename", "改名课程"}});
    loader->deleteRow("district", Dict{{"cdccode", "510000"}});

    std::optional<nlohmann::json> list = client.loadRemoteBaseItemChangeList();
    ASSERT_TRUE(list && list->is_array());
    std::map<std::string, ServerExchangeItemEntity> items;
    for (const nlohmann::json& object : *list) {
        ServerExchangeItemEntity e;
        e.initWithDict(ExamWebServiceUtil::jsonToDict(object));
        items[e.itemname] = e;
    }
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items["course"].itemid, 3);
    EXPECT_EQ(items["course"].updatedate, "2026-03-02 08:00:00");
    EXPECT_EQ(items["district"].deletedate, "2026-03-02 08:00:00");
    EXPECT_EQ(items["courseclass"].updatedate, "2026-03-01 08:00:00");
    EXPECT_FALSE(items["courseclass"].deletedate);
    EXPECT_FALSE(items["sys_photoad"].updatedate);

    std::optional<nlohmann::json> courses =
        client.loadBaseItemUpdateNewData("course", "2026-03-01 08:00:00");
    ASSERT_TRUE(courses && courses->size() == 1u);
    EXPECT_EQ((*courses)[0]["ccoursename"], "改名课程");
    EXPECT_EQ((*courses)[0]["iclassid"], 1);
    std::optional<nlohmann::json> settings = client.loadBaseItemUpdateNewData("SYS_CUSSETTING", "");
    ASSERT_TRUE(settings && !settings->empty());
    EXPECT_TRUE((*settings)[0].contains("dchangdate"));
    std::optional<nlohmann::json> none =
        client.loadBaseItemUpdateNewData("course", "2026-03-02 08:00:00");
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(client.getAppSettingValue("iexamtotaltime"), "120");
    EXPECT_EQ(client.getAppSettingValue("nosuchsetting"), "");
}

TEST_F(CatalogueRoundTripTest, CoursesOfAnotherVersionAreLeftOut) {
    loader->upsertRow("course", Dict{{"icourseid", 1}, {"ccoursename", "通用"}});
    loader->upsertRow("course",
                      Dict{{"icourseid", 2}, {"ccoursename", "新版"}, {"cversioncode", "2"}});
    EXPECT_EQ(client.loadBaseItemUpdateNewDataByVersion(Value("1"), "course", "")->size(), 1u);
    EXPECT_EQ(client.loadBaseItemUpdateNewDataByVersion(Value("2"), "course", "")->size(), 2u);
    EXPECT_EQ(client.loadBaseItemUpdateNewData("course", "")->size(), 2u);
}

TEST_F(CatalogueRoundTripTest, PicturesComeBackAsStoredOrWithoutBytes) {
    const Bytes png{0x89, 'P', 'N', 'G', 0x00, 0xff, '<', '&'};
    loader->upsertRow("courseclass", Dict{{"iclassid", 3}, {"ccoursecname", "会计"}});
    loader->upsertRow("sys_tableimage", Dict{{"ctblname", "courseclass"},
                                             {"csourceid", "3"},
                                             {"pimage", base64Encode(png)},
                                             {"cextname", "png"}});
    std::optional<TableImageEntity> picture = client.loadTableImage("courseclass", "3");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->image, png);
    EXPECT_EQ(picture->extname, "png");

    loader->deleteRow("sys_tableimage", Dict{{"ctblname", "courseclass"}, {"csourceid", "3"}});
    picture = client.loadTableImage("courseclass", "3");
    ASSERT_TRUE(picture) << "a client could never drop the picture it holds";
    EXPECT_TRUE(picture->image.empty());
}

TEST_F(CatalogueRoundTripTest, PublishedMessages) {
    loader->upsertRow("sys_message", Dict{{"cmsgid", "4"},
                                          {"cmsgtitle", "旧消息"},
                                          {"itype", "1"},
                                          {"denddate", "2026-02-01 00:00:00"}});
    loader->upsertRow(
        "sys_message",
        Dict{{"cmsgid", "9"}, {"cmsgtitle", "新消息 <b>&</b>"}, {"itype", "2"}, {"icourseid", 5}});
    std::optional<MessageEntity> info = client.loadPhoneMessageInfo(9);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->msgid, "9");
    EXPECT_EQ(info->msgtitle, "新消息 <b>&</b>");
    EXPECT_EQ(info->type, "2");
    EXPECT_FALSE(client.loadPhoneMessageInfo(10));

    std::optional<MessageEntity> next = client.getNextPhoneMessage(0, 5, 1);
    ASSERT_TRUE(next) << "an expired message hides the next one";
    EXPECT_EQ(next->msgid, "9");
    EXPECT_FALSE(client.getNextPhoneMessage(0, 6, 1));
}

}  // namespace
}  // namespace examora
