// What a report shows about one comparison: who made it and when, the two sources, the settings,
// the counts, both shares, the blocks and the two coloured texts. Filled by the window or the
// command line, read by the web page and PDF writers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UMatchBlocks.h"
#include "UWords.h"

namespace vellora {

inline constexpr char kDefaultReportBrand[] = "Vellora";

// Keyword density of one article, when it was calculated.
struct ReportKeywordCount {
  std::int32_t Count = 0;
  double Density = 0.0;
};

struct ReportKeyword {
  std::u16string Phrase;
  ReportKeywordCount Article1;
  ReportKeywordCount Article2;
};

// One side of the comparison: the normalised text with its word list (colours as the pane shows
// them; positions 1-based UTF-16) and its counts.
struct ReportArticle {
  std::u16string Source;  // file name, or "Article 1" / "Article 2" for typed text
  std::u16string Text;
  TListWords Words;
  std::int32_t Sentences = 0;
  std::int32_t Paragraphs = 0;
};

struct ComparisonReport {
  std::string Brand = kDefaultReportBrand;  // the brand's ApplicationName, UTF-8
  std::string Version;
  std::string DateTime;  // when the comparison ran, as shown
  ReportArticle Article1;
  ReportArticle Article2;
  CompareOutcome Outcome;  // settings, blocks and both shares
  std::optional<ReportKeyword> Keyword;
};

// The brand name a report shows: ApplicationName, or "Vellora" when the brand gives none.
std::string ReportBrandName(const std::string& applicationName);

// A report of a comparison as Compare left it: the texts, their lists (colours included) and
// what CompareArticles returned, stamped with the time now. The caller sets Brand and Version.
ComparisonReport MakeComparisonReport(std::u16string source1, std::u16string_view text1,
                                      const ArticleSpans& spans1, std::u16string source2,
                                      std::u16string_view text2, const ArticleSpans& spans2,
                                      const CompareOutcome& outcome);
// "2026-12-09 21:45 CET": local time with its zone, as the header shows it.
std::string ReportTimeNow();

// --- Shared by the writers -----------------------------------------------------------------

// "#RRGGBB" for a 0x00BBGGRR colour.
std::string CssColor(std::int32_t color);
// "In order" / "Anywhere"; "8 words", "1 sentence"; the share "27 % (26.54 %)".
std::string MatchModeText(MatchMode mode);
std::string MinimumText(const ComparisonSettings& settings);
std::string GapText(const ComparisonSettings& settings);
std::string ShareText(const DuplicateShare& share);
// The header's facts in order (when, sources, settings, counts, shares, blocks, keyword), as
// plain UTF-8 text for the writers to escape.
struct ReportFact {
  std::string Term;
  std::string Value;
};
std::vector<ReportFact> HeaderFacts(const ComparisonReport& report);
// The block owning each word of one side (-1 for none); in Article 1 the later block wins where
// blocks overlap, as the colours do.
std::vector<std::int32_t> BlockOwners(const std::vector<MatchBlock>& blocks, int side,
                                      std::int32_t wordCount);
// The first few words of a block in Article 2 (or Article 1 when Article 2 has none), with "…"
// when the block is longer.
std::u16string BlockOpening(const ComparisonReport& report, const MatchBlock& block,
                            int maxWords = 8);

// A run of one article's text: either plain or marked by one block with one colour.
struct ReportRun {
  std::int32_t Begin = 0;  // 0-based UTF-16 offsets into the text, End exclusive
  std::int32_t End = 0;
  std::int32_t Block = -1;  // -1: not marked
  std::int32_t Color = NoHighlight;
  bool FirstOfBlock = false;  // the block's first run on this side (carries its id)
};
// The text cut into runs: consecutive words of the same block and colour, with the spaces
// between them, form one marked run; everything else is plain.
std::vector<ReportRun> SplitIntoRuns(const ReportArticle& article,
                                     const std::vector<MatchBlock>& blocks, int side);

}  // namespace vellora
