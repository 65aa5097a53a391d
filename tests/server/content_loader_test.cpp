// The catalogue loader's date bookkeeping: which loads move an item's change and deletion dates,
// and that a refused load stores nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "reference_service_fixture.h"
#include "server/service_store.h"

namespace examora {
namespace {

class ContentLoaderTest : public ReferenceServiceTest {
  protected:
    Dict item(const std::string& name) {
        for (const Dict& d : service->store().baseItemChangeList()) {
            if (d.get("citemname").asString() == name) return d;
        }
        ADD_FAILURE() << "no item " << name;
        return {};
    }
    std::string updated(const std::string& name) {
        return item(name).get("dupdatedate").asString();
    }
    std::string deleted(const std::string& name) {
        return item(name).get("ddeletedate").asString();
    }
    DictList since(const std::string& name, const std::string& date) {
        return service->store().baseItemRowsSince(name, date, std::nullopt).value_or(DictList{});
    }
    static Dict district(const std::string& code, const std::string& name) {
        return Dict{{"cdccode", code}, {"cdcname", name}, {"bendgrade", 1}, {"igrade", 1}};
    }
};

TEST_F(ContentLoaderTest, ChangesMoveTheItemDateAndUnchangedLoadsMoveNothing) {
    EXPECT_TRUE(loader->upsertRow("district", district("110000", "北京市")));
    setNow("2026-03-01 08:30:00");
    EXPECT_TRUE(loader->upsertRow("district", district("310000", "上海市")));
    EXPECT_EQ(updated("district"), "2026-03-01 08:30:00");
    EXPECT_EQ(updated("course"), "");  // other items untouched

    setNow("2026-03-02 09:00:00");
    EXPECT_FALSE(loader->upsertRow("district", district("110000", "北京市")));
    EXPECT_EQ(updated("district"), "2026-03-01 08:30:00");

    // A partial row changes only what it names; the row goes out again, the other does not.
    EXPECT_TRUE(loader->upsertRow("district", Dict{{"cdccode", "110000"}, {"cdcname", "北京"}}));
    EXPECT_EQ(updated("district"), "2026-03-02 09:00:00");
    DictList changed = since("district", "2026-03-01 08:30:00");
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].get("cdcname").asString(), "北京");
    EXPECT_EQ(changed[0].get("igrade").asInt(), 1);
    EXPECT_EQ(changed[0].get("dchangedate").asString(), "2026-03-02 09:00:00");
    EXPECT_EQ(since("district", "").size(), 2u);
    EXPECT_EQ(deleted("district"), "");
}

TEST_F(ContentLoaderTest, DeletionMovesBothDatesAndOnlyWhenARowGoes) {
    loader->upsertRow("district", district("110000", "北京市"));
    setNow("2026-03-05 10:00:00");
    EXPECT_FALSE(loader->deleteRow("district", Dict{{"cdccode", "999999"}}));
    EXPECT_EQ(updated("district"), "2026-03-01 08:00:00");
    EXPECT_EQ(deleted("district"), "");

    EXPECT_TRUE(loader->deleteRow("district", Dict{{"cdccode", "110000"}}));
    EXPECT_EQ(deleted("district"), "2026-03-05 10:00:00");
    // Without a newer change date a client would never look at the deletion date.
    EXPECT_EQ(updated("district"), "2026-03-05 10:00:00");
    EXPECT_TRUE(since("district", "").empty());
}

TEST_F(ContentLoaderTest, ChangesWithinOneSecondStillPublishNewerDates) {
    loader->upsertRow("district", district("110000", "北京市"));
    const std::string first = updated("district");
    loader->upsertRow("district", district("310000", "上海市"));
    const std::string second = updated("district");
    EXPECT_LT(first, second);
    EXPECT_EQ(since("district", first).size(), 1u) << "the change after a client's date is lost";
    loader->deleteRow("district", Dict{{"cdccode", "110000"}});
    EXPECT_LT(second, deleted("district"));
}

