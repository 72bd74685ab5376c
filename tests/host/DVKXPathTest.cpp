// Behaviour of XPath evaluation: node sets in document order, attributes, and refused expressions.
#include <gtest/gtest.h>

#include "host/DVKXPath.h"
#include "host/DVKXmlDocument.h"

using dvk::XmlNode;
using dvk::XmlStatusCode;

namespace {

class XPath : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_document.LoadText(u"<r><o k='1'><o k='2'/></o><o k='3'/></r>")); }

    // The "k" values of the selected elements, or the values of the selected attributes.
    std::u16string Keys(const XmlNode& context, const std::u16string& expression)
    {
        std::vector<XmlNode> nodes;
        EXPECT_TRUE(dvk::EvaluateXPath(context, expression, nodes));
        std::u16string keys;
        for (const XmlNode& node : nodes)
            keys += node.Kind() == dvk::XmlNodeKind::Attribute ? node.Value() : node.GetAttribute(u"k");
        return keys;
    }

    dvk::XmlDocument m_document;
};

} // namespace

TEST_F(XPath, NodeSetsComeInDocumentOrderFromTheirContext)
{
    EXPECT_EQ(Keys(m_document.Root(), u"//o[@k='3'] | //o[@k='2'] | //o[@k='1']"), u"123");
    EXPECT_EQ(Keys(m_document.Root(), u"//o/@k"), u"123");
    EXPECT_EQ(Keys(m_document.DocumentElement().FirstChild(), u"o"), u"2") << "relative to the context";
    EXPECT_EQ(Keys(m_document.Root(), u"//missing"), u"");

    std::vector<XmlNode> nodes;
    ASSERT_TRUE(dvk::EvaluateXPath(m_document.Root(), u"/r/o/@k", nodes));
    EXPECT_EQ(nodes[0].Name(), u"k");
    EXPECT_TRUE(nodes[0].FirstChild().IsNull()) << "an attribute handle has no children";
}

TEST_F(XPath, RefusedExpressionsAndContextsGiveNoNodes)
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
