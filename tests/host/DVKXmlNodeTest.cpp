// Behaviour of XmlNode handles: kinds, attributes, creation rules, text runs, import, move, removal.
#include <gtest/gtest.h>

#include "host/DVKXmlDocument.h"

using dvk::XmlDocument;
using dvk::XmlNode;
using dvk::XmlNodeKind;
using dvk::XmlStatusCode;

namespace {

XmlNode Load(XmlDocument& document, const std::u16string& text)
{
    EXPECT_TRUE(document.LoadText(text));
    return document.DocumentElement();
}

} // namespace

TEST(XmlNode, NullHandleReadsEmptyAndRefusesChanges)
{
    XmlNode none;
    EXPECT_EQ(none.Kind(), XmlNodeKind::Null);
    EXPECT_EQ(none.Name(), u"");
    EXPECT_EQ(none.Text(), u"");
    EXPECT_EQ(none.ChildCount(), 0);
    EXPECT_TRUE(none.AppendElement(u"a").IsNull());
    EXPECT_FALSE(none.SetAttribute(u"a", u"b"));
    EXPECT_EQ(none.ToText(), u"");
}

TEST(XmlNode, KindsNamesAndValues)
{
    XmlDocument document;
    const XmlNode root = Load(document, u"<r>t<![CDATA[c]]><!--m--><?pi data?><e/></r>");
    const std::vector<XmlNode> children = root.Children();
    ASSERT_EQ(children.size(), 3u) << "comments and processing instructions are not kept";
    EXPECT_EQ(document.Root().Kind(), XmlNodeKind::Document);
    EXPECT_EQ(root.Kind(), XmlNodeKind::Element);
    EXPECT_EQ(children[0].Kind(), XmlNodeKind::Text);
    EXPECT_EQ(children[1].Kind(), XmlNodeKind::CData);
    EXPECT_EQ(children[0].Value(), u"t");
    EXPECT_EQ(children[1].Value(), u"c");
    EXPECT_EQ(children[2].Name(), u"e");
    EXPECT_EQ(children[2].Value(), u"");
    EXPECT_EQ(children[0].Name(), u"");
    EXPECT_EQ(children[2].Parent(), root);
    EXPECT_EQ(root.Parent(), document.Root());
}

