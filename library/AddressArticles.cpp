#include "AddressArticles.h"

#include <QCoreApplication>
#include <QUrl>
#include <memory>

#include "PageFetcher.h"

namespace vellora {
namespace {

// Downloads wait in Qt's event loop, which needs an application object; a caller without one
// gets one for the rest of the run.
void EnsureEventLoop() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "vellora-library";
  static char* argv[] = {name, nullptr};
  static const auto application = std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

bool IsPageAddress(const std::string& argument) {
  return LooksLikeAddress(argument);
}

ReadOutcome<std::u16string> DownloadArticle(const std::string& address) {
  EnsureEventLoop();
  return ArticleFromDownload(FetchPageNow(QString::fromStdString(address)));
}

std::string AddressTitle(const std::string& address) {
  const QUrl url(QString::fromStdString(address));
  const QString segment = url.fileName(QUrl::FullyDecoded);
  return segment.isEmpty() ? address : segment.toStdString();
}

}  // namespace vellora
