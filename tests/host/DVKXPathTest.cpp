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
    void SetUp() override
    {
        ASSERT_TRUE(m_document.LoadText(
            u"<r><o n=\"O'Brien.prt\" k=\"1\"><o n='say \"hi\"' k=\"2\"/></o><o n=\"both ' and &quot;\" k=\"3\"/></r>"));
    }
    std::vector<XmlNode> Select(const std::u16string& expression)
    {
        std::vector<XmlNode> nodes;
        EXPECT_TRUE(dvk::EvaluateXPath(m_document.Root(), expression, nodes));
        return nodes;
    }

    dvk::XmlDocument m_document;
};

} // namespace

TEST_F(XPathTest, NodeSetsComeInDocumentOrder)
{
    const std::vector<XmlNode> nodes = Select(u"//o[@k='3'] | //o[@k='2'] | //o[@k='1']");
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].GetAttribute(u"k"), u"1");
    EXPECT_EQ(nodes[1].GetAttribute(u"k"), u"2");
    EXPECT_EQ(nodes[2].GetAttribute(u"k"), u"3");
    EXPECT_TRUE(Select(u"//missing").empty());
}

TEST_F(XPathTest, AttributesComeAsAttributeHandles)
{
    const std::vector<XmlNode> nodes = Select(u"//o/@k");
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].Kind(), dvk::XmlNodeKind::Attribute);
    EXPECT_EQ(nodes[0].Name(), u"k");
    EXPECT_EQ(nodes[0].Value(), u"1");
    EXPECT_EQ(nodes[0].Text(), u"1");
    EXPECT_TRUE(nodes[0].FirstChild().IsNull());
    EXPECT_EQ(nodes[0].ToText(), u"k=\"1\"");
}

TEST_F(XPathTest, RelativePathsStartAtTheContextNode)
{
    const XmlNode outer = Select(u"/r/o")[0];
    std::vector<XmlNode> nodes;
    ASSERT_TRUE(dvk::EvaluateXPath(outer, u"o", nodes));
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].GetAttribute(u"k"), u"2");
}

TEST_F(XPathTest, RefusedExpressionsGiveNoNodes)
{
    std::vector<XmlNode> nodes = Select(u"//o");
    for (const std::u16string& expression :
         {std::u16string(u""), std::u16string(u"//o["), std::u16string(u"count(//o)"),
          std::u16string(u"'text'"), std::u16string(u"//o[@n='unclosed]"), std::u16string(u"//o\0junk", 8)}) {
        EXPECT_EQ(dvk::EvaluateXPath(m_document.Root(), expression, nodes).Code(), XmlStatusCode::XPathError);
        EXPECT_TRUE(nodes.empty());
    }
    EXPECT_EQ(dvk::EvaluateXPath(XmlNode(), u"//o", nodes).Code(), XmlStatusCode::InvalidArgument);
}
