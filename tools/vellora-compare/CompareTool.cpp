#include "CompareTool.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "UCompare.h"
#include "UKeyword.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora {
namespace {

constexpr const char* kUsage =
    "usage: vellora-compare [--min N] [--unit words|sentences|paragraphs] [--keyword PHRASE] "
    "[--json] FILE1 FILE2\n"
    "  --min N        minimum length of a matching part, a whole number (default 1)\n"
    "  --unit U       unit of the minimum length (default words)\n"
    "  --keyword K    also count the phrase K and its density in each article\n"
    "  --json         print one JSON object instead of text\n";

struct Options {
  std::int32_t minLength = 1;
  std::int32_t unit = UnitWords;
  std::optional<std::u16string> keyword;
  bool json = false;
  std::vector<std::string> files;
};

struct UsageError {
  std::string message;
};

std::int32_t ParseMinimum(const std::string& value) {
  std::int64_t parsed = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, parsed);
  if (value.empty() || ec != std::errc() || ptr != end || parsed < INT32_MIN ||
      parsed > INT32_MAX) {
    throw UsageError{"--min needs a whole number, not \"" + value + "\""};
  }
  return static_cast<std::int32_t>(parsed);
}

std::int32_t ParseUnit(const std::string& value) {
  if (value == "words") return UnitWords;
  if (value == "sentences") return UnitSentences;
  if (value == "paragraphs") return UnitParagraphs;
  throw UsageError{"--unit must be words, sentences or paragraphs, not \"" + value + "\""};
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> inlineValue;
    if (arg.starts_with("--") && arg.find('=') != std::string::npos) {
      inlineValue = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
    }
    const auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      return args[++i];
    };
    if (arg == "--min") {
      options.minLength = ParseMinimum(value());
    } else if (arg == "--unit") {
      options.unit = ParseUnit(value());
    } else if (arg == "--keyword") {
      options.keyword = FromUtf8(value());
    } else if (arg == "--json" && !inlineValue) {
      options.json = true;
    } else if (arg == "--") {
      options.files.insert(options.files.end(), args.begin() + static_cast<long>(i) + 1,
                           args.end());
      break;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError{"unknown option " + args[i]};
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.files.size() != 2) throw UsageError{"two article files are needed"};
  return options;
}

struct Article {
  std::u16string text;  // normalised, as a pane's change handler stores it
  ArticleSpans spans;
  std::int32_t keywordCount = 0;
  double keywordDensity = 0.0;
};

std::string JsonString(std::u16string_view text) {
  std::string out = "\"";
  for (const char c : ToUtf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

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

void PrintJsonArticle(std::ostream& out, const Article& a) {
  out << "{\"words\": " << a.spans.Words.Count() << ", \"sentences\": " << a.spans.Sentences.Count()
      << ", \"paragraphs\": " << a.spans.Paragraphs.Count() << ", \"spans\": [";
  bool first = true;
  for (const TWord& w : a.spans.Words) {
    out << (first ? "" : ", ") << "[" << w.StartPos << ", " << w.EndPos << ", " << w.Color << "]";
    first = false;
  }
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
        << ", \"duplicate_shown\": " << outcome.Share.Shown;
  } else {
    out << ", \"duplicate_percent\": null, \"duplicate_shown\": null";
  }
  if (options.keyword) {
    out << ", \"keyword\": {\"text\": " << JsonString(TrimControlAndSpace(*options.keyword));
    for (int i = 0; i < 2; ++i) {
      out << ", \"article" << i + 1 << "\": {\"count\": " << articles[i].keywordCount
          << ", \"density\": " << TwoDecimals(articles[i].keywordDensity) << "}";
    }
    out << "}";
  }
  out << "}\n";
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
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return 0;
    }
    if (arg == "--") break;
  }
  Options options;
  try {
    options = ParseOptions(args);
  } catch (const UsageError& e) {
    err << "vellora-compare: " << e.message << "\n" << kUsage;
    return 2;
  }

  Article articles[2];
  for (int i = 0; i < 2; ++i) {
    std::string error;
    std::optional<std::u16string> text = reader(options.files[static_cast<std::size_t>(i)], error);
    if (!text) {
      err << "vellora-compare: " << error << "\n";
      return 1;
    }
    articles[i].text = NormalizeArticleText(NormalizeLineBreaks(*text));
    SegmentText(articles[i].text, articles[i].spans);
  }
  const CompareOutcome outcome =
      CompareArticles(articles[0].text, articles[0].spans, articles[1].text, articles[1].spans,
                      options.minLength, options.unit);
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
  return out ? 0 : 1;
}

}  // namespace vellora
