// Behaviour of XmlNode handles: null handles, attributes, creation rules, import, moves, deep trees.
#include <gtest/gtest.h>

#include "host/DVKXmlDocument.h"

using dvk::XmlDocument;
using dvk::XmlNode;
using dvk::XmlStatusCode;

namespace {

XmlNode Load(XmlDocument& document, const std::u16string& text)
{
    EXPECT_TRUE(document.LoadText(text));
    return document.DocumentElement();
}

} // namespace

// Values written and read back: CSEXMLPacketTest.
TEST(XmlNode, BadAttributeNamesOrHandlesAreRefused)
{
    XmlDocument document;
    XmlNode root = Load(document, u"<r a=\"1\"/>");
    for (const char16_t* name : {u"bad name", u""})
        EXPECT_EQ(root.SetAttribute(name, u"v").Code(), XmlStatusCode::InvalidArgument);
    XmlNode none; // a null handle reads empty and refuses changes
    EXPECT_EQ(none.Name() + none.Text() + none.ToText(), u"");
    EXPECT_TRUE(none.AppendElement(u"a").IsNull() && !none.SetAttribute(u"a", u"b"));
    XmlNode text = root.AppendText(u"t");
    EXPECT_EQ(text.SetAttribute(u"a", u"v").Code(), XmlStatusCode::InvalidArgument);
    EXPECT_EQ(text.RemoveAttribute(u"a").Code(), XmlStatusCode::InvalidArgument);
}

TEST(XmlNode, CreationFollowsTheHierarchyRules)
{
    XmlDocument document;
    XmlNode top = document.Root();
    XmlNode root = top.AppendElement(u"r");
    ASSERT_FALSE(root.IsNull());
    EXPECT_TRUE(top.AppendElement(u"second").IsNull()) << "one document element";
    EXPECT_TRUE(top.AppendText(u"loose").IsNull());
    for (const char16_t* name : {u"", u"1a", u"a b", u"a<b", u"-a", u"a/b", u"a\"", u"a=b"})
        EXPECT_TRUE(root.AppendElement(name).IsNull());
    for (const char16_t* name : {u"a", u"_a1.b-c", u"ns:a", u"\u00e9l\u00e8ve", u"\u4e2d"})
        EXPECT_FALSE(root.AppendElement(name).IsNull());
    XmlNode text = root.AppendText(u"t");
    EXPECT_TRUE(text.AppendElement(u"x").IsNull());
    EXPECT_TRUE(text.AppendText(u"x").IsNull());
    EXPECT_EQ(root.ChildCount(), 6);
}

TEST(XmlNode, ImportsAndMovesNeverMakeACycleOrDependOnTheirSource)
{
    XmlDocument source;
    const XmlNode original = Load(source, u"<o><c>t</c></o>");
    XmlDocument target;
    XmlNode root = Load(target, u"<r><a><b/></a></r>");
    const XmlNode copy = root.AppendImport(original, true);
    EXPECT_EQ(root.AppendImport(root, true).ChildCount(), 2) << "a copy under itself holds what was there";
    EXPECT_TRUE(root.AppendImport(source.Root(), true).IsNull());
    EXPECT_TRUE(target.Root().AppendImport(original, true).IsNull()) << "one document element";
    source.Clear();
    EXPECT_EQ(copy.FirstChild().Text(), u"t");

    const XmlNode a = root.FirstChild();
    EXPECT_FALSE(a.FirstChild().AppendChild(a)) << "an ancestor cannot move below its descendant";
    EXPECT_FALSE(root.AppendChild(original)) << "a node of another document";
    ASSERT_TRUE(copy.FirstChild().AppendChild(a));
    EXPECT_EQ(a.Parent().Parent(), copy);
}

TEST(XmlNode, DeepTreesAreSearchedAndWalkedWithoutRecursion)
{
    XmlDocument document;
    XmlNode top = document.Root().AppendElement(u"d");
    XmlNode node = top;
    const int depth = 200000;
    for (int level = 0; level < depth; ++level)
        node = node.AppendElement(level == 2 ? u"x" : u"d");
    const XmlNode last = top.AppendElement(u"x");
    int visited = 0;
    top.ForEachElement([&](const XmlNode&) { ++visited; });
    EXPECT_EQ(visited, depth + 2);
    EXPECT_EQ(top.ElementsByTagName(u"d").size(), static_cast<size_t>(depth - 1)) << "not the node itself";
    const std::vector<XmlNode> found = top.ElementsByTagName(u"x");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1], last) << "in document order: the deep one first";
    EXPECT_EQ(top.FirstElementByTagName(u"x"), found[0]);
}