TEST(XmlNode, AttributesOfElements)
{
    XmlDocument document;
    XmlNode root = Load(document, u"<r b=\"2\" a=\"1\"/>");
    EXPECT_TRUE(root.HasAttribute(u"a"));
    EXPECT_FALSE(root.HasAttribute(u"z"));
    EXPECT_EQ(root.GetAttribute(u"z"), u"");
    ASSERT_TRUE(root.SetAttribute(u"a", u"x \"<&>\n"));
    ASSERT_TRUE(root.SetAttribute(u"c", u"3"));
    const std::vector<dvk::XmlAttribute> attributes = root.Attributes();
    ASSERT_EQ(attributes.size(), 3u);
    EXPECT_EQ(attributes[0].name, u"b");
    EXPECT_EQ(attributes[1].value, u"x \"<&>\n");
    EXPECT_EQ(attributes[2].name, u"c");
    EXPECT_TRUE(root.RemoveAttribute(u"b"));
    EXPECT_TRUE(root.RemoveAttribute(u"absent"));
    EXPECT_FALSE(root.HasAttribute(u"b"));

    // Written and read back, a value keeps its quotes, markup and line break.
    XmlDocument reread;
    EXPECT_EQ(Load(reread, document.ToText()).GetAttribute(u"a"), u"x \"<&>\n");

    EXPECT_EQ(root.SetAttribute(u"bad name", u"v").Code(), XmlStatusCode::InvalidArgument);
    EXPECT_EQ(root.SetAttribute(u"", u"v").Code(), XmlStatusCode::InvalidArgument);
    XmlNode text = root.AppendText(u"t");
    EXPECT_EQ(text.SetAttribute(u"a", u"v").Code(), XmlStatusCode::InvalidArgument);
    EXPECT_EQ(text.RemoveAttribute(u"a").Code(), XmlStatusCode::InvalidArgument);
    EXPECT_TRUE(text.Attributes().empty());
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

TEST(XmlNode, ImportCopiesFromAnotherDocumentDeepOrShallow)
{
    XmlDocument source;
    const XmlNode original = Load(source, u"<o id=\"1\" n=\"x\"><c>t</c></o>");
    XmlDocument target;
    XmlNode root = Load(target, u"<r/>");

    const XmlNode deep = root.AppendImport(original, true);
    EXPECT_EQ(deep.ToText(), original.ToText());
    const XmlNode shallow = root.AppendImport(original, false);
    EXPECT_EQ(shallow.Name(), u"o");
    EXPECT_EQ(shallow.GetAttribute(u"n"), u"x");
    EXPECT_EQ(shallow.ChildCount(), 0);
    const XmlNode text = root.AppendImport(original.FirstChild().FirstChild(), false);
    EXPECT_EQ(text.Value(), u"t");

    // Copying a node under itself copies what was there before.
    XmlNode again = root.AppendImport(root, true);
    EXPECT_EQ(again.ChildCount(), 3);
    EXPECT_TRUE(root.AppendImport(source.Root(), true).IsNull());
    EXPECT_TRUE(target.Root().AppendImport(original, true).IsNull()) << "one document element";
    source.Clear();
    EXPECT_EQ(deep.FirstChild().Text(), u"t") << "the copy does not depend on its source";
}

TEST(XmlNode, AppendChildMovesWithinTheDocument)
{
    XmlDocument document;
    XmlNode root = Load(document, u"<r><a><b/></a><c/></r>");
    XmlNode a = root.FirstChild();
    XmlNode b = a.FirstChild();
    XmlNode c = a.NextSibling();
    ASSERT_TRUE(c.AppendChild(b));
    EXPECT_EQ(b.Parent(), c);
    EXPECT_EQ(a.ChildCount(), 0);
    EXPECT_FALSE(b.AppendChild(c)) << "an ancestor cannot move below its descendant";
    XmlDocument other;
    XmlNode stranger = Load(other, u"<s/>");
    EXPECT_FALSE(root.AppendChild(stranger));
    EXPECT_TRUE(root.AppendChild(a)) << "moving a child to the end";
    EXPECT_EQ(root.FirstChild(), c);
}

TEST(XmlNode, RemoveChildTakesOnlyChildren)
{
    XmlDocument document;
    XmlNode root = Load(document, u"<r><a><b/></a><c/></r>");
    XmlNode a = root.FirstChild();
    XmlNode b = a.FirstChild();
    EXPECT_EQ(root.RemoveChild(b).Code(), XmlStatusCode::NotAChild);
    EXPECT_EQ(root.RemoveChild(root).Code(), XmlStatusCode::NotAChild);
    EXPECT_EQ(root.RemoveChild(XmlNode()).Code(), XmlStatusCode::InvalidArgument);
    ASSERT_TRUE(root.RemoveChild(a));
    EXPECT_EQ(root.ChildCount(), 1);
    EXPECT_EQ(document.ToText(), u"<?xml version=\"1.0\"?>\n<r>\n  <c />\n</r>\n");
}

TEST(XmlNode, DescendantSearchInDocumentOrder)
{
    XmlDocument document;
    XmlNode root = Load(document, u"<name><a><name k=\"1\"><name k=\"2\"/></name></a><name k=\"3\"/></name>");
    const std::vector<XmlNode> named = root.ElementsByTagName(u"name");
    ASSERT_EQ(named.size(), 3u) << "the node itself is not its own descendant";
    EXPECT_EQ(named[0].GetAttribute(u"k"), u"1");
    EXPECT_EQ(named[1].GetAttribute(u"k"), u"2");
    EXPECT_EQ(named[2].GetAttribute(u"k"), u"3");
    EXPECT_EQ(root.ElementsByTagName(u"*").size(), 4u);
    EXPECT_EQ(root.FirstElementByTagName(u"name"), named[0]);
    EXPECT_TRUE(root.FirstElementByTagName(u"value").IsNull());
}

TEST(XmlNode, DeepTreesAreWalkedWithoutRecursion)
{
    XmlDocument document;
    XmlNode node = document.Root().AppendElement(u"r");
    const int depth = 200000;
    for (int level = 0; level < depth; ++level)
        node = node.AppendElement(u"d");
    int visited = 0;
    document.DocumentElement().ForEachElement([&](const XmlNode&) { ++visited; });
    EXPECT_EQ(visited, depth + 1);
    EXPECT_EQ(document.DocumentElement().ElementsByTagName(u"d").size(), static_cast<size_t>(depth));
    EXPECT_EQ(node.Parent().Name(), u"d");
}
