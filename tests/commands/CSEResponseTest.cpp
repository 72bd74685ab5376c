// Tests for CSEResponse and CSECheckoutResponse: thin responses, the response envelope and its
// failure cases.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

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

    static std::string Joined(std::initializer_list<CSEString> values)
    {
        std::string text;
        for (const CSEString& value : values)
            text += Utf8(value) + "|";
        return text.substr(0, text.size() - 1);
    }

    // The values a response gives, as "result|reason|command|objects".
    static std::string Values(CSEResponse& response)
    {
        return Joined({response.GetResult(), response.GetReason(), response.GetCmdName()}) + "|" +
               std::to_string(response.GetNumObjets());
    }
};

TEST_F(ResponseEnvelope, ReadsEveryFieldAndTheObjectsByPosition)
{
    CSEResponse response;
    ASSERT_TRUE(Parse(response, "Response.xml", FullResponse("failure", "10.7.SP1", "locked")));
    EXPECT_EQ(Joined({response.GetIID(), response.GetVersion(), response.GetAddin(), response.GetDeleteFiles(),
                      response.GetCopyAttribute(), response.GetLoadFiles(), response.GetCreatePreview(),
                      response.GetBackGroundCheckin(), response.GetMaintainLock()}),
              "42|10.7.SP1|DravikAddin|yes|no|lf|cp|bc|ml");
    EXPECT_EQ(Values(response), "failure|locked|checkout|3");

    const std::string second = Utf8(response.GetXmlNodeForObject(2));
    EXPECT_TRUE(Contains(second, "b.prt") && Contains(second, "<attribute") && !Contains(second, "a.prt")) << second;
    for (const int outside : {0, 4, -1})
        EXPECT_EQ(Utf8(response.GetXmlNodeForObject(outside)), "") << outside;
}

TEST_F(ResponseEnvelope, CopyAttributeIsTrueFromRelease2010On)
{
    const std::pair<const char*, const char*> cases[] = {
        {"QTL2010", "true"}, {"QTL2011x", "true"}, {"QTL2009", "no"}, {"10.7.SP1", "no"}, {"", "no"}};
    for (const auto& c : cases) {
        CSEResponse response;
        ASSERT_TRUE(Parse(response, "Response.xml", FullResponse("success", c.first, "")));
        EXPECT_EQ(Utf8(response.GetCopyAttribute()), c.second) << c.first;
    }
}

// An empty thin response loads nothing: the plain response reports it, the checkout response does
// not; both keep what they had. An unloadable one clears the response, an old document included.
TEST_F(ResponseEnvelope, EmptyThinResponseKeepsTheValuesAndAnUnloadableOneClearsThem)
{
    std::ofstream(PathOf("Broken.xml")) << "<response result='success'";
    const std::pair<CSEString, const char*> cases[] = {
        {CSEString(), "success|kept|checkout|3"},
        {ThinResponseFor("Missing.xml"), "|||0"},             // named file does not exist
        {ThinResponseFor("Broken.xml"), "|||0"},              // named file is not XML
        {CSEString(u"<response dirname='/tmp'/>"), "|||0"}, // no file named
        {CSEString(u"this is not <xml"), "|||0"},           // thin response is not XML
    };
    for (const auto& c : cases) {
        CSEResponse response;
        CSECheckoutResponse checkout;
        for (CSEResponse* parsed : {static_cast<CSEResponse*>(&response), static_cast<CSEResponse*>(&checkout)}) {
            ASSERT_TRUE(Parse(*parsed, "Response.xml", FullResponse("success", "", "kept")));
            EXPECT_EQ(parsed->ParseResponse(c.first), parsed == &checkout && c.first.size() == 0) << Utf8(c.first);
            EXPECT_EQ(Values(*parsed), c.second) << Utf8(c.first);
            CSEString root;
            EXPECT_EQ(parsed->GetXMLPacket()->getRootNodeName(root) == 0, c.first.size() == 0) << Utf8(c.first);
        }
    }
}

// Attributes absent from the new response read empty, and a packet pointer taken earlier stays
// valid and shows the new document.
TEST_F(ResponseEnvelope, ANewResponseReplacesTheOldDocument)
{
    CSEResponse response;
    CSEXMLPacket* const packet = response.GetXMLPacket();
    ASSERT_TRUE(Parse(response, "First.xml", FullResponse("failure", "", "first")));
    EXPECT_EQ(packet->getNodeCount(u"//cadobject"), 3);
    ASSERT_TRUE(Parse(response, "Second.xml", "<response result='success'><info/></response>"));
    EXPECT_EQ(Values(response), "success|||0");
    EXPECT_EQ(Utf8(response.GetAddin()), "");
    EXPECT_EQ(response.GetXMLPacket(), packet);
    EXPECT_EQ(packet->getNodeCount(u"//cadobject"), 0);
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
    EXPECT_EQ(Values(copy) + " " + Values(assigned), "success|why|checkout|3 success|why|checkout|3");
    EXPECT_NE(copy.GetXMLPacket(), assigned.GetXMLPacket());
}
