#include "LibraryTool.h"

#include <climits>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>

#include "DefaultLibrary.h"
#include "DocumentImport.h"
#include "Fingerprints.h"
#include "JsonText.h"
#include "Library.h"
#include "LibraryError.h"
#include "ProgressBar.h"
#include "TextCodec.h"
#include "ToolCommandLine.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora {
namespace {

constexpr const char* kSynopsis =
    "usage: vellora-library [--library FILE] COMMAND [ARGUMENT...] [OPTIONS]\n"
    "Keeps a library of documents and checks articles against it.\n";

constexpr const char* kCommands =
    "Commands:\n"
    "  add PATH...            add files, the article files of folders (recursively) and\n"
    "                         pages at http:// and https:// addresses\n"
    "  remove ID|PATH...      remove documents by id, or those from a file or folder\n"
    "  list                   list the documents\n"
    "  check FILE             the documents sharing passages with the article in FILE\n"
    "  pairs [PATH...]        pairs of documents (from under PATH, or all) sharing passages\n";

struct UsageError {
  std::string Message;
};

std::string Percent(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

std::string AddedTime(std::int64_t ms) {
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return buffer;
}

std::string DocumentJson(const StoredDocument& doc) {
  return "{\"id\": " + std::to_string(doc.Id) + ", \"title\": " + JsonString(doc.Title) +
         ", \"source\": " + JsonString(doc.Source) + ", \"words\": " + std::to_string(doc.Words) +
         ", \"added\": " + JsonString(AddedTime(doc.AddedMs)) +
         ", \"sha256\": " + JsonString(HexDigest(doc.Sha256)) + "}";
}

struct Command {
  std::string Name;
  std::vector<std::string> Arguments;
  std::filesystem::path LibraryFile;
  bool Json = false;
  std::int32_t Minimum = kDefaultMinimumWords;
  std::int32_t Top = 0;
  int BatchSize = AddOptions{}.BatchSize;
};

int Add(const Command& command, const LibraryToolStreams& io) {
  if (command.Arguments.empty()) throw UsageError{"add needs at least one file or folder"};
  if (!command.LibraryFile.parent_path().empty()) {
    // The default library's folder may not exist yet.
    std::error_code ec;
    std::filesystem::create_directories(command.LibraryFile.parent_path(), ec);
  }
  Library library = Library::OpenFile(command.LibraryFile, true);
  std::vector<std::filesystem::path> paths;
  for (const std::string& argument : command.Arguments) paths.push_back(argument);
  ProgressBar bar(io.Err);
  AddProgress progress;
  if (io.ProgressOnErr)
    progress = [&](std::size_t done, std::size_t total) { bar.Show(done, total); };
  AddOptions options;
  options.BatchSize = command.BatchSize;
  AddReport report;
  try {
    report = library.Add(paths, options, progress);
  } catch (...) {
    bar.Finish();
    throw;
  }
  bar.Finish();
  for (const AddFailure& failure : report.Failures)
    io.Err << "vellora-library: " << failure.Cause << "\n";
  io.Out << "added " << report.Added << ", replaced " << report.Replaced << ", unchanged "
         << report.Unchanged << ", failed " << report.Failures.size() << "\n";
  return report.Failures.empty() ? 0 : 1;
}

int Remove(const Command& command, const LibraryToolStreams& io) {
  if (command.Arguments.empty()) throw UsageError{"remove needs at least one id or path"};
  Library library = Library::OpenFile(command.LibraryFile, false);
  const RemoveReport report = library.Remove(command.Arguments);
  for (const StoredDocument& doc : report.Removed) {
    io.Out << "removed " << doc.Id << " " << doc.Source << "\n";
  }
  for (const std::string& message : report.NotFound)
    io.Err << "vellora-library: " << message << "\n";
  return report.NotFound.empty() ? 0 : 1;
}

int List(const Command& command, const LibraryToolStreams& io) {
  if (!command.Arguments.empty()) throw UsageError{"list takes no arguments"};
  Library library = Library::OpenFile(command.LibraryFile, false);
  const std::vector<StoredDocument> docs = library.Documents();
  if (command.Json) {
    io.Out << "[";
    for (std::size_t i = 0; i < docs.size(); ++i)
      io.Out << (i ? ",\n " : "") << DocumentJson(docs[i]);
    io.Out << "]\n";
  } else {
    for (const StoredDocument& doc : docs) {
      io.Out << doc.Id << "\t" << doc.Words << " words\t" << AddedTime(doc.AddedMs) << "\t"
             << doc.Title << "\t" << doc.Source << "\n";
    }
  }
  return 0;
}

std::u16string ReadArticle(const std::string& file) {
  ImportResult imported = ImportDocument(std::filesystem::path(file));
  if (!imported.Ok) throw LibraryError(imported.Error);
  return NormalizeArticleText(NormalizeLineBreaks(imported.Document.Text));
}

int Check(const Command& command, const LibraryToolStreams& io) {
  if (command.Arguments.size() != 1) throw UsageError{"check needs exactly one article file"};
  Library library = Library::OpenFile(command.LibraryFile, false);
  const std::u16string article = ReadArticle(command.Arguments.front());
  const CheckReport report =
      library.Check(article, command.Minimum, static_cast<std::size_t>(command.Top));
  if (command.Json) {
    io.Out << "{\"article\": " << JsonString(command.Arguments.front())
           << ", \"words\": " << report.ArticleWords << ", \"minimum\": " << command.Minimum
           << ", \"candidates\": " << report.Candidates << ", \"results\": [";
    for (std::size_t i = 0; i < report.Hits.size(); ++i) {
      const CheckHit& hit = report.Hits[i];
      io.Out << (i ? ",\n  " : "") << "{\"document\": " << DocumentJson(hit.Document)
             << ", \"shared_words\": " << hit.ArticleShare.Marked
             << ", \"article_percent\": " << Percent(hit.ArticleShare.Percent)
             << ", \"document_words_found\": " << hit.DocumentShare.Marked
             << ", \"document_percent\": " << Percent(hit.DocumentShare.Percent)
             << ", \"longest_passage\": " << hit.LongestPassage << ", \"blocks\": " << hit.Blocks
             << "}";
    }
    io.Out << "]}\n";
  } else {
    io.Out << "Article: " << report.ArticleWords << " words; " << report.Hits.size()
           << " documents share passages of " << command.Minimum << " words or more\n";
    for (const CheckHit& hit : report.Hits) {
      io.Out << hit.ArticleShare.Marked << " shared words\t" << Percent(hit.ArticleShare.Percent)
             << " % of the article\t" << Percent(hit.DocumentShare.Percent)
             << " % of the document\tlongest " << hit.LongestPassage << "\t" << hit.Blocks
             << " blocks\t" << hit.Document.Id << "\t" << hit.Document.Title << "\t"
             << hit.Document.Source << "\n";
    }
  }
  return 0;
}

int Pairs(const Command& command, const LibraryToolStreams& io) {
  if (command.Minimum < kGuaranteeWords) {
    throw UsageError{"pairs needs --min of at least " + std::to_string(kGuaranteeWords) +
                     ": shorter passages are not guaranteed to be found"};
  }
  Library library = Library::OpenFile(command.LibraryFile, false);
  std::vector<std::filesystem::path> under;
  for (const std::string& argument : command.Arguments) under.push_back(argument);
  const PairsReport report = library.Pairs(under, command.Minimum);
  if (command.Json) {
    io.Out << "{\"documents\": " << report.Documents << ", \"candidates\": " << report.Candidates
           << ", \"minimum\": " << command.Minimum << ", \"pairs\": [";
    for (std::size_t i = 0; i < report.Pairs.size(); ++i) {
      const PairHit& pair = report.Pairs[i];
      io.Out << (i ? ",\n  " : "") << "{\"first\": " << DocumentJson(pair.First)
             << ", \"second\": " << DocumentJson(pair.Second)
             << ", \"first_percent\": " << Percent(pair.FirstShare.Percent)
             << ", \"second_percent\": " << Percent(pair.SecondShare.Percent)
             << ", \"longest_passage\": " << pair.LongestPassage << ", \"blocks\": " << pair.Blocks
             << "}";
    }
    io.Out << "]}\n";
  } else {
    io.Out << report.Documents << " documents; " << report.Pairs.size()
           << " pairs share passages of " << command.Minimum << " words or more\n";
    for (const PairHit& pair : report.Pairs) {
      io.Out << Percent(pair.FirstShare.Percent) << " %\t" << Percent(pair.SecondShare.Percent)
             << " %\tlongest " << pair.LongestPassage << "\t" << pair.First.Id << " "
             << pair.First.Source << "\t" << pair.Second.Id << " " << pair.Second.Source << "\n";
    }
  }
  return 0;
}

}  // namespace

int RunLibraryTool(const std::vector<std::string>& args, const LibraryToolStreams& io) {
  ToolCommandLine line({
      {QStringLiteral("library"),
       QStringLiteral("the library file (default: library.sqlite in the user's data folder)"),
       QStringLiteral("FILE")},
      {QStringLiteral("json"), QStringLiteral("list, check, pairs: print JSON"), {}},
      {QStringLiteral("min"),
       QStringLiteral("check, pairs: shortest shared passage in words (default 8)"),
       QStringLiteral("N")},
      {QStringLiteral("top"), QStringLiteral("check: at most K documents"), QStringLiteral("K")},
      {QStringLiteral("batch-size"), QStringLiteral("add: documents per transaction (256)"),
       QStringLiteral("N")},
  });
  const auto usageText = [&] {
    return std::string(kSynopsis) + kCommands + "Options:\n" + line.OptionsHelp();
  };
  const auto usage = [&](const std::string& message) {
    io.Err << "vellora-library: " << message << "\n" << usageText();
    return 2;
  };
  if (!line.Parse(args)) return usage(line.Error());
  if (line.HelpRequested()) {
    io.Out << usageText();
    return 0;
  }
  Command command;
  try {
    std::vector<std::string> positional = line.Positional();
    if (positional.empty()) throw UsageError{"a command is needed"};
    command.Name = positional.front();
    command.Arguments.assign(positional.begin() + 1, positional.end());
    command.LibraryFile = line.IsSet(QStringLiteral("library"))
                              ? std::filesystem::path(line.Value(QStringLiteral("library")))
                              : DefaultLibraryFile();
    command.Json = line.IsSet(QStringLiteral("json"));
    const auto number = [&](const char* name, std::int64_t fallback) {
      const std::optional<std::int64_t> value =
          line.Integer(QString::fromLatin1(name), fallback, 1, INT32_MAX);
      if (!value) throw UsageError{line.Error()};
      return static_cast<std::int32_t>(*value);
    };
    command.Minimum = number("min", kDefaultMinimumWords);
    command.Top = line.IsSet(QStringLiteral("top")) ? number("top", 0) : 0;
    command.BatchSize = number("batch-size", command.BatchSize);
    const std::string& name = command.Name;
    const bool json = name == "list" || name == "check" || name == "pairs";
    if (command.Json && !json) throw UsageError{"--json applies to list, check and pairs"};
    if (line.IsSet(QStringLiteral("top")) && name != "check")
      throw UsageError{"--top applies to check"};
    if (line.IsSet(QStringLiteral("min")) && name != "check" && name != "pairs") {
      throw UsageError{"--min applies to check and pairs"};
    }
    if (line.IsSet(QStringLiteral("batch-size")) && name != "add") {
      throw UsageError{"--batch-size applies to add"};
    }
    if (name == "add") return Add(command, io);
    if (name == "remove") return Remove(command, io);
    if (name == "list") return List(command, io);
    if (name == "check") return Check(command, io);
    if (name == "pairs") return Pairs(command, io);
    throw UsageError{"unknown command \"" + name + "\""};
  } catch (const UsageError& e) {
    return usage(e.Message);
  } catch (const std::exception& e) {
    io.Err << "vellora-library: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace vellora
