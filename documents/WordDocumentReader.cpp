#include "WordDocumentReader.h"

#include <algorithm>
#include <optional>

#include "DocxReader.h"
#include "OdtReader.h"
#include "RtfReader.h"
#include "UPlainText.h"
#include "ZipPart.h"

namespace vellora {
namespace {

constexpr std::uint64_t kMaxMimeTypeBytes = 1024;

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return ext;
}

std::string Trimmed(std::string s) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; };
  while (!s.empty() && isSpace(s.back())) s.pop_back();
  s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), isSpace));
  return s;
}

ReadOutcome<std::u16string> ReadZipDocument(const std::filesystem::path& path,
                                            std::string_view bytes) {
  using Outcome = ReadOutcome<std::u16string>;
  const auto opened = ZipPackage::Open(bytes);
  if (!opened.Ok()) return Outcome::Failure(opened.Cause);
  const ZipPackage& package = *opened.Value;

  if (package.HasPart(kDocxMainPart)) {
    const auto xml = package.ReadPart(kDocxMainPart);
    if (!xml.Ok()) return Outcome::Failure(xml.Cause);
    return ExtractDocxText(xml.Value);
  }

  bool isOdt = false;
  if (package.HasPart("mimetype")) {
    const auto mime = package.ReadPart("mimetype", kMaxMimeTypeBytes);
    const std::string type = mime.Ok() ? Trimmed(mime.Value) : std::string();
    if (type == kOdtMimeType) {
      isOdt = true;
    } else if (type.rfind("application/vnd.oasis.opendocument.", 0) == 0) {
      return Outcome::Failure("it is an OpenDocument file of another kind (" + type +
                              "), not a text document");
    }
  } else {
    const std::string ext = LowerExtension(path);
    isOdt = ext == ".odt" || ext == ".ott";
  }
  if (isOdt) {
    const auto xml = package.ReadPart(kOdtContentPart);
    if (!xml.Ok()) return Outcome::Failure(xml.Cause);
    return ExtractOdtText(xml.Value);
  }
  return Outcome::Failure(std::string("the document part ") + kDocxMainPart + " is missing");
}

}  // namespace

ReadOutcome<std::u16string> ReadWordDocument(const std::filesystem::path& path,
                                             std::string_view bytes,
                                             const BinaryDocReaderOptions& binaryDocOptions) {
  using Outcome = ReadOutcome<std::u16string>;
  switch (SniffDocumentFormat(bytes)) {
    case DocumentFormat::Zip:
      return ReadZipDocument(path, bytes);
    case DocumentFormat::Rtf: {
      // A word processor hands over the text alone; the formatting stays behind.
      auto rtf = ReadRtf(bytes);
      if (!rtf.Ok()) return Outcome::Failure(rtf.Cause);
      return Outcome::Success(std::move(rtf.Value.Text));
    }
    case DocumentFormat::BinaryDoc:
      return ReadBinaryDoc(path, binaryDocOptions);
    case DocumentFormat::PlainText:
      break;
  }
  return ReadWordRouteText(bytes);
}

}  // namespace vellora
