// Behaviour of XPath evaluation: node sets in document order, attributes, and refused expressions.
#include <gtest/gtest.h>

#include "host/DVKXPath.h"
#include "host/DVKXmlDocument.h"

using dvk::XmlNode;
using dvk::XmlStatusCode;

namespace {

class XPathTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_document.LoadText(u"<r><o k='1'><o k='2'/></o><o k='3'/></r>")); }

    std::vector<std::u16string> Keys(const XmlNode& context, const std::u16string& expression)
    {
        std::vector<XmlNode> nodes;
        EXPECT_TRUE(dvk::EvaluateXPath(context, expression, nodes));
        std::vector<std::u16string> keys;
        for (const XmlNode& node : nodes)
            keys.push_back(node.Kind() == dvk::XmlNodeKind::Attribute ? node.Value()
                                                                      : node.GetAttribute(u"k"));
        return keys;
    }

    dvk::XmlDocument m_document;
};

} // namespace

TEST_F(XPathTest, NodeSetsComeInDocumentOrderFromTheirContext)
{
    const std::vector<std::u16string> all = {u"1", u"2", u"3"};
    EXPECT_EQ(Keys(m_document.Root(), u"//o[@k='3'] | //o[@k='2'] | //o[@k='1']"), all);
    EXPECT_EQ(Keys(m_document.Root(), u"//o/@k"), all);
    EXPECT_TRUE(Keys(m_document.Root(), u"//missing").empty());
    const XmlNode outer = m_document.DocumentElement().FirstChild();
    EXPECT_EQ(Keys(outer, u"o"), std::vector<std::u16string>{u"2"});

    std::vector<XmlNode> nodes;
    ASSERT_TRUE(dvk::EvaluateXPath(m_document.Root(), u"/r/o/@k", nodes));
    EXPECT_EQ(nodes[0].Name(), u"k");
    EXPECT_TRUE(nodes[0].FirstChild().IsNull()) << "an attribute handle has no children";
}

TEST_F(XPathTest, RefusedExpressionsAndContextsGiveNoNodes)
{
    std::vector<XmlNode> nodes;
    for (const std::u16string& expression :
         {std::u16string(u""), std::u16string(u"//o["), std::u16string(u"count(//o)"),
          std::u16string(u"'text'"), std::u16string(u"//o[@k='unclosed]"), std::u16string(u"//o\0junk", 8)}) {
        nodes.resize(1);
        EXPECT_EQ(dvk::EvaluateXPath(m_document.Root(), expression, nodes).Code(), XmlStatusCode::XPathError);
        EXPECT_TRUE(nodes.empty());
    }
    ASSERT_TRUE(dvk::EvaluateXPath(m_document.Root(), u"//@k", nodes));
    for (const XmlNode& context : {XmlNode(), nodes[0]})
        EXPECT_EQ(dvk::EvaluateXPath(context, u"//o", nodes).Code(), XmlStatusCode::InvalidArgument);
}
