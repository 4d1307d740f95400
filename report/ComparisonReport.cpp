#include "ComparisonReport.h"

#include <algorithm>
#include <cstdio>

#include <QDateTime>
#include <QLocale>

#include "UPlainText.h"

namespace vellora {

std::string ReportBrandName(const std::string& applicationName) {
  return applicationName.empty() ? std::string(kDefaultReportBrand) : applicationName;
}

ComparisonReport MakeComparisonReport(std::u16string source1, std::u16string_view text1,
                                      const ArticleSpans& spans1, std::u16string source2,
                                      std::u16string_view text2, const ArticleSpans& spans2,
                                      const CompareOutcome& outcome) {
  ComparisonReport report;
  report.DateTime = ReportTimeNow();
  report.Article1 = {std::move(source1), std::u16string(text1), spans1.Words,
                     spans1.Sentences.Count(), spans1.Paragraphs.Count()};
  report.Article2 = {std::move(source2), std::u16string(text2), spans2.Words,
                     spans2.Sentences.Count(), spans2.Paragraphs.Count()};
  report.Outcome = outcome;
  return report;
}

std::string ReportTimeNow() {
  return QLocale::c()
      .toString(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd HH:mm t"))
      .toStdString();
}

std::string CssColor(std::int32_t color) {
  char buffer[8];
  const auto c = static_cast<std::uint32_t>(color);
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", c & 0xFFu, (c >> 8) & 0xFFu,
                (c >> 16) & 0xFFu);
  return buffer;
}

std::string MatchModeText(MatchMode mode) {
  return mode == MatchMode::Anywhere ? "Anywhere" : "In order";
}

namespace {

std::string UnitName(std::int32_t unit, std::int32_t count) {
  const char* name = unit == 1 ? "sentence" : unit == 2 ? "paragraph" : "word";
  return std::string(name) + (count == 1 ? "" : "s");
}

}  // namespace

std::string MinimumText(const ComparisonSettings& settings) {
  const std::int32_t n = std::max<std::int32_t>(settings.MinLength, 0);
  return std::to_string(n) + " " + UnitName(settings.UnitType, n);
}

std::string GapText(const ComparisonSettings& settings) {
  if (settings.Mode != MatchMode::Anywhere) return "none (In order)";
  const std::int32_t n = std::max<std::int32_t>(settings.Gap, 0);
  return std::to_string(n) + " " + UnitName(settings.UnitType, n);
}

std::string ShareText(const DuplicateShare& share) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%lld %% (%.2f %%)", static_cast<long long>(share.Shown),
                share.Percent);
  return buffer;
}

std::vector<ReportFact> HeaderFacts(const ComparisonReport& report) {
  const CompareOutcome& outcome = report.Outcome;
  const auto counts = [](const ReportArticle& a) {
    return std::to_string(a.Words.Count()) + " words, " + std::to_string(a.Sentences) +
           " sentences, " + std::to_string(a.Paragraphs) + " paragraphs";
  };
  const auto keyword = [](const ReportKeywordCount& k) {
    char density[32];
    std::snprintf(density, sizeof density, "%.2f", k.Density);
    return std::to_string(k.Count) + " occurrences, density " + density + " %";
  };
  std::vector<ReportFact> facts = {
      {"Compared", report.DateTime},
      {"Article 1", ToUtf8(report.Article1.Source)},
      {"Article 2", ToUtf8(report.Article2.Source)},
      {"Match", MatchModeText(outcome.Settings.Mode)},
      {"Minimum length", MinimumText(outcome.Settings)},
      {"Gap", GapText(outcome.Settings)},
      {"Article 1 counts", counts(report.Article1)},
      {"Article 2 counts", counts(report.Article2)},
  };
  if (outcome.Compared) {
    facts.push_back({"Duplicate content (Article 2)", ShareText(outcome.Share)});
    facts.push_back({"Duplicate content (Article 1)", ShareText(outcome.Share1)});
  } else {
    facts.push_back({"Duplicate content", "not compared: an article is blank"});
  }
  facts.push_back({"Blocks", std::to_string(outcome.Blocks.size())});
  if (report.Keyword) {
    facts.push_back({"Keyword phrase", ToUtf8(report.Keyword->Phrase)});
    facts.push_back({"Keyword in Article 1", keyword(report.Keyword->Article1)});
    facts.push_back({"Keyword in Article 2", keyword(report.Keyword->Article2)});
  }
  return facts;
}

