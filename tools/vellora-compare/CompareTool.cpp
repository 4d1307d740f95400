#include "CompareTool.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

#include "CompareExtras.h"
#include "ComparisonReport.h"
#include "JsonText.h"
#include "OtherCore.h"
#include "ReportFile.h"
#include "ToolCommandLine.h"
#include "UCompare.h"
#include "UKeyword.h"
#include "UPlainText.h"
#include "UPreparedComparison.h"
#include "USegment.h"

namespace vellora {
namespace {

constexpr const char* kSynopsis =
    "usage: vellora-compare [--min N] [--unit words|sentences|paragraphs] "
    "[--match in-order|anywhere] [--gap G] [--keyword PHRASE] [--json] [--report FILE] FILE1 "
    "FILE2\n";

std::vector<ToolOption> OptionList() {
  return {
      {"min", "minimum length of a matching part, a whole number (default 1)", "N"},
      {"unit", "unit of the minimum length: words, sentences or paragraphs (default words)", "U"},
      {"match", "in-order (default): Article 1's windows in order; anywhere: every shared passage",
       "M"},
      {"gap", "with --match anywhere: units allowed between passages of one block (default 0)",
       "G"},
      {"keyword", "also count the phrase K and its density in each article", "K"},
      {"json", "print one JSON object instead of text", ""},
      {"report", "also save the report as a web page (.html, .htm) or a PDF (.pdf)", "FILE"},
  };
}

std::string Usage(const ToolCommandLine& line) {
  return kSynopsis + line.OptionsHelp();
}

struct Options {
  ComparisonSettings settings;
  std::optional<std::u16string> keyword;
  bool json = false;
  std::optional<std::string> report;
  std::vector<std::string> files;
};

struct UsageError {
  std::string message;
};

std::int32_t ParseUnit(const std::string& value) {
  if (value == "words") return UnitWords;
  if (value == "sentences") return UnitSentences;
  if (value == "paragraphs") return UnitParagraphs;
  throw UsageError{"--unit must be words, sentences or paragraphs, not \"" + value + "\""};
}

MatchMode ParseMatch(const std::string& value) {
  if (value == "in-order") return MatchMode::InOrder;
  if (value == "anywhere") return MatchMode::Anywhere;
  throw UsageError{"--match must be in-order or anywhere, not \"" + value + "\""};
}

Options ParseOptions(ToolCommandLine& line) {
  Options options;
  const auto integer = [&](const QString& name, std::int64_t minimum) {
    const std::optional<std::int64_t> value =
        line.Integer(name, name == "min" ? 1 : 0, minimum, INT32_MAX);
    if (!value) throw UsageError{line.Error()};
    return static_cast<std::int32_t>(*value);
  };
  options.settings.MinLength = integer("min", INT32_MIN);
  if (line.IsSet("unit")) options.settings.UnitType = ParseUnit(line.Value("unit"));
  if (line.IsSet("match")) options.settings.Mode = ParseMatch(line.Value("match"));
  if (line.IsSet("gap")) {
    if (options.settings.Mode != MatchMode::Anywhere) {
      throw UsageError{"--gap works only with --match anywhere"};
    }
    options.settings.Gap = integer("gap", 0);
  }
  if (line.IsSet("keyword")) options.keyword = FromUtf8(line.Value("keyword"));
  options.json = line.IsSet("json");
  if (line.IsSet("report")) {
    options.report = line.Value("report");
    if (!ReportFormatForPath(QString::fromStdString(*options.report))) {
      throw UsageError{"--report must name a .html, .htm or .pdf file, not \"" + *options.report +
                       "\""};
    }
  }
  options.files = line.Positional();
  if (options.files.size() != 2) throw UsageError{"two article files are needed"};
  return options;
}

struct Article {
  std::u16string text;  // normalised, as a pane's change handler stores it
  ArticleSpans spans;
  std::optional<PreparedArticle> prepared;
  std::int32_t keywordCount = 0;
  double keywordDensity = 0.0;
};

std::string ShortestDouble(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string TwoDecimals(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

// A book-length article has hundreds of thousands of spans: they are formatted into one buffer
// and written at once, which streams formatting number by number would make the slowest step.
void PrintJsonArticle(std::ostream& out, const Article& a) {
  out << "{\"words\": " << a.spans.Words.Count() << ", \"sentences\": " << a.spans.Sentences.Count()
      << ", \"paragraphs\": " << a.spans.Paragraphs.Count() << ", \"spans\": [";
  // At most 11 characters a number and 8 of punctuation a span.
  std::string spans(static_cast<std::size_t>(a.spans.Words.Count()) * 41, '\0');
  char* at = spans.data();
  const auto put = [&at](std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    at += text.size();
  };
  const auto number = [&at](std::int32_t value) { at = std::to_chars(at, at + 11, value).ptr; };
  bool first = true;
  for (const TWord& w : a.spans.Words) {
    put(first ? "[" : ", [");
    number(w.StartPos);
    put(", ");
    number(w.EndPos);
    put(", ");
    number(w.Color);
    put("]");
    first = false;
  }
  spans.resize(static_cast<std::size_t>(at - spans.data()));
  out.write(spans.data(), static_cast<std::streamsize>(spans.size()));
  out << "]}";
}

void PrintJson(std::ostream& out, const Options& options, const Article (&articles)[2],
               const CompareOutcome& outcome) {
  out << "{\"article1\": ";
  PrintJsonArticle(out, articles[0]);
  out << ", \"article2\": ";
  PrintJsonArticle(out, articles[1]);
  if (outcome.Compared) {
    out << ", \"duplicate_percent\": " << ShortestDouble(outcome.Share.Percent)
        << ", \"duplicate_shown\": " << outcome.Share.Shown
        << ", \"duplicate_percent_article1\": " << ShortestDouble(outcome.Share1.Percent)
        << ", \"duplicate_shown_article1\": " << outcome.Share1.Shown;
  } else {
    out << ", \"duplicate_percent\": null, \"duplicate_shown\": null"
        << ", \"duplicate_percent_article1\": null, \"duplicate_shown_article1\": null";
  }
  if (options.keyword) {
    out << ", \"keyword\": {\"text\": "
        << JsonString(ToUtf8(TrimControlAndSpace(*options.keyword)));
    for (int i = 0; i < 2; ++i) {
      out << ", \"article" << i + 1 << "\": {\"count\": " << articles[i].keywordCount
          << ", \"density\": " << TwoDecimals(articles[i].keywordDensity) << "}";
    }
    out << "}";
  }
  out << ", \"match\": \""
      << (options.settings.Mode == MatchMode::Anywhere ? "anywhere" : "in-order")
      << "\", \"blocks\": [";
  for (std::size_t b = 0; b < outcome.Blocks.size(); ++b) {
    const MatchBlock& block = outcome.Blocks[b];
    out << (b == 0 ? "" : ", ") << "{\"color\": " << block.Color << ", \"article1\": ["
        << block.First1 << ", " << block.Last1 << "], \"article2\": [" << block.First2 << ", "
        << block.Last2 << "]}";
  }
  out << "]}\n";
}

void PrintText(std::ostream& out, const Options& options, const Article (&articles)[2],
               const CompareOutcome& outcome) {
  for (int i = 0; i < 2; ++i) {
    const ArticleSpans& s = articles[i].spans;
    out << "Article " << i + 1 << ": " << s.Words.Count() << " words, " << s.Sentences.Count()
        << " sentences, " << s.Paragraphs.Count() << " paragraphs\n";
  }
  if (outcome.Compared) {
    out << "Duplicate Content: " << outcome.Share.Shown << " %\n";
    out << "Duplicate Content of Article 1: " << outcome.Share1.Shown << " %\n";
    out << "Shared blocks: " << outcome.Blocks.size() << "\n";
  } else {
    out << "Duplicate Content: not compared, an article is blank\n";
  }
  if (options.keyword) {
    out << "Keyword phrase: " << ToUtf8(TrimControlAndSpace(*options.keyword)) << "\n";
    for (int i = 0; i < 2; ++i) {
      out << "  Article " << i + 1 << ": " << articles[i].keywordCount << " occurrences, density "
          << TwoDecimals(articles[i].keywordDensity) << " %\n";
    }
  }
}

// Saves the report; the web page needs Qt Core only, the PDF Qt Gui, which is loaded with the
// extras only then.
bool SaveReport(const Options& options, const Article (&articles)[2], const CompareOutcome& outcome,
                std::ostream& err) {
  const QString path = QString::fromStdString(*options.report);
  ComparisonReport report = MakeComparisonReport(
      std::filesystem::path(options.files[0]).filename().u16string(), articles[0].text,
      articles[0].spans, std::filesystem::path(options.files[1]).filename().u16string(),
      articles[1].text, articles[1].spans, outcome);
  report.Brand = ReportBrandName({});
  report.Version = VELLORA_VERSION;
  if (options.keyword) {
    report.Keyword = ReportKeyword{std::u16string(TrimControlAndSpace(*options.keyword)),
                                   {articles[0].keywordCount, articles[0].keywordDensity},
                                   {articles[1].keywordCount, articles[1].keywordDensity}};
  }
  if (ReportFormatForPath(path) == ReportFormat::Pdf) {
    std::string error;
    const CompareExtras* extras = LoadCompareExtras(error);
    if (extras == nullptr || !extras->WritePdfReport(report, *options.report, error)) {
      err << "vellora-compare: " << error << "\n";
      return false;
    }
    return true;
  }
  const ReportResult result = WriteHtmlReport(report, path);
  if (!result.Written()) {
    err << "vellora-compare: " << result.Message.toStdString() << "\n";
    return false;
  }
  return true;
}

struct Loaded {
  bool ok = false;
  std::string error;
  std::exception_ptr failure;
};

// Reads one article into the text a pane would hold, segments it and prepares its half of the
// comparison.
Loaded LoadArticle(const ArticleReader& reader, const std::string& file, ArticleSide side,
                   const ComparisonSettings& settings, Article& article) {
  Loaded loaded;
  try {
    std::optional<std::u16string> text = reader(file, loaded.error);
    if (!text) return loaded;
    article.text = std::move(*text);
    NormalizeLineBreaksInPlace(article.text);
    NormalizeArticleTextInPlace(article.text);
    SegmentText(article.text, article.spans);
    article.prepared.emplace(side, article.text, article.spans, settings);
    loaded.ok = true;
  } catch (...) {
    loaded.failure = std::current_exception();
  }
  return loaded;
}

}  // namespace

std::optional<std::u16string> ReadPlainArticle(const std::filesystem::path& path,
                                               std::string& error) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    error = "cannot read \"" + path.string() + "\": no such file";
    return std::nullopt;
  }
  if (std::filesystem::is_directory(status)) {
    error = "cannot read \"" + path.string() + "\": it is a folder";
    return std::nullopt;
  }
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxArticleFileBytes) {
    error = "cannot read \"" + path.string() + "\": the file is larger than " +
            std::to_string(kMaxArticleFileBytes / (1024 * 1024)) + " MB";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read \"" + path.string() + "\": permission denied or unreadable";
    return std::nullopt;
  }
  std::string bytes;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxArticleFileBytes) {
      error = "cannot read \"" + path.string() + "\": the file is too large";
      return std::nullopt;
    }
  }
  if (in.bad()) {
    error = "cannot read \"" + path.string() + "\": read error";
    return std::nullopt;
  }
  return DecodeArticleBytes(bytes);
}

int RunCompareTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const ArticleReader& reader) {
  ToolCommandLine line(OptionList());
  Options options;
  try {
    if (!line.Parse(args)) throw UsageError{line.Error()};
    if (line.HelpRequested()) {
      out << Usage(line);
      return 0;
    }
    options = ParseOptions(line);
  } catch (const UsageError& e) {
    err << "vellora-compare: " << e.message << "\n" << Usage(line);
    return 2;
  }

  Article articles[2];
  // The two articles are read, segmented and prepared side by side; the first failure in argument
  // order is the one reported, as when they were read one after the other.
  Loaded loaded[2];
  std::thread second([&] {
    AllowEveryCore();
    loaded[1] =
        LoadArticle(reader, options.files[1], ArticleSide::Second, options.settings, articles[1]);
  });
  MoveToAnotherCore(second);
  loaded[0] =
      LoadArticle(reader, options.files[0], ArticleSide::First, options.settings, articles[0]);
  second.join();
  for (const Loaded& l : loaded) {
    if (l.failure) std::rethrow_exception(l.failure);
    if (!l.ok) {
      err << "vellora-compare: " << l.error << "\n";
      return 1;
    }
  }
  // The lists are segmented already (the counts are printed even when nothing is compared).
  const CompareOutcome outcome =
      ComparePreparedArticles(*articles[0].prepared, *articles[1].prepared, options.settings);
  if (options.keyword) {
    const std::u16string_view keyword = TrimControlAndSpace(*options.keyword);
    for (Article& a : articles) {
      a.keywordCount = static_cast<std::int32_t>(FindAllKeywordOccurrences(a.text, keyword).size());
      a.keywordDensity = KeywordDensity(a.keywordCount, a.spans.Words.Count(), a.text);
    }
  }
  if (options.json) {
    PrintJson(out, options, articles, outcome);
  } else {
    PrintText(out, options, articles, outcome);
  }
  if (options.report && !SaveReport(options, articles, outcome, err)) return 1;
  return out ? 0 : 1;
}

}  // namespace vellora
