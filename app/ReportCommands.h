// The window's Report and Print... commands apart from the window: the save dialog with its
// remembered folder, saving with a cancellable progress dialog for a PDF, and printing the PDF's
// layout through the system's print dialog.
#pragma once

#include <QString>

#include "ComparisonReport.h"
#include "ReportFile.h"

class QFileDialog;
class QPrinter;
class QWidget;

namespace vellora {

// "Web page (*.html)" and "PDF (*.pdf)".
QString ReportFileFilters();

// Sets up dialog to save a report: both filters, the remembered folder, a default name.
void PrepareReportDialog(QFileDialog& dialog);

// The chosen name with the extension of the chosen filter added when it has none of its own.
QString ReportPathWithSuffix(const QString& path, const QString& selectedFilter);

// The folder the last report went to (QSettings), or the documents folder the first time.
QString RememberedReportFolder();
void RememberReportFolder(const QString& reportPath);

// Writes the report; a PDF shows a progress dialog over parent whose Cancel stops it, leaving
// no file behind.
ReportResult SaveReportWithProgress(QWidget* parent, const ComparisonReport& report,
                                    const QString& path);

// Prints the report on printer with the PDF's layout; false when painting failed.
bool PrintReportOn(QPrinter& printer, const ComparisonReport& report);
// Asks for a printer through QPrintDialog and prints; false when cancelled or failed.
bool PrintReportWithDialog(QWidget* parent, const ComparisonReport& report);

}  // namespace vellora
