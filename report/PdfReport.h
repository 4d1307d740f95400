// The report laid out for pages: the header and the table of shared passages, then the two texts
// one after the other in their colours, with page numbers. Used for the PDF and for printing.
#pragma once

#include <functional>

#include <QLocale>
#include <QPageSize>

#include "ComparisonReport.h"

class QPagedPaintDevice;
class QTextDocument;

namespace vellora {

// Letter where the locale's country uses it, A4 elsewhere.
QPageSize ReportPageSize(const QLocale& locale = QLocale());

// Builds the report's rich text; progress gets 0 to 100 and returns false to stop (then false).
bool BuildReportDocument(const ComparisonReport& report, QTextDocument& document,
                         const std::function<bool(int)>& progress = {});

// Lays the report out on the device's pages and paints them. Progress runs 0 to 100; when it
// returns false painting stops and the function returns false. Needs a QGuiApplication.
bool PaintReport(const ComparisonReport& report, QPagedPaintDevice& device,
                 const std::function<bool(int)>& progress = {});

}  // namespace vellora
