// The SOAP reply writer: out parameters, nil texts and texts XML cannot carry as they are.
#include <gtest/gtest.h>

#include "server/service_reply.h"
#include "service/xml_parse_helper.h"

namespace examora {
namespace {

TEST(ServiceReplyTest, OutParametersFollowTheResultAndNullsStayInPlace) {
    ServiceReply reply = ServiceReply::soapAnswer(
        "LoadNewCourseOutline", std::string("[{\"id\":1}]"),
        {{"lastUpdateDate", std::nullopt}, {"district", std::string("a&b")}});
    XmlParseHelper doc(reply.body);
    std::optional<XmlNode> response = doc.getSingleNode("LoadNewCourseOutlineResponse");
    ASSERT_TRUE(response);
    std::vector<XmlNode> parts = response->ChildNodes();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].Name(), "LoadNewCourseOutlineResult");
    EXPECT_EQ(parts[1].Name(), "lastUpdateDate");
    EXPECT_EQ(parts[1].Attributes(),
              (std::vector<std::pair<std::string, std::string>>{{"xsi:nil", "true"}}));
    EXPECT_EQ(parts[2].InnerText(), "a&b");

    // A null result is left out, as ASP.NET leaves out a null return value.
    XmlParseHelper none(ServiceReply::soapAnswer("GetCustomerMemo", std::nullopt).body);
    ASSERT_TRUE(none.getSingleNode("GetCustomerMemoResponse"));
    EXPECT_FALSE(none.getSingleNode("GetCustomerMemoResponse")->HasChildNodes());
}

TEST(ServiceReplyTest, AnyTextLeavesAReadableDocument) {
    const std::string text = std::string("a\x01") + "b\r\nc<d>&\x1f" + "中文";
    for (const ServiceReply& reply :
         {ServiceReply::soapResult("GetAppSettingValue", text), ServiceReply::soapFault(text)}) {
        XmlParseHelper doc(reply.body);
        ASSERT_TRUE(doc.hasDocument()) << reply.body;
    }
    XmlParseHelper doc(ServiceReply::soapResult("GetAppSettingValue", text).body);
    EXPECT_EQ(doc.getSingleNode("GetAppSettingValueResult")->InnerText(), "ab\r\nc<d>&中文");
    EXPECT_EQ(ServiceReply::soapFault("x").status, 500);
}

}  // namespace
}  // namespace examora