std::vector<std::int32_t> BlockOwners(const std::vector<MatchBlock>& blocks, int side,
                                      std::int32_t wordCount) {
  std::vector<std::int32_t> owners(static_cast<std::size_t>(std::max(wordCount, 0)), -1);
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    for (const SharedPassage& p : blocks[b].Passages) {
      const std::int32_t first = std::max(side == 1 ? p.First1 : p.First2, 0);
      const std::int32_t last = std::min(side == 1 ? p.Last1 : p.Last2, wordCount - 1);
      for (std::int32_t w = first; w <= last; ++w) {
        owners[static_cast<std::size_t>(w)] = static_cast<std::int32_t>(b);
      }
    }
  }
  return owners;
}

std::u16string BlockOpening(const ComparisonReport& report, const MatchBlock& block, int maxWords) {
  const bool useSecond = block.Words2 > 0 || block.Words1 == 0;
  const ReportArticle& article = useSecond ? report.Article2 : report.Article1;
  const std::int32_t first = useSecond ? block.First2 : block.First1;
  const std::int32_t last = useSecond ? block.Last2 : block.Last1;
  const std::int32_t count = article.Words.Count();
  if (first < 0 || first >= count || last < first) return {};
  const std::int32_t end = std::min({last, first + maxWords - 1, count - 1});
  const auto textSize = static_cast<std::int32_t>(article.Text.size());
  const std::int32_t from = std::clamp(article.Words[first].StartPos - 1, 0, textSize);
  const std::int32_t to = std::clamp(article.Words[end].EndPos - 1, from, textSize);
  std::u16string opening =
      article.Text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  // Line breaks and tabs inside the opening read as single spaces in a table cell.
  for (char16_t& c : opening) {
    if (c < 0x20) c = u' ';
  }
  if (end < last) opening += u" …";
  return opening;
}

std::vector<ReportRun> SplitIntoRuns(const ReportArticle& article,
                                     const std::vector<MatchBlock>& blocks, int side) {
  const std::int32_t wordCount = article.Words.Count();
  const auto textSize = static_cast<std::int32_t>(article.Text.size());
  const std::vector<std::int32_t> owners = BlockOwners(blocks, side, wordCount);
  std::vector<bool> seen(blocks.size(), false);
  std::vector<ReportRun> runs;
  std::int32_t cursor = 0;           // end of what the runs cover so far
  std::int32_t previousMarked = -2;  // index of the last marked word
  for (std::int32_t w = 0; w < wordCount; ++w) {
    const TWord& word = article.Words[w];
    const std::int32_t owner = owners[static_cast<std::size_t>(w)];
    std::int32_t color = word.Color;
    if (color == NoHighlight && owner >= 0) color = blocks[static_cast<std::size_t>(owner)].Color;
    if (color == NoHighlight) continue;
    const std::int32_t start = std::clamp(word.StartPos - 1, cursor, textSize);
    const std::int32_t end = std::clamp(word.EndPos - 1, start, textSize);
    if (previousMarked == w - 1 && runs.back().Color == color && runs.back().Block == owner) {
      // The spaces between two neighbouring words of one run belong to it.
      runs.back().End = end;
    } else {
      if (start > cursor) runs.push_back(ReportRun{cursor, start, -1, NoHighlight, false});
      ReportRun run{start, end, owner, color, false};
      if (owner >= 0 && !seen[static_cast<std::size_t>(owner)]) {
        seen[static_cast<std::size_t>(owner)] = true;
        run.FirstOfBlock = true;
      }
      runs.push_back(run);
    }
    cursor = end;
    previousMarked = w;
  }
  if (textSize > cursor) runs.push_back(ReportRun{cursor, textSize, -1, NoHighlight, false});
  return runs;
}

}  // namespace vellora
