// CXmlReader: loading and its error messages, cursor moves, element text, start-tag values,
// double-byte text and hostile documents.
#include <gtest/gtest.h>

#include <string>

#include "search/xml_reader.h"

namespace tunova {
namespace {

std::string LoadError(std::string_view text) {
    CXmlReader doc;
    EXPECT_FALSE(doc.LoadText(text)) << text;
    return doc.ErrorText();
}

// Loads `text`, stands inside the root and finds `name`.
std::string TextOf(CXmlReader& doc, std::string_view text, std::string_view name) {
    EXPECT_TRUE(doc.LoadText(text)) << doc.ErrorText();
    EXPECT_TRUE(doc.FindSibling());
    EXPECT_TRUE(doc.EnterElement());
    EXPECT_TRUE(doc.FindSibling(name)) << name;
    return doc.ElementText();
}

TEST(XmlReaderLoad, EmptyTextFailsWithoutMessage) {
    CXmlReader doc;
    EXPECT_FALSE(doc.LoadText(""));
    EXPECT_EQ(doc.ErrorText(), "");
    EXPECT_FALSE(doc.FindSibling());
    EXPECT_EQ(doc.ElementText(), "");
}

TEST(XmlReaderLoad, EachMalformedShapeHasItsMessage) {
    EXPECT_EQ(LoadError("error"), "Element tag not found");
    EXPECT_EQ(LoadError("<a>x"), "End tag of a element not found");
    EXPECT_EQ(LoadError("<a><b></a>"), "End tag does not correspond to b");
    EXPECT_EQ(LoadError("<a></b>"), "End tag does not correspond to a");
    EXPECT_EQ(LoadError("<a><"), "Abrupt end within tag");
    EXPECT_EQ(LoadError("<'a'>"), "Tag starts with quote");
    EXPECT_EQ(LoadError("<!-- open <a/>"), "Invalid node");
    EXPECT_EQ(LoadError("<a x='1'"), "End of tag not found");
    EXPECT_EQ(LoadError("<a></a"), "End tag not completed for element a");
    EXPECT_EQ(LoadError("<a><x></y></a>"), "End tag does not correspond to x");
}

TEST(XmlReaderLoad, FailedLoadLeavesNothingToFind) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<a><b/></a>"));
    EXPECT_FALSE(doc.LoadText("<a><b></a>"));
    EXPECT_FALSE(doc.FindSibling());
    EXPECT_FALSE(doc.EnterElement());
    EXPECT_EQ(doc.ElementText(), "");
}

TEST(XmlReaderLoad, PassesOverDeclarationsCommentsAndDocumentTypes) {
    CXmlReader doc;
    ASSERT_TRUE(
        doc.LoadText("<?xml version='1.0' encoding='UTF-8'?>\n<!-- a > b -->"
                     "<!DOCTYPE feed [<!ENTITY x 'y>'>]><feed><!-- c --><e>1</e></feed>"));
    ASSERT_TRUE(doc.FindSibling("feed"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindSibling("e"));
    EXPECT_EQ(doc.ElementText(), "1");
}

TEST(XmlReaderLoad, OnlyTheFirstTopLevelElementIsParsed) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<x>1</x><y/>"));
    ASSERT_TRUE(doc.FindSibling("x"));
    EXPECT_FALSE(doc.FindSibling("y"));
    EXPECT_TRUE(doc.LoadText("<x/>trailing junk <<<"));
}

TEST(XmlReaderCursor, FindSiblingMatchesWholeNamesOrPrefixesBeforeASpace) {
    CXmlReader doc;
    EXPECT_EQ(TextOf(doc, "<f><title type='text'>T</title></f>", "title type"), "T");
    ASSERT_TRUE(doc.LoadText("<f><entryx/><Entry/><entry>e</entry></f>"));
    doc.FindSibling();
    doc.EnterElement();
    ASSERT_TRUE(doc.FindSibling("entry"));
    EXPECT_EQ(doc.ElementText(), "e");
}

TEST(XmlReaderCursor, NamesAfterSpacesAndEndTagsWithSpacesAreRead) {
    CXmlReader doc;
    EXPECT_EQ(TextOf(doc, "<r>< t>x</t ></r>", "t"), "x");
    EXPECT_EQ(TextOf(doc, "<r><titlex/><title\ttype='a'>y</title\n></r>", "title type"), "y");
    EXPECT_EQ(TextOf(doc, "<r><a:b>z</a:b></r>", "a:b"), "z");
    ASSERT_TRUE(doc.LoadText("<r><t/></r>"));
    doc.FindSibling();
    doc.EnterElement();
    EXPECT_FALSE(doc.FindSibling("'t"));
    EXPECT_FALSE(doc.FindSibling("tt"));
}

TEST(XmlReaderCursor, FindSiblingOnlySearchesForwardAndAFailedFindKeepsThePosition) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<f><link href='1'/><a>A</a><link href='2'/></f>"));
    doc.FindSibling();
    doc.EnterElement();
    ASSERT_TRUE(doc.FindSibling("link"));
    EXPECT_EQ(doc.StartTagValue("href="), "1");
    ASSERT_TRUE(doc.FindSibling("a"));
    EXPECT_FALSE(doc.FindSibling("a"));
    EXPECT_EQ(doc.ElementText(), "A");  // still the element found last
    ASSERT_TRUE(doc.FindSibling("link"));
    EXPECT_EQ(doc.StartTagValue("href="), "2");
    EXPECT_FALSE(doc.FindSibling("link"));
}

