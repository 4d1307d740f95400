// Web pages as articles: the readable text of pages of our own making, their character sets, the
// routes that lead to the page reader, and pages refused for their size or nesting.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DocumentImport.h"
#include "ImportLimits.h"
#include "ImportTestFiles.h"
#include "PageCharset.h"
#include "PageNesting.h"
#include "UPlainText.h"
#include "WebPage.h"

namespace vellora {
namespace {

using test::ReadBytes;
using test::SamplePath;

std::filesystem::path PagePath(const std::string& name) {
  return SamplePath("../pages/" + name).lexically_normal();
}

std::string Utf8Of(const ReadOutcome<std::u16string>& outcome) {
  EXPECT_TRUE(outcome.Ok()) << outcome.Cause;
  return ToUtf8(outcome.Value);
}

std::string ReadPage(std::string_view html, std::string_view httpCharset = {}) {
  return Utf8Of(ReadWebPage(html, httpCharset));
}

TEST(WebPageText, SavedNewsPageGivesOnlyItsMainContentLineByLine) {
  const std::string text = Utf8Of(ReadWebPage(ReadBytes(PagePath("news-article.html"))));
  EXPECT_EQ(text,
            "Growing Tomatoes & Herbs\n"
            "Every gardener knows that tomatoes need sun. They also need water.\n"
            "Caf\u00e9 owners grow basil <indoors> \u2014 \u263a it works.\n"
            "A second line.\n"
            "A div with text.\n"
            "Nested div text.\n"
            "First item\n"
            "Second item\n"
            "Plant Water\n"
            "Tomato Daily\n"
            "Basil Weekly");
}

TEST(WebPageText, MenusScriptsBannersCommentsAndTemplatesStayOut) {
  const std::string text = Utf8Of(ReadWebPage(ReadBytes(PagePath("news-article.html"))));
  for (const char* absent :
       {"Subscribe", "Home", "Contact", "tracker", "font-family", "comment", "Template text",
        "cookies", "Accept", "Copyright", "Privacy", "Hidden paragraph", "Screen readers",
        "JavaScript", "email", "Sign up", "late script", "changed", "\t"}) {
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
  }
}

TEST(WebPageText, WordSplitByInlineTagsStaysOneWord) {
  EXPECT_EQ(ReadPage("<p>gar<em>den</em>er <a href=x>wo</a><span>rk</span></p>"), "gardener work");
}

struct PageCase {
  const char* name;
  const char* html;
  const char* text;
};

void PrintTo(const PageCase& c, std::ostream* os) {
  *os << c.name;
}

class ReadablePages : public ::testing::TestWithParam<PageCase> {};

TEST_P(ReadablePages, GiveTheTextAReaderSees) {
  EXPECT_EQ(ReadPage(GetParam().html), GetParam().text) << GetParam().html;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadablePages,
    ::testing::Values(
        PageCase{"HeadingsAndParagraphsStartLines", "<h1>Head</h1><p>One</p><p>Two</p>",
                 "Head\nOne\nTwo"},
        PageCase{"BreakStartsALine", "<p>one<br>two<br/><br>three</p>", "one\ntwo\nthree"},
        PageCase{"SpacesAndLineBreaksCollapse", "<p>  a \n\n b\t\tc  </p>", "a b c"},
        PageCase{"NonBreakingSpaceSeparatesWords", "<p>a&nbsp;&nbsp;b</p>", "a b"},
        PageCase{"TableCellsJoinedBySpaceRowsByLines",
                 "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>",
                 "a b\nc d"},
        PageCase{"EmptyCellsAddNoSpaces", "<table><tr><td></td><td>x</td><td></td></tr></table>",
                 "x"},
        PageCase{"EntitiesDecoded",
                 "<p>&lt;a&gt; &amp; &quot;b&quot; &eacute; &#233; &#xE9; &copy</p>",
                 "<a> & \"b\" \u00e9 \u00e9 \u00e9 \u00a9"},
        PageCase{"PreKeepsItsLines", "<pre>line one\n  line two\n\nline\tthree</pre>",
                 "line one\nline two\nline three"},
        PageCase{"MainWinsOverTheRest", "<div>menu</div><main><p>content</p></main><div>x</div>",
                 "content"},
        PageCase{"HiddenMainIsPassedOver", "<main hidden>gone</main><p>kept</p>", "kept"},
        PageCase{"InlineStyleDisplayNoneIsHidden",
                 "<p>shown</p><div style=\"display: none\">gone</div>", "shown"},
        PageCase{"ClosedDialogIsHidden", "<dialog>gone</dialog><dialog open>shown</dialog>",
                 "shown"},
        PageCase{"SvgLabelsStayOut", "<p>a</p><svg><text>label</text></svg><p>b</p>", "a\nb"},
        PageCase{"TitleFirstWhenContentDoesNotBeginWithIt",
                 "<title>My  Page</title><h1>Other heading</h1>", "My Page\nOther heading"},
        PageCase{"TitleNotRepeatedWhenContentBeginsWithIt",
                 "<title>My Page</title><h1>My Page</h1><p>x</p>", "My Page\nx"},
        PageCase{"TitleAloneWhenNoContent", "<title>Only title</title>", "Only title"},
        PageCase{"EmptyPageGivesNoText", "", ""},
        PageCase{"TextOnlyPage", "just words", "just words"},
        // Control characters become replacement characters, as the parser's rules say.
        PageCase{"BinaryNoiseGivesSomeTextWithoutFailing", "\x01\x02<\x03>\xff\xfe<p",
                 "\ufffd\ufffd<\ufffd>\u00ff\u00fe"}));

TEST(WebPageText, MisnestedAndUnclosedTagsReadAsABrowserBuildsThem) {
  EXPECT_EQ(Utf8Of(ReadWebPage(ReadBytes(PagePath("misnested.html")))),
            "Broken markup\n"
            "One bold both italic plain\n"
            "Two paragraphs without end tags\n"
            "alpha\nbeta\ngamma\n"
            "cell one cell two\ncell three\n"
            "Unclosed div and span\n"
            "Inside after a stray end tag");
}

TEST(WebPageText, OnlyArticleIsTakenButTwoArticlesKeepTheBody) {
  EXPECT_EQ(Utf8Of(ReadWebPage(ReadBytes(PagePath("one-article.html")))),
            "Single post\nThe only post\nIts body.");
  EXPECT_EQ(Utf8Of(ReadWebPage(ReadBytes(PagePath("two-articles.html")))),
            "Blog\nSite banner text\nFirst post\nFirst body.\nSecond post\nSecond body.");
}

// ---- Character sets ------------------------------------------------------------------------

TEST(WebPageCharset, MetaWindows1252PageDecodesItsBytes) {
  EXPECT_EQ(Utf8Of(ReadWebPage(ReadBytes(PagePath("windows-1252.html")))),
            "Price list\nThe price is 5 \u20ac, caf\u00e9 cr\u00e8me \u201cquoted\u201d.");
}

struct CharsetCase {
  const char* name;
  std::string bytes;
  const char* httpCharset;
  const char* charset;  // what DecodePageBytes settles on
  const char* text;     // the page's readable text
};

void PrintTo(const CharsetCase& c, std::ostream* os) {
  *os << c.name;
}

class CharsetOrder : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetOrder, BomThenHttpThenMetaThenUtf8ThenWindows1252) {
  const CharsetCase& c = GetParam();
  EXPECT_EQ(DecodePageBytes(c.bytes, c.httpCharset).Charset, c.charset);
  EXPECT_EQ(ReadPage(c.bytes, c.httpCharset), c.text);
}

const std::string kLatin1Meta = "<meta charset=\"iso-8859-1\"><p>\x80\xe9</p>";

INSTANTIATE_TEST_SUITE_P(
    Cases, CharsetOrder,
    ::testing::Values(
        CharsetCase{"Utf8BomBeatsHttpAndMeta", "\xEF\xBB\xBF<meta charset=windows-1252><p>\xC3\xA9",
                    "iso-8859-2", "UTF-8", "\u00e9"},
        CharsetCase{"Utf16LeBom", std::string("\xFF\xFE<\0p\0>\0\xE9\0", 10), "", "UTF-16LE",
                    "\u00e9"},
        CharsetCase{"Utf16BeBom", std::string("\xFE\xFF\0<\0p\0>\0\xE9", 10), "", "UTF-16BE",
                    "\u00e9"},
        CharsetCase{"HttpCharsetBeatsMeta", "<meta charset=utf-8><p>\xE9", "windows-1252",
                    "windows-1252", "\u00e9"},
        CharsetCase{"HttpCharsetOtherCodePage", "<p>\xB1", "iso-8859-2", "iso-8859-2", "\u0105"},
        CharsetCase{"UnknownHttpCharsetFallsThroughToMeta", "<meta charset=windows-1251><p>\xC0",
                    "no-such-charset", "windows-1251", "\u0410"},
        CharsetCase{"MetaCharset", "<meta charset='windows-1251'><p>\xC0", "", "windows-1251",
                    "\u0410"},
        CharsetCase{"MetaHttpEquiv",
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                    "<p>\xC0",
                    "", "windows-1251", "\u0410"},
        CharsetCase{"Latin1LabelMeansWindows1252", kLatin1Meta, "", "windows-1252", "\u20ac\u00e9"},
        CharsetCase{"MetaUtf16MeansUtf8", "<meta charset=utf-16><p>\xC3\xA9", "", "UTF-8",
                    "\u00e9"},
        CharsetCase{"MetaInsideCommentIgnored", "<!-- <meta charset=windows-1251> --><p>\xC3\xA9",
                    "", "UTF-8", "\u00e9"},
        CharsetCase{"ValidUtf8WithoutDeclaration", "<p>\xC3\xA9\xE2\x82\xAC", "", "UTF-8",
                    "\u00e9\u20ac"},
        CharsetCase{"InvalidUtf8IsWindows1252", "<p>\xE9\x80", "", "windows-1252",
                    "\u00e9\u20ac"}));

TEST(WebPageCharset, ContentTypeCharsetParameter) {
  EXPECT_EQ(CharsetFromContentType("text/html; charset=UTF-8"), "utf-8");
  EXPECT_EQ(CharsetFromContentType("text/html;charset=\"ISO-8859-2\""), "iso-8859-2");
  EXPECT_EQ(CharsetFromContentType("text/html"), "");
  EXPECT_EQ(CharsetFromContentType("text/html; charset="), "");
}

TEST(WebPageCharset, MetaBeyondTheFirst1024BytesIsNotSeen) {
  const std::string page = "<!--" + std::string(1100, 'x') + "--><meta charset=windows-1251>";
  EXPECT_EQ(FindMetaCharset(page), "");
  EXPECT_EQ(FindMetaCharset("<html><head><meta charset=KOI8-R>"), "koi8-r");
}

// ---- Routes ----------------------------------------------------------------------------------

TEST(WebPageRoutes, PageExtensionsReadAsPagesOnBothRoutes) {
  test::TempFolder folder;
  const std::string page = "<html><body><nav>menu</nav><p>Article text</p></body></html>";
  for (const char* name : {"a.html", "b.HTM", "c.xhtml", "my.docs/d.html", "e.doc.htm"}) {
    const auto path = folder.Write(name, page);
    const ImportResult result = ImportDocument(path);
    ASSERT_TRUE(result.Ok) << name << ": " << result.Error;
    EXPECT_EQ(ToUtf8(result.Document.Text), "Article text") << name;
  }
  EXPECT_EQ(RouteForPath(folder / "my.docs/d.html"), ImportRoute::Word);
}

TEST(WebPageRoutes, ContentThatStartsLikeAPageIsSniffedOnThePlainRoute) {
  test::TempFolder folder;
  const auto saved = folder.Write("saved.txt",
                                  "\xEF\xBB\xBF<!-- saved from url=(0014)about:internet -->\n"
                                  "<!DOCTYPE html><p>Sniffed <b>page</b></p>");
  ImportResult result = ImportDocument(saved);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "Sniffed page");

