// The report formats and the web page written to a file: Qt Core only, so that a program that
// writes web pages does not load Qt Gui (the PDF lives in ReportFile.cpp).
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "HtmlReport.h"
#include "ReportFile.h"

namespace vellora {

ReportResult ReportWriteFailure(const QString& path, const QString& cause) {
  return {ReportResult::Status::Failed,
          QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), cause)};
}

std::optional<ReportFormat> ReportFormatForPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) return ReportFormat::Html;
  if (suffix == QLatin1String("pdf")) return ReportFormat::Pdf;
  return std::nullopt;
}

// QSaveFile writes beside the target and renames on commit; without a commit the temporary file
// is removed and the target left as it was.
ReportResult WriteHtmlReport(const ComparisonReport& report, const QString& path) {
  const std::string page = RenderHtmlReport(report);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return ReportWriteFailure(path, file.errorString());
  if (file.write(page.data(), static_cast<qint64>(page.size())) !=
      static_cast<qint64>(page.size())) {
    const QString cause = file.errorString();
    file.cancelWriting();
    return ReportWriteFailure(path, cause);
  }
  if (!file.commit()) return ReportWriteFailure(path, file.errorString());
  return {};
}

}  // namespace vellora
