#include "ImportedArticle.h"

#include "AddressArgument.h"
#include "CompareExtras.h"
#include "CompareReaders.h"
#include "PlainImport.h"

namespace vellora {

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error) {
  if (LooksLikeAddress(path.string())) {
    // Downloading needs Qt Network, loaded with the extras only for an address.
    const CompareExtras* extras = LoadCompareExtras(error);
    if (extras == nullptr) return std::nullopt;
    return extras->ReadAddress(path.string(), error);
  }
  PlainImport plain = ImportPlainText(path);
  if (plain.NeedsReader) {
    // Web pages, Word and OpenDocument documents and RTF need readers (and their zip and HTML
    // libraries) that a comparison of plain text files never loads.
    const CompareReaders* readers = LoadCompareReaders(error);
    if (readers == nullptr) return std::nullopt;
    return readers->ReadDocument(path, plain.Route, plain.Bytes.View(), error);
  }
  if (!plain.Result.Ok) {
    error = std::move(plain.Result.Error);
    return std::nullopt;
  }
  return std::move(plain.Result.Document.Text);
}

}  // namespace vellora
