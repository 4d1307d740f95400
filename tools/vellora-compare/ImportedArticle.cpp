#include "ImportedArticle.h"

#include <QCoreApplication>
#include <memory>

#include "DocumentImport.h"
#include "PageFetcher.h"

namespace vellora {
namespace {

// Downloads wait in Qt's event loop, which needs an application object; the tool has none of
// its own, so the first download makes one for the rest of the run.
void EnsureEventLoop() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "vellora-compare";
  static char* argv[] = {name, nullptr};
  static const auto application = std::make_unique<QCoreApplication>(argc, argv);
}

std::optional<std::u16string> ReadAddress(const std::string& address, std::string& error) {
  EnsureEventLoop();
  auto text = ArticleFromDownload(FetchPageNow(QString::fromStdString(address)));
  if (!text.Ok()) {
    error = text.Cause;
    return std::nullopt;
  }
  return std::move(text.Value);
}

}  // namespace

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error) {
  if (LooksLikeAddress(path.string())) return ReadAddress(path.string(), error);
  ImportResult result = ImportDocument(path);
  if (!result.Ok) {
    error = result.Error;
    return std::nullopt;
  }
  return std::move(result.Document.Text);
}

}  // namespace vellora