  const auto html = folder.Write("page.php", "  <HTML lang=en><p>x &amp; y");
  result = ImportDocument(html);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "x & y");

  // Markup that does not open the file leaves a text file as it is.
  const std::string notes = "Notes about <html> tags &amp; entities\n<p>kept</p>";
  result = ImportDocument(folder.Write("notes.txt", notes));
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), notes);
  result = ImportDocument(folder.Write("htmlish.txt", "<htmlx> not a page"));
  EXPECT_EQ(ToUtf8(result.Document.Text), "<htmlx> not a page");
}

struct SniffCase {
  std::string bytes;
  bool page;
};

class PageSniffing : public ::testing::TestWithParam<SniffCase> {};

TEST_P(PageSniffing, RecognisesTheOpeningOfAPage) {
  EXPECT_EQ(LooksLikeWebPage(GetParam().bytes), GetParam().page) << GetParam().bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageSniffing,
    ::testing::Values(SniffCase{"<!DOCTYPE html>", true}, SniffCase{"<!doctype  HTML PUBLIC", true},
                      SniffCase{"\n\t<html>", true}, SniffCase{"<html", true},
                      SniffCase{std::string("\xFF\xFE<\0h\0t\0m\0l\0>\0", 14), true},
                      SniffCase{"<!-- c --><html lang=x>", true}, SniffCase{"<!-- open", false},
                      SniffCase{"<!DOCTYPE htmlx>", false}, SniffCase{"<head>", false},
                      SniffCase{"text <html>", false}, SniffCase{"", false},
                      SniffCase{"{\\rtf1 <html>", false}, SniffCase{"<!DOCTYPE>", false}));

