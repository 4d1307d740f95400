#include "ReportFile.h"

#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>

#include "PdfReport.h"

namespace vellora {

namespace {

ReportResult Failure(const QString& path, const QString& cause) {
  return ReportWriteFailure(path, cause);
}

}  // namespace

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
  if (!file.commit()) return Failure(path, file.errorString());
  return {};
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
