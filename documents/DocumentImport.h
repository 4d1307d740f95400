// Reading an article from a file for import: the Word route (documents whose path contains
// ".doc") and the plain route (RTF with its formatting, web pages as their readable text, anything
// else as text); saved web pages (.html, .htm, .xhtml) are read as pages on both routes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vellora {

// One stretch of imported text with its character formatting. Line breaks inside Text are "\n".
struct FormattedRun {
  std::u16string Text;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::optional<std::uint32_t> Color;  // 0xRRGGBB text colour; none means the default (black)
  double PointSize = 0.0;              // 0 means the pane's default size
};

struct ImportedDocument {
  std::u16string Text;             // the whole text, line breaks as "\n"
  std::vector<FormattedRun> Runs;  // empty unless the file carried formatting (RTF)
};

enum class ImportRoute { Word, Plain };

// ".doc" anywhere in the path, with only A to Z lower-cased, takes the Word route.
ImportRoute RouteForPath(const std::filesystem::path& path);

struct ImportResult {
  bool Ok = false;
  ImportedDocument Document;
  std::string Error;  // for the user: names the file and the cause
};

// Reads the file along the given route. Never throws; every failure is a clear Error.
ImportResult ImportDocument(const std::filesystem::path& path, ImportRoute route);

// The route chosen by RouteForPath.
ImportResult ImportDocument(const std::filesystem::path& path);

}  // namespace vellora
