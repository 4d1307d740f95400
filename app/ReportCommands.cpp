#include "ReportCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>

#include "PdfReport.h"

namespace vellora {

namespace {

const QString kWebPageFilter = QStringLiteral("Web page (*.html)");
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");
const QString kFolderKey = QStringLiteral("Report/Folder");

// The program's own settings (the brand's folder under the user's configuration).
QString SettingsName() {
  return QCoreApplication::applicationName();
}

}  // namespace

QString ReportFileFilters() {
  return kWebPageFilter + QStringLiteral(";;") + kPdfFilter;
}

void PrepareReportDialog(QFileDialog& dialog) {
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({kWebPageFilter, kPdfFilter});
  dialog.selectNameFilter(kWebPageFilter);
  dialog.setDefaultSuffix(QString());
  dialog.setDirectory(RememberedReportFolder());
  dialog.selectFile(QStringLiteral("report.html"));
  dialog.setWindowTitle(QStringLiteral("Save report"));
}

QString ReportPathWithSuffix(const QString& path, const QString& selectedFilter) {
  if (path.isEmpty() || ReportFormatForPath(path)) return path;
  return path + (selectedFilter == kPdfFilter ? QStringLiteral(".pdf") : QStringLiteral(".html"));
}

QString RememberedReportFolder() {
  const QString folder = QSettings(SettingsName(), SettingsName()).value(kFolderKey).toString();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void RememberReportFolder(const QString& reportPath) {
  QSettings settings(SettingsName(), SettingsName());
  settings.setValue(kFolderKey, QFileInfo(reportPath).absolutePath());
}

ReportResult SaveReportWithProgress(QWidget* parent, const ComparisonReport& report,
                                    const QString& path) {
  if (ReportFormatForPath(path) != ReportFormat::Pdf) return WriteReport(report, path);
  QProgressDialog progress(QStringLiteral("Saving the PDF report..."), QStringLiteral("Cancel"), 0,
                           100, parent);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  const ReportResult result = WritePdfReport(report, path, [&progress](int percent) {
    progress.setValue(percent);
    QCoreApplication::processEvents();
    return !progress.wasCanceled();
  });
  progress.close();
  return result;
}

bool PrintReportOn(QPrinter& printer, const ComparisonReport& report) {
  return PaintReport(report, printer);
}

bool PrintReportWithDialog(QWidget* parent, const ComparisonReport& report) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(ReportPageSize());
  printer.setDocName(QString::fromStdString(report.Brand) + QStringLiteral(" report"));
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Print report"));
  if (dialog.exec() != QDialog::Accepted) return false;
  return PrintReportOn(printer, report);
}

}  // namespace vellora
