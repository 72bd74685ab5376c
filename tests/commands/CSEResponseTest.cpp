// Tests for CSEResponse and CSECheckoutResponse: thin responses, the response envelope and its
// failure cases.
#include <gtest/gtest.h>

#include <string>

#include "CSECheckoutResponse.h"
#include "CSEResponse.h"
#include "CSEXMLPacket.h"
#include "common/ServiceFixture.h"

namespace {

std::string FullResponse(const std::string& result, const std::string& ver, const std::string& reason)
{
    return "<?xml version='1.0'?><response cname='checkout' iid='42' ver='" + ver + "' MCAD='DravikAddin' result='" +
           result + "' deletefiles='yes' copyattribute='no' loadfiles='lf' createpreview='cp' "
           "backgroundcheckin='bc' maintainlock='ml'><info><reason>" + reason + "</reason><cadobjectlist>"
           "<cadobject name='a.prt'/><cadobject name='b.prt'><attribute/></cadobject>"
           "<cadobject name='c.prt'/></cadobjectlist></info></response>";
}

} // namespace

class ResponseEnvelope : public ServiceFixture
{
protected:
    // Writes the full response to name and parses the thin response that names it.
    bool Parse(CSEResponse& response, const std::string& name, const std::string& full)
    {
        std::ofstream(PathOf(name), std::ios::binary) << full;
        return response.ParseResponse(ThinResponseFor(name));
    }
};

TEST_F(ResponseEnvelope, ReadsEveryFieldAndTheObjectsByPosition)
{
    CSEResponse response;
    ASSERT_TRUE(Parse(response, "Response.xml", FullResponse("failure", "10.7.SP1", "locked")));
    EXPECT_EQ(Utf8(response.GetCmdName()), "checkout");
    EXPECT_EQ(Utf8(response.GetIID()), "42");
    EXPECT_EQ(Utf8(response.GetVersion()), "10.7.SP1");
    EXPECT_EQ(Utf8(response.GetAddin()), "DravikAddin");
    EXPECT_EQ(Utf8(response.GetResult()), "failure");
    EXPECT_EQ(Utf8(response.GetDeleteFiles()), "yes");
    EXPECT_EQ(Utf8(response.GetCopyAttribute()), "no");
    EXPECT_EQ(Utf8(response.GetLoadFiles()), "lf");
    EXPECT_EQ(Utf8(response.GetCreatePreview()), "cp");
    EXPECT_EQ(Utf8(response.GetBackGroundCheckin()), "bc");
    EXPECT_EQ(Utf8(response.GetMaintainLock()), "ml");
    EXPECT_EQ(Utf8(response.GetReason()), "locked");
    EXPECT_TRUE(Logged(kMainLog, 6, "[ParseResponse] parsed result = failure"));
    EXPECT_EQ(response.GetXMLPacket(), response.GetResponsePacket());

    EXPECT_EQ(response.GetNumObjets(), 3);
    const std::string second = Utf8(response.GetXmlNodeForObject(2));
    EXPECT_TRUE(Contains(second, "b.prt") && Contains(second, "<attribute")) << second;
    EXPECT_FALSE(Contains(second, "a.prt")) << second;
    EXPECT_TRUE(Contains(Utf8(response.GetXmlNodeForObject(3)), "c.prt"));
    for (const int outside : {0, 4, -1})
        EXPECT_EQ(Utf8(response.GetXmlNodeForObject(outside)), "") << outside;
}

TEST_F(ResponseEnvelope, CopyAttributeIsTrueFromRelease2010On)
{
    const struct
    {
        const char* ver;
        const char* expected;
    } cases[] = {{"QTL2010", "true"}, {"QTL2011x", "true"}, {"QTL2009", "no"}, {"10.7.SP1", "no"}, {"", "no"}};
    for (const auto& c : cases) {
        CSEResponse response;
        ASSERT_TRUE(Parse(response, "Response.xml", FullResponse("success", c.ver, "")));
        EXPECT_EQ(Utf8(response.GetCopyAttribute()), c.expected) << c.ver;
    }
}

TEST_F(ResponseEnvelope, EmptyThinResponseLoadsNothingAndKeepsTheValues)
{
    CSEResponse response;
    CSECheckoutResponse checkout;
    ASSERT_TRUE(Parse(response, "Response.xml", FullResponse("success", "", "kept")));
    ASSERT_TRUE(Parse(checkout, "Response.xml", FullResponse("success", "", "kept")));
    EXPECT_FALSE(response.ParseResponse(CSEString()));
    EXPECT_TRUE(checkout.ParseResponse(CSEString()));
    for (CSEResponse* parsed : {static_cast<CSEResponse*>(&response), static_cast<CSEResponse*>(&checkout)}) {
        EXPECT_EQ(Utf8(parsed->GetResult()), "success");
        EXPECT_EQ(Utf8(parsed->GetReason()), "kept");
        EXPECT_EQ(parsed->GetNumObjets(), 3);
    }
}

