// Import's first, cheap step: the file read into memory and the reader it needs, chosen from its
// path and first bytes; plain text is decoded here, every other kind goes on to the document
// readers (DocumentImport.h). Nothing here links a reader, so a program that meets only plain
// text loads no zip or HTML library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileBytes.h"
#include "ReadOutcome.h"

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

// The failure as Import words it: "Cannot read "<path>": <cause>."
ImportResult FailedImport(const std::filesystem::path& path, const std::string& cause);

// .html, .htm and .xhtml, in any case.
bool HasWebPageExtension(const std::filesystem::path& path);

// True when the bytes start like a page: "<!DOCTYPE html" or "<html", after an optional byte
// order mark, white space and comments.
bool LooksLikeWebPage(std::string_view bytes);

// True when the bytes start with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

// True when the bytes start like a zip archive.
bool LooksLikeZip(std::string_view bytes);

// True when the bytes start with the OLE compound file signature D0 CF 11 E0 A1 B1 1A E1.
bool LooksLikeOleCompoundFile(std::string_view bytes);

enum class DocumentFormat { Zip, Rtf, BinaryDoc, PlainText };

DocumentFormat SniffDocumentFormat(std::string_view bytes);

// The reader Import hands a file's bytes to.
enum class ImportReader {
  WebPage,       // a saved page: by its name on both routes, by its first markup on the plain one
  WordDocument,  // a zip package or an OLE compound file; on the Word route RTF too
  Rtf,           // RTF on the plain route, read with its formatting
  Text,          // plain text on the plain route: UTF-8 when valid, otherwise Windows-1252
  WordText,      // plain text on the Word route: UTF-16 with a byte order mark too; NUL refused
};

ImportReader ChooseImportReader(const std::filesystem::path& path, ImportRoute route,
                                std::string_view bytes);

// The most bytes Import reads of the file (a saved page has a lower cap than other files).
std::uint64_t ImportByteLimit(const std::filesystem::path& path);

// The text of a file the Word route found to be plain text.
ReadOutcome<std::u16string> ReadWordRouteText(std::string_view bytes);

// What the first step found: a plain-text file's text or a failure in Result, or a file that
// needs a document reader, with its bytes, for ImportDocumentBytes.
struct PlainImport {
  ImportResult Result;
  bool NeedsReader = false;
  ImportRoute Route = ImportRoute::Plain;  // the route it was read along
  ByteBuffer Bytes;                        // the whole file, when NeedsReader
};

// Reads the file along the given route. Never throws; every failure is a clear Error.
PlainImport ImportPlainText(const std::filesystem::path& path, ImportRoute route);

// The route chosen by RouteForPath.
PlainImport ImportPlainText(const std::filesystem::path& path);

}  // namespace vellora
