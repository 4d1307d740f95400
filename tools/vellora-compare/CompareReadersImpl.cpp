#include "CompareReadersImpl.h"

#include <utility>

#include "DocumentImport.h"

namespace vellora {
namespace {

std::optional<std::u16string> ReadDocument(const std::filesystem::path& path, ImportRoute route,
                                           std::string_view bytes, std::string& error) {
  ImportResult result = ImportDocumentBytes(path, route, bytes);
  if (!result.Ok) {
    error = std::move(result.Error);
    return std::nullopt;
  }
  return std::move(result.Document.Text);
}

}  // namespace

const CompareReaders& CompareReadersImplementation() {
  static const CompareReaders readers{ReadDocument};
  return readers;
}

}  // namespace vellora
