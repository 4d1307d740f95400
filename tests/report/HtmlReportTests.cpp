// The web page as text: header, table, marks and escaping, without a browser.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include <QDate>

#include "HtmlReport.h"
#include "ReportFixture.h"
#include "UCompare.h"

using namespace std::string_literals;

namespace vellora::test {
namespace {

const std::u16string kText1 =
    u"The quick brown fox jumps over the lazy dog. Alpha beta gamma delta epsilon.\n\n"
    u"Something entirely different here now. Zeta eta theta iota kappa lambda.";
const std::u16string kText2 =
    u"Zeta eta theta iota kappa lambda. New words appear. The quick brown fox jumps over the "
    u"lazy dog.\nMore unrelated content follows.";

ComparisonSettings Anywhere(int minimum, int gap = 0) {
  return {MatchMode::Anywhere, minimum, 0, gap};
}

std::size_t Count(const std::string& haystack, const std::string& needle) {
  std::size_t n = 0;
  for (auto at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + 1)) {
    ++n;
  }
  return n;
}

TEST(HtmlReport, HeaderNamesBrandVersionSourcesSettingsCountsAndBothShares) {
  ComparisonReport report = MakeReport(kText1, kText2, Anywhere(3), u"Brief A.txt", u"Brief B.txt");
  report.Brand = "Acme Checker";
  const std::string page = RenderHtmlReport(report);
  ASSERT_FALSE(report.Outcome.Blocks.empty());
  EXPECT_NE(page.find("<h1>Acme Checker 2.0"), std::string::npos);
  EXPECT_NE(page.find("2026-12-09 21:45"), std::string::npos);
  EXPECT_NE(page.find("Brief A.txt"), std::string::npos);
  EXPECT_NE(page.find("Brief B.txt"), std::string::npos);
  EXPECT_NE(page.find("<dd>Anywhere</dd>"), std::string::npos);
  EXPECT_NE(page.find("<dd>3 words</dd>"), std::string::npos);
  EXPECT_NE(page.find("<dd>0 words</dd>"), std::string::npos);  // the gap
  EXPECT_EQ(report.Article1.Words.Count(), 25);
  EXPECT_NE(
      page.find("<dd>25 words, " + std::to_string(report.Article1.Sentences) + " sentences, " +
                std::to_string(report.Article1.Paragraphs) + " paragraphs</dd>"),
      std::string::npos);
  EXPECT_NE(page.find(ShareText(report.Outcome.Share)), std::string::npos);
  EXPECT_NE(page.find(ShareText(report.Outcome.Share1)), std::string::npos);
  EXPECT_NE(page.find("<dt>Blocks</dt><dd>" + std::to_string(report.Outcome.Blocks.size())),
            std::string::npos);
  EXPECT_EQ(page.find("Keyword"), std::string::npos);  // not calculated
}

TEST(HtmlReport, ShareShowsWholeNumberAndTwoDecimals) {
  DuplicateShare share = ComputeDuplicateShare(1, 3);
  EXPECT_EQ(ShareText(share), "33 % (33.33 %)");
  share = ComputeDuplicateShare(2, 3);
  EXPECT_EQ(ShareText(share), "67 % (66.67 %)");
}

TEST(HtmlReport, KeywordDensityAppearsWhenCalculated) {
  ComparisonReport report = MakeReport(kText1, kText2, Anywhere(3));
  report.Keyword = ReportKeyword{u"quick <brown>", {1, 4.5}, {2, 7.126}};
  const std::string page = RenderHtmlReport(report);
  EXPECT_NE(page.find("quick &lt;brown&gt;"), std::string::npos);
  EXPECT_NE(page.find("1 occurrences, density 4.50 %"), std::string::npos);
  EXPECT_NE(page.find("2 occurrences, density 7.13 %"), std::string::npos);
}

TEST(HtmlReport, EveryBlockHasOneIdPerSideAndLinksToItsPartner) {
  const ComparisonReport report = MakeReport(kText1, kText2, Anywhere(3));
  const std::string page = RenderHtmlReport(report);
  ASSERT_EQ(report.Outcome.Blocks.size(), 2u);
  for (std::size_t b = 1; b <= report.Outcome.Blocks.size(); ++b) {
    const std::string n = std::to_string(b);
    EXPECT_EQ(Count(page, "id=\"a1-b" + n + "\""), 1u) << n;
    EXPECT_EQ(Count(page, "id=\"a2-b" + n + "\""), 1u) << n;
    // One link from the partner's mark and one from the table, for each side.
    EXPECT_EQ(Count(page, "href=\"#a1-b" + n + "\""), 2u) << n;
    EXPECT_EQ(Count(page, "href=\"#a2-b" + n + "\""), 2u) << n;
  }
}

TEST(HtmlReport, MarkedRunsCoverExactlyTheColouredWords) {
  const ComparisonReport report = MakeReport(kText1, kText2, Anywhere(3));
  const std::string page = RenderHtmlReport(report);
  EXPECT_NE(page.find("<a href=\"#a2-b2\">The quick brown fox jumps over the lazy dog</a></mark>"),
            std::string::npos);
  EXPECT_NE(page.find("<a href=\"#a1-b1\">Zeta eta theta iota kappa lambda</a></mark>"),
            std::string::npos);
  EXPECT_NE(page.find("background:" + CssColor(report.Outcome.Blocks[0].Color)), std::string::npos);
  EXPECT_NE(page.find("background:" + CssColor(report.Outcome.Blocks[1].Color)), std::string::npos);
}

TEST(HtmlReport, RunsPieceTogetherTheWholeText) {
  const ComparisonReport report = MakeReport(kText1, kText2, Anywhere(2));
  for (const ReportArticle* article : {&report.Article1, &report.Article2}) {
    const int side = article == &report.Article1 ? 1 : 2;
    const std::vector<ReportRun> runs = SplitIntoRuns(*article, report.Outcome.Blocks, side);
    std::int32_t at = 0;
    for (const ReportRun& run : runs) {
      EXPECT_EQ(run.Begin, at);
      EXPECT_LT(run.Begin, run.End);
      at = run.End;
    }
    EXPECT_EQ(at, static_cast<std::int32_t>(article->Text.size()));
  }
}

TEST(HtmlReport, BlockWithAGapKeepsOneIdAndLeavesTheGapUnmarked) {
  const std::u16string a = u"one two three four five six seven eight nine ten";
  const std::u16string b = u"one two three four XX six seven eight nine ten";
  const ComparisonReport report = MakeReport(a, b, Anywhere(3, 1));
  ASSERT_EQ(report.Outcome.Blocks.size(), 1u);
  const std::string page = RenderHtmlReport(report);
  EXPECT_EQ(Count(page, "id=\"a2-b1\""), 1u);
  EXPECT_EQ(Count(page, "id=\"a1-b1\""), 1u);
  // Two runs on each side, around the unmarked word of the gap.
  EXPECT_EQ(Count(page, "class=\"b1\""), 4u);
  EXPECT_NE(page.find("</a></mark> five <mark class=\"b1\""), std::string::npos);
  EXPECT_NE(page.find("</a></mark> XX <mark class=\"b1\""), std::string::npos);
}

TEST(HtmlReport, EmptyComparisonSaysNoSharedPassagesAndMarksNothing) {
  const ComparisonReport report =
      MakeReport(u"alpha beta gamma", u"delta epsilon zeta", Anywhere(2));
  ASSERT_TRUE(report.Outcome.Compared);
  ASSERT_TRUE(report.Outcome.Blocks.empty());
  const std::string page = RenderHtmlReport(report);
  EXPECT_NE(page.find("No shared passages."), std::string::npos);
  EXPECT_EQ(page.find("<mark"), std::string::npos);
  EXPECT_EQ(page.find("<table"), std::string::npos);
  EXPECT_NE(page.find("0 % (0.00 %)"), std::string::npos);
  EXPECT_NE(page.find("alpha beta gamma"), std::string::npos);
}

TEST(HtmlReport, BlankArticleIsReportedAsNotCompared) {
  const ComparisonReport report = MakeReport(u"  \n ", u"delta epsilon", Anywhere(2));
  ASSERT_FALSE(report.Outcome.Compared);
  const std::string page = RenderHtmlReport(report);
  EXPECT_NE(page.find("not compared: an article is blank"), std::string::npos);
}

TEST(HtmlReport, PageIsSelfContained) {
  const std::string page = RenderHtmlReport(MakeReport(kText1, kText2, Anywhere(3)));
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  for (const char* external : {"<script", "<link", "<img", "src=", "url(", "@import", "http"}) {
    EXPECT_EQ(page.find(external), std::string::npos) << external;
  }
  EXPECT_NE(page.find("@media print"), std::string::npos);
  EXPECT_NE(page.find("print-color-adjust:exact"), std::string::npos);
}

struct EscapeCase {
  std::u16string Text;
  std::string Html;
};

TEST(HtmlReport, EscapesEveryCharacterThatCouldBeMarkup) {
  const EscapeCase cases[] = {
      {u"a & b", "a &amp; b"},
      {u"<script>x</script>", "&lt;script&gt;x&lt;/script&gt;"},
      {u"\"q\" 'r'", "&quot;q&quot; &#39;r&#39;"},
      {u"</body></html>", "&lt;/body&gt;&lt;/html&gt;"},
      {u"&amp;", "&amp;amp;"},
      {u"line\nnext\ttab", "line\nnext\ttab"},
      {u"bell\x07", "bell&#x7;"},
      {u"nul\x00x"s, "nul\xEF\xBF\xBDx"},
      {u"c1\x85", "c1&#x85;"},
      {u"Gr\u00FC\u00DFe \u20AC",
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE2\x82\xAC"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},
      {u"x" + std::u16string(1, char16_t(0xDC00)), "x\xEF\xBF\xBD"},
  };
  for (const EscapeCase& c : cases) {
    std::string out;
    AppendEscapedHtml(out, c.Text);
    EXPECT_EQ(out, c.Html);
  }
}

TEST(HtmlReport, ArticleMarkupAndSourceNamesAreEscaped) {
  const std::u16string hostile = u"<script>alert(1)</script> & \"x\" </body> tail words here";
  const ComparisonReport report =
      MakeReport(hostile, hostile, Anywhere(2), u"<b>evil</b>.txt", u"a&b.txt");
  const std::string page = RenderHtmlReport(report);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_EQ(page.find("<b>evil"), std::string::npos);
  EXPECT_EQ(Count(page, "</body>"), 1u);
  EXPECT_NE(page.find("&lt;b&gt;evil&lt;/b&gt;.txt"), std::string::npos);
  EXPECT_NE(page.find("a&amp;b.txt"), std::string::npos);
}

TEST(HtmlReport, MadeReportIsStampedWithTheTimeNow) {
  ArticleSpans spans1;
  ArticleSpans spans2;
  const CompareOutcome outcome = CompareArticles(u"a b c", spans1, u"a b c", spans2, {});
  const ComparisonReport report =
      MakeComparisonReport(u"Article 1", u"a b c", spans1, u"Article 2", u"a b c", spans2, outcome);
  EXPECT_EQ(report.DateTime.substr(0, 10),
            QDate::currentDate().toString(Qt::ISODate).toStdString());
  EXPECT_EQ(report.Article1.Words.Count(), 3);
  EXPECT_EQ(report.Article2.Source, u"Article 2");
  EXPECT_EQ(report.Outcome.Blocks.size(), outcome.Blocks.size());
}

TEST(HtmlReport, BrandNameFallsBackToVellora) {
  EXPECT_EQ(ReportBrandName(""), "Vellora");
  EXPECT_EQ(ReportBrandName("Acme"), "Acme");
  EXPECT_EQ(ComparisonReport().Brand, "Vellora");
}

TEST(HtmlReport, CssColourReadsTheWordListByteOrder) {
  EXPECT_EQ(CssColor(0xFFFF00), "#00FFFF");  // aqua
  EXPECT_EQ(CssColor(0x0000FF), "#FF0000");  // red
  EXPECT_EQ(CssColor(0x008080), "#808000");  // olive
}

}  // namespace
}  // namespace vellora::test
