#include "PlainImport.h"

#include <exception>
#include <new>
#include <utility>

#include "AsciiText.h"
#include "FileBytes.h"
#include "ImportLimits.h"
#include "UPlainText.h"

namespace vellora {
namespace {

std::string_view SkipBom(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes;
}

ImportResult Succeeded(std::u16string text) {
  ImportResult result;
  result.Ok = true;
  result.Document.Text = std::move(text);
  return result;
}

// Text saved as "Unicode" by word processors: UTF-16 with a byte order mark.
std::optional<std::u16string> DecodeUtf16WithBom(std::string_view bytes) {
  if (bytes.size() < 2) return std::nullopt;
  const auto b0 = static_cast<unsigned char>(bytes[0]);
  const auto b1 = static_cast<unsigned char>(bytes[1]);
  const bool little = b0 == 0xFF && b1 == 0xFE;
  if (!little && !(b0 == 0xFE && b1 == 0xFF)) return std::nullopt;
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
    const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
    text.push_back(static_cast<char16_t>(hi << 8 | lo));
  }
  return NormalizeLineBreaks(text);
}

PlainImport Finished(ImportResult result) {
  PlainImport plain;
  plain.Result = std::move(result);
  return plain;
}

PlainImport ReadAndChoose(const std::filesystem::path& path, ImportRoute route) {
  auto bytes = ReadFileBytes(path, ImportByteLimit(path));
  if (!bytes.Ok()) return Finished(FailedImport(path, bytes.Cause));
  const std::string_view view = bytes.Value.View();
  switch (ChooseImportReader(path, route, view)) {
    case ImportReader::Text:
      return Finished(Succeeded(DecodeArticleBytes(view)));
    case ImportReader::WordText: {
      auto text = ReadWordRouteText(view);
      if (!text.Ok()) return Finished(FailedImport(path, text.Cause));
      return Finished(Succeeded(std::move(text.Value)));
    }
    case ImportReader::WebPage:
    case ImportReader::WordDocument:
    case ImportReader::Rtf:
      break;
  }
  PlainImport needs;
  needs.NeedsReader = true;
  needs.Bytes = std::move(bytes.Value);
  return needs;
}

}  // namespace

ImportResult FailedImport(const std::filesystem::path& path, const std::string& cause) {
  ImportResult result;
  result.Error = "Cannot read \"" + path.string() + "\": " + cause + ".";
  return result;
}

ImportRoute RouteForPath(const std::filesystem::path& path) {
  std::string lowered = path.string();
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lowered.find(".doc") != std::string::npos ? ImportRoute::Word : ImportRoute::Plain;
}

bool HasWebPageExtension(const std::filesystem::path& path) {
  const std::string extension = AsciiLowered(path.extension().string());
  return extension == ".html" || extension == ".htm" || extension == ".xhtml";
}

bool LooksLikeWebPage(std::string_view bytes) {
  std::string head;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    // UTF-16: the markup is ASCII, one byte of each pair.
    const std::size_t offset = bytes.starts_with("\xFF\xFE") ? 2 : 3;
    for (std::size_t i = offset; i < bytes.size() && head.size() < 512; i += 2)
      head.push_back(bytes[i]);
  } else {
    head = SkipBom(bytes).substr(0, 4096);
  }
  head = AsciiLowered(head);
  std::string_view s = head;
  for (;;) {
    while (!s.empty() && IsAsciiSpace(s.front())) s.remove_prefix(1);
    if (!s.starts_with("<!--")) break;
    const std::size_t end = s.find("-->");
    if (end == std::string_view::npos) return false;
    s.remove_prefix(end + 3);
  }
  const auto endsName = [](std::string_view rest) {
    return rest.empty() || IsAsciiSpace(rest.front()) || rest.front() == '>';
  };
  if (s.starts_with("<html")) return endsName(s.substr(5));
  if (!s.starts_with("<!doctype") || s.size() < 10 || !IsAsciiSpace(s[9])) return false;
  s.remove_prefix(9);
  while (!s.empty() && IsAsciiSpace(s.front())) s.remove_prefix(1);
  return s.starts_with("html") && endsName(s.substr(4));
}

bool LooksLikeRtf(std::string_view bytes) {
  return bytes.substr(0, 5) == "{\\rtf";
}

bool LooksLikeZip(std::string_view bytes) {
  return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' &&
         ((bytes[2] == '\x03' && bytes[3] == '\x04') || (bytes[2] == '\x05' && bytes[3] == '\x06'));
}

bool LooksLikeOleCompoundFile(std::string_view bytes) {
  return bytes.substr(0, 8) == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

DocumentFormat SniffDocumentFormat(std::string_view bytes) {
  if (LooksLikeZip(bytes)) return DocumentFormat::Zip;
  if (LooksLikeRtf(bytes)) return DocumentFormat::Rtf;
  if (LooksLikeOleCompoundFile(bytes)) return DocumentFormat::BinaryDoc;
  return DocumentFormat::PlainText;
}

ImportReader ChooseImportReader(const std::filesystem::path& path, ImportRoute route,
                                std::string_view bytes) {
  // Saved pages are read as pages on both routes (a page inside a folder named "my.docs" too);
  // on the plain route a page is also recognised by its first markup, whatever its name.
  if (HasWebPageExtension(path) || (route == ImportRoute::Plain && LooksLikeWebPage(bytes)))
    return ImportReader::WebPage;
  const DocumentFormat format = SniffDocumentFormat(bytes);
  if (route == ImportRoute::Word)
    return format == DocumentFormat::PlainText ? ImportReader::WordText
                                               : ImportReader::WordDocument;
  // A word-processor document that happens to lack ".doc" in its path (an .odt, a renamed .docx)
  // would otherwise arrive as the raw bytes of a zip or compound file; read its text instead.
  if (format == DocumentFormat::Zip || format == DocumentFormat::BinaryDoc)
    return ImportReader::WordDocument;
  if (format == DocumentFormat::Rtf) return ImportReader::Rtf;
  return ImportReader::Text;
}

std::uint64_t ImportByteLimit(const std::filesystem::path& path) {
  return HasWebPageExtension(path) ? kMaxPageBytes : kMaxImportFileBytes;
}

ReadOutcome<std::u16string> ReadWordRouteText(std::string_view bytes) {
  using Outcome = ReadOutcome<std::u16string>;
  if (auto utf16 = DecodeUtf16WithBom(bytes)) return Outcome::Success(std::move(*utf16));
  // Text has no NUL bytes; anything else would arrive as a screen of garbage.
  if (bytes.find('\0') != std::string_view::npos)
    return Outcome::Failure(
        "its content is neither a Word document (.docx or .doc), an OpenDocument text, RTF, nor "
        "text");
  return Outcome::Success(DecodeArticleBytes(bytes));
}

PlainImport ImportPlainText(const std::filesystem::path& path, ImportRoute route) {
  PlainImport plain;
  try {
    plain = ReadAndChoose(path, route);
  } catch (const std::bad_alloc&) {
    plain = Finished(FailedImport(path, "there is not enough memory to read it"));
  } catch (const std::exception& e) {
    plain = Finished(FailedImport(path, e.what()));
  } catch (...) {
    plain = Finished(FailedImport(path, "an unexpected error occurred while reading it"));
  }
  plain.Route = route;
  return plain;
}

PlainImport ImportPlainText(const std::filesystem::path& path) {
  try {
    return ImportPlainText(path, RouteForPath(path));
  } catch (...) {
    ImportResult result;
    result.Error = "Cannot read the chosen file: an unexpected error occurred.";
    return Finished(std::move(result));
  }
}

}  // namespace vellora