TEST_F(ContentLoaderTest, APictureChangeRepublishesItsClassRow) {
    loader->upsertRow("courseclass", Dict{{"iclassid", 7}, {"ccoursecname", "会计"}});
    setNow("2026-04-01 00:00:00");
    EXPECT_TRUE(loader->upsertRow(
        "sys_tableimage",
        Dict{{"ctblname", "courseclass"}, {"csourceid", "7"}, {"pimage", "iVBORw0K"}}));
    EXPECT_EQ(since("courseclass", "2026-03-01 08:00:00").size(), 1u);

    setNow("2026-04-02 00:00:00");
    EXPECT_TRUE(loader->deleteRow("courseclass", Dict{{"iclassid", 7}}));
    EXPECT_FALSE(service->store().catalogueRow(CatalogueTable::tableImage(), {"courseclass", "7"}))
        << "a deleted class keeps its picture";
}

TEST_F(ContentLoaderTest, RefusedInputStoresNothing) {
    const std::string folder = home.makeDirectory("catalogue");
    TempHome::writeFile(folder + "/courseclass.json", R"([{"iclassid": 1, "ccoursecname": "A"}])");
    struct Case {
        const char* file;
        const char* content;
    } cases[] = {
        {"district.json",
         R"([{"cdccode": "1", "dchangedate": "x", "cdcname": "B", "igrade": "two"}])"},
        {"district.json", R"([{"cdcname": "no key"}])"},
        {"district.json", R"([{"cdccode": "1", "cdcnmae": "typo"}])"},
        {"district.json", R"({"cdccode": "1"})"},
        {"district.json", R"([{"cdccode": "1")"},
        {"sys_message.json", R"([{"cmsgid": "1", "dstartdate": "2026-13-45"}])"},
        {"sys_photoad.json", R"([{"ipaid": 1, "pimage": "not base64 ***"}])"},
    };
    for (const Case& c : cases) {
        TempHome::writeFile(folder + "/" + c.file, c.content);
        EXPECT_THROW(loader->loadFolder(folder), ContentLoadError) << c.content;
        std::filesystem::remove(folder + "/" + c.file);
        EXPECT_TRUE(since("courseclass", "").empty()) << "partly stored: " << c.content;
        EXPECT_EQ(updated("courseclass"), "");
    }
    EXPECT_THROW(loader->upsertRow("nosuchtable", Dict{{"id", 1}}), ContentLoadError);
    EXPECT_EQ(loader->loadFolder(folder), 1);
    EXPECT_EQ(loader->loadFolder(folder), 0);
}

TEST_F(ContentLoaderTest, DatesAndNumbersAreNormalisedOnEntry) {
    loader->upsertRow("sys_message", Dict{{"cmsgid", 5},
                                          {"icourseid", "12"},
                                          {"dstartdate", "2026-05-01"},
                                          {"denddate", "2026-06-01T08:30:00"}});
    DictList rows = since("sys_message", "");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].get("cmsgid"), Value("5"));
    EXPECT_EQ(rows[0].get("icourseid"), Value(12));
    EXPECT_EQ(rows[0].get("dstartdate"), Value("2026-05-01 00:00:00"));
    EXPECT_EQ(rows[0].get("denddate"), Value("2026-06-01 08:30:00"));
}

TEST_F(ContentLoaderTest, GeneratedAndDemoCataloguesLoad) {
    EXPECT_GT(loader->loadGenerated('S'), 0);
    EXPECT_EQ(loader->loadGenerated('S'), 0);
    EXPECT_THROW(loader->loadGenerated('X'), ContentLoadError);
    EXPECT_GT(loader->loadFolder(std::string(EXAMORA_SOURCE_RESOURCES) + "/demo"), 0);
    EXPECT_EQ(since("course", "").size(), 2u);
}

}  // namespace
}  // namespace examora
