#include "DocumentImport.h"

#include <exception>
#include <new>

#include "RtfReader.h"
#include "UPlainText.h"
#include "WebPage.h"
#include "WordDocumentReader.h"

namespace vellora {
namespace {

ImportResult Succeeded(ImportedDocument document) {
  ImportResult result;
  result.Ok = true;
  result.Document = std::move(document);
  return result;
}

ImportResult Succeeded(std::u16string text) {
  ImportedDocument document;
  document.Text = std::move(text);
  return Succeeded(std::move(document));
}

ImportResult ImportFromBytes(const std::filesystem::path& path, ImportRoute route,
                             std::string_view bytes) {
  switch (ChooseImportReader(path, route, bytes)) {
    case ImportReader::WebPage: {
      auto page = ReadWebPage(bytes);
      if (!page.Ok()) return FailedImport(path, page.Cause);
      return Succeeded(std::move(page.Value));
    }
    case ImportReader::WordDocument:
    case ImportReader::WordText: {
      auto text = ReadWordDocument(path, bytes);
      if (!text.Ok()) return FailedImport(path, text.Cause);
      return Succeeded(std::move(text.Value));
    }
    case ImportReader::Rtf: {
      auto rtf = ReadRtf(bytes);
      if (!rtf.Ok()) return FailedImport(path, "it is a damaged RTF document: " + rtf.Cause);
      return Succeeded(std::move(rtf.Value));
    }
    case ImportReader::Text:
      break;
  }
  return Succeeded(DecodeArticleBytes(bytes));
}

}  // namespace

ImportResult ImportDocumentBytes(const std::filesystem::path& path, ImportRoute route,
                                 std::string_view bytes) {
  try {
    return ImportFromBytes(path, route, bytes);
  } catch (const std::bad_alloc&) {
    return FailedImport(path, "there is not enough memory to read it");
  } catch (const std::exception& e) {
    return FailedImport(path, e.what());
  } catch (...) {
    return FailedImport(path, "an unexpected error occurred while reading it");
  }
}

ImportResult ImportDocument(const std::filesystem::path& path, ImportRoute route) {
  PlainImport plain = ImportPlainText(path, route);
  if (!plain.NeedsReader) return std::move(plain.Result);
  return ImportDocumentBytes(path, route, plain.Bytes.View());
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
