// The start page's readable text: what the start-information box shows in
// place of the page.
#include "OrvHtmlText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const std::string& html) { return OrvHtmlText::FromHtml(html.data(), html.size()).GetString(); }

TEST(HtmlText, TagsGoBlocksBreakLinesAndBlanksFold) {
    EXPECT_EQ(Text("<p>One   two\n\tthree</p><p>Four</p>"), "One two three\r\nFour");
    EXPECT_EQ(Text("a<br>b<BR/>c<br />d"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Text("<b>bold</b> and <i>it</i>alic"), "bold and italic");
    EXPECT_EQ(Text("<div><div><p>deep</p></div></div>"), "deep") << "no empty lines at either end";
    EXPECT_EQ(Text("x<br><br><br><br>y"), "x\r\n\r\ny") << "at most one empty line";
    EXPECT_EQ(Text("<TITLE>News</TITLE><H1>Head</H1>body"), "News\r\nHead\r\nbody");
}

TEST(HtmlText, ScriptsStylesAndCommentsAreNotText) {
    EXPECT_EQ(Text("a<script type='x'>if (a < b) alert('<p>');</script>b"), "ab");
    EXPECT_EQ(Text("a<STYLE>p { color: red }</STYLE>b"), "ab");
    EXPECT_EQ(Text("a<!-- <p>hidden</p> -->b"), "ab");
    EXPECT_EQ(Text("a<!-- never closed"), "a");
    EXPECT_EQ(Text("a<script>never closed"), "a");
}

TEST(HtmlText, EntitiesAreDecodedAndUnknownOnesKept) {
    EXPECT_EQ(Text("Ann &amp; Bob &lt;3 &gt; &quot;q&quot; &apos;s&#39;"), "Ann & Bob <3 > \"q\" 's'");
    EXPECT_EQ(Text("a&nbsp;b"), "a b");
    EXPECT_EQ(Text("&#65;&#x42;&#X43;"), "ABC");
    EXPECT_EQ(Text("&#9731; snow"), "? snow") << "outside one byte";
    EXPECT_EQ(Text("fish &chips; &#; &#xZ; &"), "fish &chips; &#; &#xZ; &");
    EXPECT_EQ(Text("&#0;x"), "?x") << "a zero never cuts the text";
}

TEST(HtmlText, OddAndHostilePagesReadWithoutHarm) {
    EXPECT_EQ(Text(""), "");
    EXPECT_EQ(Text("<"), "");
    EXPECT_EQ(Text("<p"), "");
    EXPECT_EQ(Text("a>b"), "a>b");
    EXPECT_EQ(Text(std::string("a\0b", 3)), "a b") << "a zero byte is a blank";
    EXPECT_EQ(OrvHtmlText::FromHtml(nullptr, 10).GetLength(), 0);
    // Longer than the limit: only the limit is read.
    const std::string huge(OrvHtmlText::kMaxPageLength + 5000, 'x');
    EXPECT_EQ(static_cast<size_t>(OrvHtmlText::FromHtml(huge.data(), huge.size()).GetLength()),
              OrvHtmlText::kMaxPageLength);
    std::string nested;
    for (int i = 0; i < 20000; ++i) nested += "<div>";
    nested += "end";
    EXPECT_EQ(Text(nested), "end");
}

TEST(HtmlText, AMissingFileIsNoText) {
    CString text = "kept";
    EXPECT_FALSE(OrvHtmlText::FromFile("Z:\\no\\such\\_hinfo.html", &text));
    EXPECT_STREQ(text, "kept");
    EXPECT_FALSE(OrvHtmlText::FromFile(nullptr, &text));
}

}  // namespace
