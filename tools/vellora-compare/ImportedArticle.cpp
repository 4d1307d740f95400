#include "ImportedArticle.h"

#include "DocumentImport.h"

namespace vellora {

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error) {
  ImportResult result = ImportDocument(path);
  if (!result.Ok) {
    error = result.Error;
    return std::nullopt;
  }
  return std::move(result.Document.Text);
}

}  // namespace vellora
