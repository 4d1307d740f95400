#include "DocumentImport.h"

#include <exception>
#include <new>

#include "FileBytes.h"
#include "ImportLimits.h"
#include "RtfReader.h"
#include "UPlainText.h"
#include "WebPage.h"
#include "WordDocumentReader.h"

namespace vellora {
namespace {

ImportResult Failed(const std::filesystem::path& path, const std::string& cause) {
  ImportResult result;
  result.Error = "Cannot read \"" + path.string() + "\": " + cause + ".";
  return result;
}

ImportResult Succeeded(ImportedDocument document) {
  ImportResult result;
  result.Ok = true;
  result.Document = std::move(document);
  return result;
}

ImportResult ImportFromBytes(const std::filesystem::path& path, ImportRoute route,
                             const std::string& bytes) {
  // Saved pages are read as pages on both routes (a page inside a folder named "my.docs" too);
  // on the plain route a page is also recognised by its first markup, whatever its name.
  if (HasWebPageExtension(path) || (route == ImportRoute::Plain && LooksLikeWebPage(bytes))) {
    auto page = ReadWebPage(bytes);
    if (!page.Ok()) return Failed(path, page.Cause);
    ImportedDocument document;
    document.Text = std::move(page.Value);
    return Succeeded(std::move(document));
  }
  if (route == ImportRoute::Word) {
    auto text = ReadWordDocument(path, bytes);
    if (!text.Ok()) return Failed(path, text.Cause);
    ImportedDocument document;
    document.Text = std::move(text.Value);
    return Succeeded(std::move(document));
  }
  // A word-processor document that happens to lack ".doc" in its path (an .odt, a renamed .docx)
  // would otherwise arrive as the raw bytes of a zip or compound file; read its text instead.
  const DocumentFormat format = SniffDocumentFormat(bytes);
  if (format == DocumentFormat::Zip || format == DocumentFormat::BinaryDoc) {
    return ImportFromBytes(path, ImportRoute::Word, bytes);
  }
  if (LooksLikeRtf(bytes)) {
    auto rtf = ReadRtf(bytes);
    if (!rtf.Ok()) return Failed(path, "it is a damaged RTF document: " + rtf.Cause);
    return Succeeded(std::move(rtf.Value));
  }
  ImportedDocument document;
  document.Text = DecodeArticleBytes(bytes);
  return Succeeded(std::move(document));
}

}  // namespace

ImportRoute RouteForPath(const std::filesystem::path& path) {
  std::string lowered = path.string();
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lowered.find(".doc") != std::string::npos ? ImportRoute::Word : ImportRoute::Plain;
}

ImportResult ImportDocument(const std::filesystem::path& path, ImportRoute route) {
  try {
    const auto bytes =
        ReadFileBytes(path, HasWebPageExtension(path) ? kMaxPageBytes : kMaxImportFileBytes);
    if (!bytes.Ok()) return Failed(path, bytes.Cause);
    return ImportFromBytes(path, route, bytes.Value);
  } catch (const std::bad_alloc&) {
    return Failed(path, "there is not enough memory to read it");
  } catch (const std::exception& e) {
    return Failed(path, e.what());
  } catch (...) {
    return Failed(path, "an unexpected error occurred while reading it");
  }
}

ImportResult ImportDocument(const std::filesystem::path& path) {
  try {
    return ImportDocument(path, RouteForPath(path));
  } catch (...) {
    ImportResult result;
    result.Error = "Cannot read the chosen file: an unexpected error occurred.";
    return result;
  }
}

}  // namespace vellora
