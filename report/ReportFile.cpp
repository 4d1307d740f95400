#include "ReportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>

#include "HtmlReport.h"
#include "PdfReport.h"

namespace vellora {

namespace {

ReportResult Failure(const QString& path, const QString& cause) {
  return {ReportResult::Status::Failed,
          QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), cause)};
}

// QSaveFile writes beside the target and renames on commit; without a commit the temporary file
// is removed and the target left as it was.
ReportResult Commit(QSaveFile& file, const QString& path) {
  if (!file.commit()) return Failure(path, file.errorString());
  return {};
}

}  // namespace

std::optional<ReportFormat> ReportFormatForPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) return ReportFormat::Html;
  if (suffix == QLatin1String("pdf")) return ReportFormat::Pdf;
  return std::nullopt;
}

ReportResult WriteHtmlReport(const ComparisonReport& report, const QString& path) {
  const std::string page = RenderHtmlReport(report);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return Failure(path, file.errorString());
  if (file.write(page.data(), static_cast<qint64>(page.size())) !=
      static_cast<qint64>(page.size())) {
    const QString cause = file.errorString();
    file.cancelWriting();
    return Failure(path, cause);
  }
  return Commit(file, path);
}

ReportResult WritePdfReport(const ComparisonReport& report, const QString& path,
                            const ReportProgress& progress) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    return Failure(path, QStringLiteral("a PDF needs the graphical application to be running"));
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return Failure(path, file.errorString());
  bool cancelled = false;
  const std::function<bool(int)> watch = [&](int percent) {
    if (progress && !progress(percent)) cancelled = true;
    return !cancelled;
  };
  bool painted = false;
  {
    QPdfWriter writer(&file);
    writer.setCreator(QString::fromStdString(report.Brand));
    writer.setTitle(QStringLiteral("%1 report").arg(QString::fromStdString(report.Brand)));
    writer.setResolution(300);
    writer.setPageSize(ReportPageSize());
    writer.setPageMargins(QMarginsF(18, 18, 18, 12), QPageLayout::Millimeter);
    painted = PaintReport(report, writer, watch);
  }
  if (!painted || file.error() != QFileDevice::NoError) {
    const QString cause = file.error() != QFileDevice::NoError
                              ? file.errorString()
                              : QStringLiteral("the pages could not be painted");
    file.cancelWriting();
    if (cancelled) return {ReportResult::Status::Cancelled, {}};
    return Failure(path, cause);
  }
  return Commit(file, path);
}

ReportResult WriteReport(const ComparisonReport& report, const QString& path,
                         const ReportProgress& progress) {
  const auto format = ReportFormatForPath(path);
  if (!format) {
    return Failure(path, QStringLiteral("a report must end in .html, .htm or .pdf"));
  }
  if (*format == ReportFormat::Html) {
    if (progress && !progress(0)) return {ReportResult::Status::Cancelled, {}};
    ReportResult result = WriteHtmlReport(report, path);
    if (progress && result.Written()) progress(100);
    return result;
  }
  return WritePdfReport(report, path, progress);
}

}  // namespace vellora