TEST(XmlReaderCursor, EnterAndLeaveWalkTheTree) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<r><a><b>1</b></a><c>2</c></r>"));
    EXPECT_FALSE(doc.EnterElement());  // document level
    EXPECT_FALSE(doc.LeaveElement());
    ASSERT_TRUE(doc.FindSibling());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindSibling("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindSibling("b"));
    EXPECT_TRUE(doc.LeaveElement());   // back on a
    EXPECT_EQ(doc.ElementText(), "");  // a has a child
    ASSERT_TRUE(doc.FindSibling("c"));
    EXPECT_EQ(doc.ElementText(), "2");
    EXPECT_TRUE(doc.LeaveElement());  // on r, at document level
    EXPECT_FALSE(doc.LeaveElement());
    EXPECT_FALSE(doc.FindSibling());  // r is the only top-level element
}

TEST(XmlReaderCursor, EnteringAnElementWithoutChildrenStillSucceeds) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<r><a>x</a></r>"));
    doc.FindSibling();
    doc.EnterElement();
    doc.FindSibling("a");
    EXPECT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindSibling());
    EXPECT_FALSE(doc.EnterElement());  // nothing current inside a
}

TEST(XmlReaderText, DecodesTheFiveEntitiesOnly) {
    CXmlReader doc;
    EXPECT_EQ(TextOf(doc, "<r><t>A &amp;lt; B &nbsp;</t></r>", "t"), "A &lt; B &nbsp;");
    EXPECT_EQ(TextOf(doc, "<r><t>&lt;&gt;&apos;&quot;&amp;&#39;&amp</t></r>", "t"),
              "<>'\"&&#39;&amp");
}

TEST(XmlReaderText, CdataIsReturnedAsWritten) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<t><![CDATA[a<b]]></t>"));
    ASSERT_TRUE(doc.FindSibling("t"));
    EXPECT_EQ(doc.ElementText(), "a<b");
    EXPECT_EQ(TextOf(doc, "<r><t>  <![CDATA[x &amp; </t>]]></t></r>", "t"), "x &amp; </t>");
    EXPECT_EQ(TextOf(doc, "<r><t><![CDATA[]]></t></r>", "t"), "");
}

TEST(XmlReaderText, KeepsSurroundingWhitespaceAndIsEmptyForSelfClosing) {
    CXmlReader doc;
    EXPECT_EQ(TextOf(doc, "<r><t> a b\n</t></r>", "t"), " a b\n");
    EXPECT_EQ(TextOf(doc, "<r><t/></r>", "t"), "");
    EXPECT_EQ(TextOf(doc, "<r><t></t></r>", "t"), "");
}

TEST(XmlReaderStartTag, ReadsQuotedValuesOfSelfClosingTags) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<link rel='alternate' href='/a/b?c=d'/>"));
    ASSERT_TRUE(doc.FindSibling());
    EXPECT_EQ(doc.StartTagValue("href="), "/a/b?c=d");
    EXPECT_EQ(doc.StartTagValue("rel="), "alternate");
    EXPECT_EQ(doc.StartTagValue("title="), "");
    ASSERT_TRUE(doc.LoadText("<yt:duration seconds=\"225\"/>"));
    ASSERT_TRUE(doc.FindSibling());
    EXPECT_EQ(doc.StartTagValue("seconds="), "225");
}

