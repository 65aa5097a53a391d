#include <gtest/gtest.h>

#include "service/asi_service_args.h"

namespace examora {
namespace {

constexpr const char* kNs = "http://tempuri.org/";

class SoapRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASIServiceArgs::resetDefaults();
        ASIServiceArgs::setWebServiceURL(
            "http://exam.example:8080/CL.ExamWebService/ExamJsonService.asmx");
        ASIServiceArgs::setNameSapce(kNs);
        ASIServiceArgs::setHeaderUser("zxexam");
        ASIServiceArgs::setHeaderPassword("583quiz");
    }
    void TearDown() override { ASIServiceArgs::resetDefaults(); }

    static ASIServiceArgs call(const std::string& method) {
        ASIServiceArgs args;
        args.setMethodName(method);
        return args;
    }
};

const std::string kSoap11Open =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">";
const std::string kSoap11Head =
    kSoap11Open +
    "<soap:Header><MGSoapHeader xmlns=\"http://tempuri.org/\"><UserID>zxexam</UserID>"
    "<Password>583quiz</Password> </MGSoapHeader></soap:Header><soap:Body>";
const std::string kSoap11Tail = "</soap:Body></soap:Envelope>";

TEST_F(SoapRequestTest, NullAndEmptyParameterMapsGiveDifferentMethodElements) {
    ASIServiceArgs args = call("GetServerTime");
    EXPECT_EQ(args.requestBodyMessage(),
              kSoap11Head + "<GetServerTime xmlns=\"http://tempuri.org/\" />" + kSoap11Tail);

    args.setSoapParams(SoapParams{});
    EXPECT_EQ(args.requestBodyMessage(),
              kSoap11Head + "<GetServerTime xmlns=\"http://tempuri.org/\"></GetServerTime>" +
                  kSoap11Tail);
}

TEST_F(SoapRequestTest, ParametersAreWrittenInOrderAsEscapedText) {
    ASIServiceArgs args = call("UploadWriteNote");
    args.setSoapParam("noteText", "a<b && c>d");
    args.setSoapParam("userId", "7");
    args.setSoapParam("dropped", "x");
    args.setSoapParam("dropped", std::nullopt);
    EXPECT_EQ(args.requestBodyMessage(),
              kSoap11Head +
                  "<UploadWriteNote xmlns=\"http://tempuri.org/\"><noteText>a&lt;b &amp;&amp; "
                  "c&gt;d</noteText><userId>7</userId></UploadWriteNote>" +
                  kSoap11Tail);

    // A parser folds CR LF into LF; a reference keeps the carriage return.
    args.setSoapParams(SoapParams{{"noteText", "a\r\nb"}});
    EXPECT_NE(args.requestBodyMessage().find("<noteText>a&#13;\nb</noteText>"), std::string::npos);
}

TEST_F(SoapRequestTest, HeaderElementAndNamespaceAreLeftOutWhenEmpty) {
    ASIServiceArgs args = call("GetServerTime");
    args.setServiceHeaderUser("");
    args.setServiceNameSpace("");
    EXPECT_EQ(
        args.requestBodyMessage(),
        kSoap11Open + "<soap:Header></soap:Header><soap:Body><GetServerTime />" + kSoap11Tail);
    EXPECT_FALSE(findHeader(args.headers(), "SOAPAction")) << "no namespace, no action";
}

TEST_F(SoapRequestTest, Soap12UsesItsOwnEnvelopeAndContentType) {
    ASIServiceArgs args = call("GetServerTime");
    args.setHttpWay(ASIServiceArgs::kSoap12);
    const std::string body = args.requestBodyMessage();
    EXPECT_TRUE(body.starts_with(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap12:Envelope "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\"><soap12:Header><MGSoapHeader"))
        << body;
    EXPECT_TRUE(
        body.ends_with("<soap12:Body><GetServerTime xmlns=\"http://tempuri.org/\" "
                       "/></soap12:Body></soap12:Envelope>"));
    EXPECT_EQ(findHeader(args.headers(), "Content-Type"), "application/soap+xml; charset=utf-8");
    EXPECT_FALSE(findHeader(args.headers(), "SOAPAction"));
}

