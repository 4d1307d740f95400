// Saving a report to a file: the format follows the extension, the file is written beside its
// final name and renamed into place, so no half-written report is ever left.
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "ComparisonReport.h"

namespace vellora {

enum class ReportFormat { Html, Pdf };

// .html and .htm give a web page, .pdf a PDF (any case); anything else gives nothing.
std::optional<ReportFormat> ReportFormatForPath(const QString& path);

// Called with the work done so far, 0 to 100; returning false cancels.
using ReportProgress = std::function<bool(int percent)>;

struct ReportResult {
  enum class Status { Written, Cancelled, Failed };
  Status Outcome = Status::Written;
  QString Message;  // for Failed: names the file and the cause
  bool Written() const { return Outcome == Status::Written; }
};

// "Cannot write "<path>": <cause>".
ReportResult ReportWriteFailure(const QString& path, const QString& cause);

// The web page needs Qt Core only (vellora_report_html); the PDF and WriteReport need Qt Gui.
ReportResult WriteHtmlReport(const ComparisonReport& report, const QString& path);
// Needs a QGuiApplication (fonts and layout).
ReportResult WritePdfReport(const ComparisonReport& report, const QString& path,
                            const ReportProgress& progress = {});
// By the extension; an unknown extension fails with a message naming the file.
ReportResult WriteReport(const ComparisonReport& report, const QString& path,
                         const ReportProgress& progress = {});

}  // namespace vellora