TEST(XmlReaderStartTag, TheFirstSelfClosingMarkLaterInTheDocumentDecides) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<r><a href='1'>t</a><b href='2'/></r>"));
    doc.FindSibling();
    doc.EnterElement();
    ASSERT_TRUE(doc.FindSibling("a"));
    // The tag text runs to b's "/>", so the first href, a's own, is found.
    EXPECT_EQ(doc.StartTagValue("href="), "1");
    ASSERT_TRUE(doc.LoadText("<r><a>t</a><b href='2'/></r>"));
    doc.FindSibling();
    doc.EnterElement();
    ASSERT_TRUE(doc.FindSibling("a"));
    EXPECT_EQ(doc.StartTagValue("href="), "2");
    ASSERT_TRUE(doc.LoadText("<r><a href='1'>t</a></r>"));
    doc.FindSibling();
    doc.EnterElement();
    ASSERT_TRUE(doc.FindSibling("a"));
    EXPECT_EQ(doc.StartTagValue("href="), "");  // no "/>" anywhere after it
}

TEST(XmlReaderStartTag, UnquotedAndEmptyValuesStayWithinTheTag) {
    CXmlReader doc;
    ASSERT_TRUE(doc.LoadText("<d seconds=225/>"));
    doc.FindSibling();
    EXPECT_EQ(doc.StartTagValue("seconds="), "25");  // the character after '=' is the quote's
    ASSERT_TRUE(doc.LoadText("<d seconds=''/>"));
    doc.FindSibling();
    EXPECT_EQ(doc.StartTagValue("seconds="), "");
    ASSERT_FALSE(doc.LoadText("<d seconds="));  // not loaded: the reads stay empty
    EXPECT_EQ(doc.StartTagValue("seconds="), "");
}

TEST(XmlReaderDoubleByte, TitlesAreCopiedWholeAndTrailBytesAreNeverTagCharacters) {
    CXmlReader doc;
    EXPECT_EQ(TextOf(doc, "<r><title>한국 노래 &amp; 가요</title></r>", "title"),
              "한국 노래 & 가요");
    // 0xB0 0x3C would be a lead and a '<' read as its trail: the '<' never opens a tag.
    EXPECT_EQ(TextOf(doc, "<r><t>\xB0<x</t></r>", "t"), "\xB0<x");
    // A double-byte element name matches only itself.
    EXPECT_EQ(TextOf(doc, "<r><제목>값</제목></r>", "제목"), "값");
    EXPECT_EQ(TextOf(doc, "<r><a b='\xB0'/><c/></r>", "c"), "");
}

TEST(XmlReaderHostile, DeepNestingParsesWithoutExhaustingTheStack) {
    std::string text;
    constexpr int kDepth = 100000;
    for (int i = 0; i < kDepth; ++i) {
        text += "<a>";
    }
    CXmlReader doc;
    EXPECT_FALSE(doc.LoadText(text));
    EXPECT_EQ(doc.ErrorText(), "End tag of a element not found");
    for (int i = 0; i < kDepth; ++i) {
        text += "</a>";
    }
    ASSERT_TRUE(doc.LoadText(text));
    int depth = 0;
    while (doc.FindSibling() && doc.EnterElement()) {
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
}

TEST(XmlReaderHostile, UnterminatedNodesAndStrayLeadBytesFailCleanly) {
    EXPECT_EQ(LoadError("<a><![CDATA[never closed</a>"), "Invalid node");
    EXPECT_EQ(LoadError("<a><?pi"), "Invalid node");
    EXPECT_EQ(LoadError("<a><!"), "Invalid node");
    EXPECT_EQ(LoadError("<a>\xB0"), "End tag of a element not found");
    EXPECT_EQ(LoadError("<a\xB0"), "End of tag not found");
    EXPECT_EQ(LoadError("<a></a \xB0"), "End tag not completed for element a");
    EXPECT_EQ(LoadError("<a></a\xB0>"), "End tag does not correspond to a");
    EXPECT_EQ(LoadError("<\xB0"), "End of tag not found");
    EXPECT_EQ(LoadError("<a>'</a"), "End tag not completed for element a");
}

TEST(XmlReaderHostile, FiftyMegabytesOfTextLoadAndRead) {
    std::string text = "<r><t>";
    text.append(50u << 20, 'x');
    text += "&amp;</t></r>";
    CXmlReader doc;
    std::string value = TextOf(doc, text, "t");
    EXPECT_EQ(value.size(), (50u << 20) + 1);
    EXPECT_EQ(value.back(), '&');
}

}  // namespace
}  // namespace tunova
