#include "CompareExtrasImpl.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include "PageFetcher.h"
#include "ReportFile.h"

namespace vellora {
namespace {

// Downloads wait in Qt's event loop and the PDF is laid out with fonts: both need an application
// object, which the tool has none of. The first use makes a graphical one on the offscreen
// platform (unless another is asked for) for the rest of the run, so that a PDF can follow a
// download.
void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vellora-compare";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit Qt's own globals may already be gone, and destroying the
  // application after them crashed the process once its work was done.
  static const QGuiApplication* const application = new QGuiApplication(argc, argv);
  (void)application;
}

std::optional<std::u16string> ReadAddress(const std::string& address, std::string& error) {
  EnsureApplication();
  auto text = ArticleFromDownload(FetchPageNow(QString::fromStdString(address)));
  if (!text.Ok()) {
    error = text.Cause;
    return std::nullopt;
  }
  return std::move(text.Value);
}

bool WritePdf(const ComparisonReport& report, const std::string& path, std::string& error) {
  EnsureApplication();
  const ReportResult result = WritePdfReport(report, QString::fromStdString(path));
  if (!result.Written()) {
    error = result.Message.toStdString();
    return false;
  }
  return true;
}

}  // namespace

const CompareExtras& CompareExtrasImplementation() {
  static const CompareExtras extras{WritePdf, ReadAddress};
  return extras;
}

}  // namespace vellora