// ---- Refusals --------------------------------------------------------------------------------

TEST(WebPageLimits, PageOverTheSizeCapIsRefusedNamingTheCap) {
  test::TempFolder folder;
  std::string huge = "<!DOCTYPE html><p>";
  huge.append(kMaxPageBytes, 'a');
  const auto outcome = ReadWebPage(huge);
  ASSERT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("32 MiB"), std::string::npos) << outcome.Cause;

  const auto path = folder.Write("huge.html", huge);
  const ImportResult result = ImportDocument(path);
  ASSERT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find(path.string()), std::string::npos) << result.Error;
  EXPECT_NE(result.Error.find("32 MiB"), std::string::npos) << result.Error;
  // Sniffed on the plain route, the same page is read whole and then refused by the page reader.
  const ImportResult sniffed = ImportDocument(folder.Write("huge.txt", huge));
  ASSERT_FALSE(sniffed.Ok);
  EXPECT_NE(sniffed.Error.find("32 MiB"), std::string::npos) << sniffed.Error;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  out.reserve(piece.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) out.append(piece);
  return out;
}

TEST(WebPageLimits, PageWithTooManyElementsIsRefusedBeforeParsing) {
  // 4 MB of "<p>x" would make the parser build a tree of about 300 MB.
  const auto outcome = ReadWebPage(Repeat("<p>x", 1'000'001));
  ASSERT_FALSE(outcome.Ok());
  EXPECT_EQ(outcome.Cause, "the page has more than 1000000 elements");
  EXPECT_EQ(MeasurePage(Repeat("<br>", 1000), 1000, 5000).StartTags, 1000u);
  EXPECT_TRUE(ReadWebPage(Repeat("<p>x", 20'000)).Ok());
}

TEST(WebPageLimits, DeepNestingIsRefusedBeforeParsing) {
  for (const char* piece : {"<div>", "<span>", "<b>", "<table><tr><td>", "<div/>", "<ul><li>"}) {
    const std::string page = "<!DOCTYPE html><body>" + Repeat(piece, 100000);
    const auto outcome = ReadWebPage(page);
    ASSERT_FALSE(outcome.Ok()) << piece;
    EXPECT_NE(outcome.Cause.find("nested more than 1000 deep"), std::string::npos) << outcome.Cause;
  }
  test::TempFolder folder;
  const auto path = folder.Write("deep.html", Repeat("<div>", 200000));
  const ImportResult result = ImportDocument(path);
  ASSERT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find(path.string()), std::string::npos) << result.Error;
}

TEST(WebPageLimits, FormattingElementsReopenedByTheParserCountAsNesting) {
  // Each <b> left open inside a closed div is opened again inside every later div: the parser's
  // tree grows with the square of the count, so the page is refused although its tags nest 2 deep.
  std::string page = "<body>";
  for (int i = 0; i < 3000; ++i) page += "<div><b id=" + std::to_string(i) + "></div>";
  EXPECT_GT(EstimatePageNesting(page, kMaxNestingDepth), kMaxNestingDepth);
  EXPECT_FALSE(ReadWebPage(page).Ok());
  // Identical ones are kept at most three times, as the parser does.
  EXPECT_LT(EstimatePageNesting(Repeat("<p><font size=2>text", 5000), kMaxNestingDepth), 10u);
}

struct NestingCase {
  const char* name;
  std::string html;
  std::size_t atMost;
};

void PrintTo(const NestingCase& c, std::ostream* os) {
  *os << c.name;
}

class OrdinaryPagesNestShallow : public ::testing::TestWithParam<NestingCase> {};

TEST_P(OrdinaryPagesNestShallow, EstimateStaysNearTheRealDepth) {
  EXPECT_LE(EstimatePageNesting(GetParam().html, kMaxNestingDepth), GetParam().atMost);
  EXPECT_TRUE(ReadWebPage(GetParam().html).Ok());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrdinaryPagesNestShallow,
    ::testing::Values(
        NestingCase{"UnclosedParagraphs", Repeat("<p>text", 5000), 6},
        NestingCase{"UnclosedListItems", "<ul>" + Repeat("<li>item", 5000), 7},
        NestingCase{"UnclosedDefinitions", "<dl>" + Repeat("<dt>a<dd>b", 5000), 7},
        NestingCase{"UnclosedCellsAndRows", "<table>" + Repeat("<tr><td>a<td>b", 5000), 9},
        NestingCase{"UnclosedOptions", "<select>" + Repeat("<option>a", 5000), 7},
        NestingCase{"SelfClosedSvgShapes", "<svg>" + Repeat("<path d='M0'/>", 5000) + "</svg>", 6},
        NestingCase{"ScriptHoldingTags", "<script>" + Repeat("<div>", 5000) + "</script>", 5},
        NestingCase{"CommentHoldingTags", "<!--" + Repeat("<div>", 5000) + "-->", 4},
        NestingCase{"VoidElements", Repeat("<br><img src=x><input>", 5000), 4},
        NestingCase{"ClosedDivs", Repeat("<div><span>x</span></div>", 5000), 6},
        NestingCase{"QuotedGreaterThan", Repeat("<div title='>'></div>", 5000), 5},
        NestingCase{"Deep900", Repeat("<div>", 900), 904}));

TEST(WebPageLimits, TagsInsideSvgTitleCountAsNesting) {
  // In svg a <title> holds markup, so tags inside it are elements.
  EXPECT_GT(EstimatePageNesting("<svg><title>" + Repeat("<g>", 2000), kMaxNestingDepth),
            kMaxNestingDepth);
  // A script's "</script>" inside "<!--<script>" does not end it; the tags after it are text.
  EXPECT_LE(
      EstimatePageNesting("<script><!--<script></script>" + Repeat("<div>", 2000) + "--></script>",
                          kMaxNestingDepth),
      5u);
}

// ---- Cross-check with a real browser -----------------------------------------------------------

// The DOM chromium builds for a page, serialised; empty when chromium cannot run here.
std::string ChromiumDom(const std::filesystem::path& page) {
  const std::string command = "chromium --headless --no-sandbox --disable-gpu --dump-dom 'file://" +
                              page.string() + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string dom;
  char buffer[4096];
  while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) dom.append(buffer, got);
  pclose(pipe);
  return dom;
}

TEST(WebPageBrowserCheck, OurReadingMatchesTheTreeChromiumBuilds) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "chromium is not installed: the browser check is skipped";
  test::TempFolder folder;
  for (const char* name : {"misnested.html", "one-article.html", "windows-1252.html"}) {
    // A script-free copy, so that the browser's tree is the parser's tree.
    const auto copy = folder.Write(name, ReadBytes(PagePath(name)));
    const std::string dom = ChromiumDom(copy);
    if (dom.empty()) GTEST_SKIP() << "chromium did not run: the browser check is skipped";
    // The dumped DOM is serialised as UTF-8 whatever the page's own charset was.
    EXPECT_EQ(ReadPage(dom, "utf-8"), Utf8Of(ReadWebPage(ReadBytes(copy)))) << name;
  }
}

}  // namespace
}  // namespace vellora
