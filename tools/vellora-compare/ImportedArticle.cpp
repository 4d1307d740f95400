#include "ImportedArticle.h"

#include "AddressArgument.h"
#include "CompareExtras.h"
#include "DocumentImport.h"

namespace vellora {

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error) {
  if (LooksLikeAddress(path.string())) {
    // Downloading needs Qt Network, loaded with the extras only for an address.
    const CompareExtras* extras = LoadCompareExtras(error);
    if (extras == nullptr) return std::nullopt;
    return extras->ReadAddress(path.string(), error);
  }
  ImportResult result = ImportDocument(path);
  if (!result.Ok) {
    error = result.Error;
    return std::nullopt;
  }
  return std::move(result.Document.Text);
}

}  // namespace vellora
