#include <gtest/gtest.h>

#include "fake_transport.h"
#include "service/asi_service_result.h"
#include "service/xml_parse_helper.h"

namespace examora {
namespace {

ASIServiceResult parse(const std::string& text, const std::string& method, bool multi = false) {
    ASIServiceArgs args;
    args.setMethodName(method);
    args.setMultiResult(multi);
    return ASIServiceResult::fromResponseText(text, args);
}

TEST(ResponseParsingTest, SingleResultIsTheDecodedTextOfTheFirstResultElement) {
    auto r =
        parse(soapEnvelope("<XResponse xmlns=\"http://tempuri.org/\"><XResult>[{\"a\":\"b &amp; "
                           "c &lt;d&gt;\"}]</XResult></XResponse>"),
              "X");
    EXPECT_EQ(r.xmlValue(), "[{\"a\":\"b & c <d>\"}]");
    EXPECT_FALSE(r.xmlValues());

    // Missing element, empty text and no document all read as the empty text, never null.
    for (const std::string& doc :
         {soapEnvelope("<XResponse/>"), soapEnvelope("<XResponse><XResult/></XResponse>"),
          std::string(), std::string("<a><XResult>1</XResult>"), std::string("not xml at all")})
        EXPECT_EQ(parse(doc, "X").xmlValue(), "") << doc;
}

TEST(ResponseParsingTest, FirstElementOfExactlyThatNameWinsWhateverItsDepth) {
    const std::string doc = soapEnvelope(
        "<XResponse><Wrapper><XResult>deep first</XResult></Wrapper><XResult>shallow "
        "later</XResult></XResponse><XResult>outside</XResult>");
    EXPECT_EQ(parse(doc, "X").xmlValue(), "deep first");

    // An element nested inside the first match is not chosen on its own.
    const std::string nested =
        soapEnvelope("<XResponse><XResult>outer<XResult>inner</XResult></XResult></XResponse>");
    EXPECT_EQ(parse(nested, "X").xmlValue(), "outerinner");

    // The root element itself is never the match.
    EXPECT_EQ(parse("<XResult>root</XResult>", "X").xmlValue(), "");

    // Names match as written, prefix included.
    const std::string prefixed = soapEnvelope(
        "<m:XResponse xmlns:m=\"urn:m\"><m:XResult>prefixed</m:XResult></m:XResponse>"
        "<XResponse><XResult>plain</XResult></XResponse>");
    EXPECT_EQ(parse(prefixed, "X").xmlValue(), "plain");
    XmlParseHelper helper(prefixed);
    ASSERT_TRUE(helper.getSingleNode("m:XResult"));
    EXPECT_EQ(helper.getSingleNode("m:XResult")->InnerText(), "prefixed");
    EXPECT_FALSE(helper.getSingleNode("XResul"));
    EXPECT_FALSE(helper.getSingleNode("x:XResult"));
}

TEST(ResponseParsingTest, MultiResultKeepsEveryPartInSerializedForm) {
    const std::string doc = soapEnvelope(
        "<LoadNewCourseOutlineResponse xmlns=\"http://tempuri.org/\">"
        "<LoadNewCourseOutlineResult>[{\"t\":\"A &amp; B\"}]</LoadNewCourseOutlineResult>"
        "<lastUpdateDate>2026-01-01 00:00:00</lastUpdateDate>"
        "</LoadNewCourseOutlineResponse>");
    auto multi = parse(doc, "LoadNewCourseOutline", true);
    ASSERT_TRUE(multi.xmlValues());
    EXPECT_EQ(*multi.xmlValues(),
              (std::vector<std::string>{"[{\"t\":\"A &amp; B\"}]", "2026-01-01 00:00:00"}));
    EXPECT_EQ(multi.xmlValue(), "[{\"t\":\"A &amp; B\"}]");

    // The same document read for its single result decodes the reference.
    EXPECT_EQ(parse(doc, "LoadNewCourseOutline").xmlValue(), "[{\"t\":\"A & B\"}]");

    // Pretty-printed responses have the same parts as compact ones.
    const std::string pretty = soapEnvelope(
        "\n  <XResponse>\n    <XResult>1</XResult>\n    <out>2</out>\n  </XResponse>\n");
    auto p = parse(pretty, "X", true);
    ASSERT_TRUE(p.xmlValues());
    EXPECT_EQ(*p.xmlValues(), (std::vector<std::string>{"1", "2"}));
}

TEST(ResponseParsingTest, MultiResultWithoutPartsIsNull) {
    for (const std::string& doc :
         {soapEnvelope("<Other/>"), soapEnvelope("<XResponse/>"),
          soapEnvelope("<XResponse></XResponse>"), std::string("<broken")}) {
        auto r = parse(doc, "X", true);
        EXPECT_FALSE(r.xmlValues()) << doc;
        EXPECT_FALSE(r.xmlValue()) << doc;
    }
}

TEST(ResponseParsingTest, DocumentTypeDeclarationsAreRefused) {
    // Entity tricks (external files, exponential expansion) all need a DOCTYPE.
    const std::string external =
        "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<r><XResult>&x;</XResult></r>";
    EXPECT_FALSE(XmlParseHelper(external).hasDocument());
    EXPECT_EQ(parse(external, "X").xmlValue(), "");

    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        std::string refs;
        for (int i = 0; i < 10; ++i)
            refs += std::string("&") + static_cast<char>(c - 1) + ";";
        laughs += std::string("<!ENTITY ") + c + " \"" + refs + "\">";
    }
    laughs += "]><r><XResult>&j;</XResult></r>";
    EXPECT_EQ(parse(laughs, "X").xmlValue(), "");
}

TEST(ResponseParsingTest, NodeNavigationAndSerialization) {
    XmlParseHelper doc("<r><a k=\"v&amp;\" p:q=\"w\" xmlns:p=\"urn:p\">x &lt; y<b/>z</a><c/></r>");
    auto a = doc.getSingleNode("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Name(), "a");
    EXPECT_EQ(a->InnerText(), "x < yz");
    EXPECT_EQ(a->InnerXml(), "x &lt; y<b/>z");
    EXPECT_EQ(a->Attributes(),
              (std::vector<std::pair<std::string, std::string>>{{"k", "v&"}, {"p:q", "w"}}));
    ASSERT_EQ(a->ChildNodes().size(), 3u);
    EXPECT_EQ(a->ChildNodes()[0].Name(), "#text");
    EXPECT_EQ(a->ChildNodes()[1].Name(), "b");
    EXPECT_EQ(a->LastChild()->Value(), "z");
    EXPECT_FALSE(a->NextSibling()->HasChildNodes());
    EXPECT_FALSE(a->ParentNode()->ParentNode());
    EXPECT_EQ(a->OuterXml(), "<a xmlns:p=\"urn:p\" k=\"v&amp;\" p:q=\"w\">x &lt; y<b/>z</a>");

    // A node keeps its document alive after the helper is gone.
    std::optional<XmlNode> survivor;
    {
        XmlParseHelper temporary("<r><keep>me</keep></r>");
        survivor = temporary.getSingleNode("keep");
    }
    EXPECT_EQ(survivor->InnerText(), "me");
}

TEST(ResponseParsingTest, BodyIsDecodedByTheNamedCharsetElseTheDefault) {
    auto decode = [](const char* contentType, const std::string& body,
                     const char* fallback = "UTF-8") {
        HttpResponse r;
        r.status = 200;
        r.headers = {{"content-type", contentType}};
        r.body = body;
        r.defaultEncoding = fallback;
        return r.text();
    };
    const std::string gbk = "\xC4\xE3\xBA\xC3";  // 你好 in GBK
    EXPECT_EQ(decode("text/xml; charset=\"GBK\"", gbk), "你好");
    EXPECT_EQ(decode("text/xml", gbk, "GB18030"), "你好");
    EXPECT_EQ(decode("text/xml; charset=utf-8", "你好", "GB18030"), "你好");
    // Bytes that do not decode become U+FFFD instead of vanishing.
    EXPECT_EQ(decode("text/plain; charset=GBK", "a\xFFz"), "a\xEF\xBF\xBDz");
    // An unknown charset falls back on the default encoding.
    EXPECT_EQ(decode("text/plain; charset=no-such-charset", "caf\xE9", "ISO-8859-1"), "café");
}

}  // namespace
}  // namespace examora