TEST_F(ResponseEnvelope, UnloadableResponseFileClearsTheResponse)
{
    const CSEString thinTexts[] = {
        ThinResponseFor("Missing.xml"),           // named file does not exist
        ThinResponseFor("Broken.xml"),            // named file is not XML
        CSEString(u"<response dirname='/tmp'/>"), // no file named
        CSEString(u"this is not <xml"),           // thin response is not XML
    };
    std::ofstream(PathOf("Broken.xml")) << "<response result='success'";
    for (const CSEString& thin : thinTexts) {
        CSEResponse response;
        CSECheckoutResponse checkout;
        for (CSEResponse* parsed : {static_cast<CSEResponse*>(&response), static_cast<CSEResponse*>(&checkout)}) {
            ASSERT_TRUE(Parse(*parsed, "Response.xml", FullResponse("success", "", "old")));
            EXPECT_FALSE(parsed->ParseResponse(thin)) << Utf8(thin);
            EXPECT_EQ(Utf8(parsed->GetResult()), "");
            EXPECT_EQ(Utf8(parsed->GetReason()), "");
            EXPECT_EQ(Utf8(parsed->GetCmdName()), "");
            EXPECT_EQ(parsed->GetNumObjets(), 0);
            CSEString root;
            ASSERT_NE(parsed->GetXMLPacket(), nullptr);
            EXPECT_NE(parsed->GetXMLPacket()->getRootNodeName(root), 0) << "an old document survived";
        }
    }
    EXPECT_TRUE(Logged(kMainLog, 3, "[CSEResponse::ParseResponse] The response file could not be loaded: " +
                                        PathOf("Missing.xml")));
}

// Attributes absent from the new response read empty, and a packet pointer taken earlier stays
// valid and shows the new document.
TEST_F(ResponseEnvelope, ANewResponseReplacesTheOldDocument)
{
    CSEResponse response;
    CSEXMLPacket* const packet = response.GetXMLPacket();
    ASSERT_TRUE(Parse(response, "First.xml", FullResponse("failure", "", "first")));
    EXPECT_EQ(packet->getNodeCount(CSEString(u"//cadobject")), 3);
    ASSERT_TRUE(Parse(response, "Second.xml", "<response result='success'><info/></response>"));
    EXPECT_EQ(Utf8(response.GetResult()), "success");
    EXPECT_EQ(Utf8(response.GetReason()), "");
    EXPECT_EQ(Utf8(response.GetAddin()), "");
    EXPECT_EQ(response.GetNumObjets(), 0);
    EXPECT_EQ(response.GetXMLPacket(), packet);
    EXPECT_EQ(packet->getNodeCount(CSEString(u"//cadobject")), 0);
}

TEST_F(ResponseEnvelope, FileNameOfTheThinResponse)
{
    const struct
    {
        const char16_t* thin;
        bool named;
        const char* fileName;
    } cases[] = {
        {u"", false, ""},
        {u"<response dirname='/inst' filename='Response.xml'></response>", true, "/inst/Response.xml"},
        {u"<?xml version='1.0'?><response dirname='/inst/' filename='R.xml'/>", true, "/inst/R.xml"},
        {u"<response filename='R.xml'/>", true, "R.xml"},
        {u"<response dirname='/x'/>", false, ""},
        {u"<response", false, ""},
    };
    for (const auto& c : cases) {
        CSEString name(u"unchanged");
        EXPECT_EQ(CSEResponse::GetFilenameFromThinResp(CSEString(c.thin), name), c.named) << c.fileName;
        EXPECT_EQ(Utf8(name), c.fileName);
    }
}

TEST_F(ResponseEnvelope, CopiesOutliveTheirSource)
{
    CSEResponse* source = new CSECheckoutResponse();
    ASSERT_TRUE(Parse(*source, "Response.xml", FullResponse("success", "", "why")));
    CSEResponse copy(*source);
    CSEResponse assigned;
    assigned = *source;
    CSEResponse& alias = assigned;
    assigned = alias;
    delete source;
    for (CSEResponse* response : {&copy, &assigned}) {
        EXPECT_EQ(Utf8(response->GetResult()), "success");
        EXPECT_EQ(Utf8(response->GetReason()), "why");
        EXPECT_EQ(response->GetNumObjets(), 3);
    }
    EXPECT_NE(copy.GetXMLPacket(), assigned.GetXMLPacket());
}