TEST_F(SoapRequestTest, GeneratedHeadersForEachForm) {
    ASIServiceArgs args = call("GetAppVersion");
    args.setSoapParam("appType", "复习笔记");
    // Text goes out as UTF-8, and its length is counted in bytes.
    EXPECT_NE(args.requestBodyMessage().find("<appType>复习笔记</appType>"), std::string::npos);
    HttpHeaders soap = args.headers();
    ASSERT_EQ(soap.size(), 4u);
    EXPECT_EQ(soap[0], (std::pair<std::string, std::string>{"Host", "exam.example:8080"}));
    EXPECT_EQ(soap[1].second, "text/xml; charset=utf-8");
    EXPECT_EQ(soap[2], (std::pair<std::string, std::string>{
                           "Content-Length", std::to_string(args.requestBodyMessage().size())}));
    EXPECT_EQ(soap[3].second, "http://tempuri.org/GetAppVersion");

    args.setHttpWay(ASIServiceArgs::kHttpPost);
    EXPECT_EQ(findHeader(args.headers(), "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(args.headers().size(), 3u);

    args.setHttpWay(ASIServiceArgs::kHttpGet);
    EXPECT_EQ(args.headers(), (HttpHeaders{{"Host", "exam.example:8080"}}));
}

TEST_F(SoapRequestTest, HostNamesThePortOnlyWhenTheUrlDoesAndActionHasOneSlash) {
    EXPECT_EQ(ASIServiceArgs::soapAction("http://tempuri.org/", "GetAppVersion"),
              "http://tempuri.org/GetAppVersion");
    EXPECT_EQ(ASIServiceArgs::soapAction("http://tempuri.org", "GetAppVersion"),
              "http://tempuri.org/GetAppVersion");
    EXPECT_EQ(ASIServiceArgs::soapAction("", "GetAppVersion"), "");

    ASIServiceArgs args = call("GetServerTime");
    args.setServiceURL("https://exam.example/svc.asmx");
    EXPECT_EQ(findHeader(args.headers(), "Host"), "exam.example");
    args.setServiceURL("http://127.0.0.1:80/svc.asmx");
    EXPECT_EQ(findHeader(args.headers(), "Host"), "127.0.0.1:80");
    args.setServiceURL("http://[::1]:8081/svc.asmx");
    EXPECT_EQ(findHeader(args.headers(), "Host"), "[::1]:8081");
}

TEST_F(SoapRequestTest, UrlAndMethodOfEachForm) {
    ASIServiceArgs args = call("GetAppVersion");
    const std::string endpoint = ASIServiceArgs::getWebServiceURL();
    EXPECT_EQ(args.requestURL(), endpoint);
    EXPECT_EQ(args.requestMethod(), "POST");

    args.setHttpWay(ASIServiceArgs::kHttpGet);
    EXPECT_EQ(args.requestURL(), endpoint + "/GetAppVersion");
    args.setSoapParam("appType", "1");
    args.setSoapParam("x", "2");
    EXPECT_EQ(args.requestURL(), endpoint + "/GetAppVersion?appType=1&x=2");
    EXPECT_EQ(args.requestMethod(), "GET");
    EXPECT_EQ(args.requestBodyMessage(), "");

    args.setHttpWay(ASIServiceArgs::kHttpPost);
    EXPECT_EQ(args.requestURL(), endpoint + "/GetAppVersion");
    EXPECT_EQ(args.requestBodyMessage(), "appType=1&x=2");
    // Separators inside a value must not split it.
    args.setSoapParam("x", "a&b=c d#题");
    EXPECT_EQ(args.requestBodyMessage(), "appType=1&x=a%26b%3Dc%20d%23%E9%A2%98");

    // An empty endpoint falls back on the process-wide one as well.
    args.setServiceURL("");
    EXPECT_EQ(args.requestURL(), endpoint + "/GetAppVersion");
}

TEST_F(SoapRequestTest, ReadyMadeBodyAndHeadersWinUntilTheFormChanges) {
    ASIServiceArgs args = call("GetServerTime");
    args.setBodyMessage("<custom/>");
    args.setHeaders(HttpHeaders{{"X-Test", "1"}});
    EXPECT_EQ(args.requestBodyMessage(), "<custom/>");
    EXPECT_EQ(args.headers(), (HttpHeaders{{"X-Test", "1"}}));

    args.setHttpWay(ASIServiceArgs::kSoap11);  // same form: nothing is dropped
    EXPECT_EQ(args.requestBodyMessage(), "<custom/>");

    args.setHttpWay(ASIServiceArgs::kSoap12);
    EXPECT_EQ(args.bodyMessage(), std::optional<std::string>(""));
    EXPECT_FALSE(args.customHeaders());
    EXPECT_TRUE(args.requestBodyMessage().starts_with("<?xml"));

    // Empty overrides count as absent.
    args.setHeaders(HttpHeaders{});
    EXPECT_TRUE(findHeader(args.headers(), "Host"));
}

}  // namespace
}  // namespace examora
