#include "PdfReport.h"

#include <algorithm>
#include <cstdio>

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include "HtmlReport.h"

namespace vellora {

namespace {

QString FromUtf16(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QColor ToQColor(std::int32_t color) {
  const auto c = static_cast<std::uint32_t>(color);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

void AppendRow(std::string& out, std::string_view term, const std::string& escapedValue) {
  out += "<tr><td><b>";
  out += term;
  out += "</b></td><td>";
  out += escapedValue;
  out += "</td></tr>\n";
}

template <typename Text>
std::string Escaped(const Text& text) {
  std::string out;
  AppendEscapedHtml(out, text);
  return out;
}

// The header and the table in the rich-text subset QTextDocument reads.
std::string SummaryHtml(const ComparisonReport& report) {
  const CompareOutcome& outcome = report.Outcome;
  std::string out = "<html><body><h1>";
  AppendEscapedHtml(out, report.Brand);
  if (!report.Version.empty()) out += " " + Escaped(report.Version);
  out += " &#8212; comparison report</h1>\n<table cellspacing=\"0\" cellpadding=\"2\">\n";
  for (const ReportFact& fact : HeaderFacts(report)) AppendRow(out, fact.Term, Escaped(fact.Value));
  out += "</table>\n<h2>Shared passages</h2>\n";
  // The rows follow as tabbed lines (AppendPassageRows): a rich-text table slows down with
  // every row added and would take minutes for tens of thousands of blocks.
  if (outcome.Blocks.empty()) out += "<p><i>No shared passages.</i></p>\n";
  out += "</body></html>";
  return out;
}

// The table of shared passages, one tabbed line per block with a swatch of its colour.
bool AppendPassageRows(QTextCursor& cursor, const ComparisonReport& report, double pointSize,
                       const std::function<bool(int)>& progress) {
  const auto& blocks = report.Outcome.Blocks;
  if (blocks.empty()) return true;
  QTextBlockFormat row;
  row.setTabPositions({QTextOption::Tab(28 * pointSize, QTextOption::RightTab),
                       QTextOption::Tab(38 * pointSize, QTextOption::LeftTab),
                       QTextOption::Tab(150 * pointSize, QTextOption::RightTab),
                       QTextOption::Tab(235 * pointSize, QTextOption::RightTab),
                       QTextOption::Tab(245 * pointSize, QTextOption::LeftTab)});
  row.setTopMargin(1);
  QTextCharFormat text;
  text.setFontPointSize(9);
  QTextCharFormat heading = text;
  heading.setFontWeight(QFont::Bold);
  cursor.insertBlock(row, heading);
  cursor.insertText(QStringLiteral("\tBlock\tColour\tWords in 1\tWords in 2\tFirst words"));
  QTextCharFormat swatch = text;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const MatchBlock& block = blocks[b];
    cursor.insertBlock(row, text);
    cursor.insertText(QStringLiteral("\t%1\t").arg(b + 1), text);
    swatch.setBackground(ToQColor(block.Color));
    cursor.insertText(QStringLiteral("\u2003\u2003\u2003"), swatch);
    cursor.insertText(QStringLiteral("\t%1\t%2\t").arg(block.Words1).arg(block.Words2) +
                          FromUtf16(BlockOpening(report, block, 6)),
                      text);
    if (progress && b % 1024 == 1023 && !progress(static_cast<int>(10 * (b + 1) / blocks.size()))) {
      return false;
    }
  }
  return true;
}

// Appends one article: a heading on a new page, then its text run by run in its colours.
bool AppendArticle(QTextCursor& cursor, const ReportArticle& article, int side,
                   const std::vector<MatchBlock>& blocks, const std::function<bool(int)>& progress,
                   int progressFrom, int progressTo) {
  QTextBlockFormat headingBlock;
  headingBlock.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  headingBlock.setBottomMargin(8);
  QTextCharFormat heading;
  heading.setFontWeight(QFont::Bold);
  heading.setFontPointSize(13);
  cursor.insertBlock(headingBlock, heading);
  cursor.insertText(QStringLiteral("Article %1: ").arg(side) + FromUtf16(article.Source));
  cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());

  const std::vector<ReportRun> runs = SplitIntoRuns(article, blocks, side);
  const QString text = FromUtf16(article.Text);
  QTextCharFormat plain;
  QTextCharFormat marked;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const ReportRun& run = runs[i];
    const QString piece = text.mid(run.Begin, run.End - run.Begin);
    if (run.Color == NoHighlight) {
      cursor.insertText(piece, plain);
    } else {
      marked.setBackground(ToQColor(run.Color));
      cursor.insertText(piece, marked);
    }
    if (progress && i % 2048 == 2047) {
      const int percent =
          progressFrom + static_cast<int>((progressTo - progressFrom) * (i + 1) / runs.size());
      if (!progress(percent)) return false;
    }
  }
  return true;
}

}  // namespace

QPageSize ReportPageSize(const QLocale& locale) {
  switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Philippines:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::Venezuela:
    case QLocale::PuertoRico:
    case QLocale::Guatemala:
    case QLocale::CostaRica:
      return QPageSize(QPageSize::Letter);
    default:
      return QPageSize(QPageSize::A4);
  }
}

bool BuildReportDocument(const ComparisonReport& report, QTextDocument& document,
                         const std::function<bool(int)>& progress) {
  document.setUndoRedoEnabled(false);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(10);
  // No ligatures: text copied out of the PDF must read "first", not "\uFB01rst".
  font.setStyleStrategy(QFont::PreferNoShaping);
  document.setDefaultFont(font);
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  cursor.insertHtml(QString::fromStdString(SummaryHtml(report)));
  // Tab positions are in pixels at 96 per inch; the layout scales them to the device.
  const double pointSize = 96.0 / 72.0;
  if (!AppendPassageRows(cursor, report, pointSize, progress)) return false;
  if (progress && !progress(10)) return false;
  if (!AppendArticle(cursor, report.Article1, 1, report.Outcome.Blocks, progress, 10, 55)) {
    return false;
  }
  if (!AppendArticle(cursor, report.Article2, 2, report.Outcome.Blocks, progress, 55, 100)) {
    return false;
  }
  cursor.endEditBlock();
  return !progress || progress(100);
}

bool PaintReport(const ComparisonReport& report, QPagedPaintDevice& device,
                 const std::function<bool(int)>& progress) {
  // Building takes about a third of the time, layout a sixth, painting the rest.
  const auto scaled = [&](int from, int to) {
    return [&progress, from, to](int percent) {
      return !progress || progress(from + (to - from) * percent / 100);
    };
  };
  QTextDocument document;
  document.documentLayout()->setPaintDevice(&device);
  if (!BuildReportDocument(report, document, scaled(0, 35))) return false;

  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double dpi = device.logicalDpiY();
  const QRectF page(0, 0, device.width(), device.height());
  QFont footerFont = document.defaultFont();
  footerFont.setPointSizeF(9);
  const double footer = QFontMetricsF(footerFont, &device).height() * 2.0;
  const QSizeF body(page.width(), std::max(page.height() - footer, dpi));
  document.setPageSize(body);
  const int pages = document.pageCount();
  if (!scaled(35, 50)(100)) {
    painter.end();
    return false;
  }

  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, Qt::black);
  for (int i = 0; i < pages; ++i) {
    if (i > 0 && !device.newPage()) {
      painter.end();
      return false;
    }
    painter.save();
    const QRectF view(0, i * body.height(), body.width(), body.height());
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    context.clip = view;
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    painter.setFont(footerFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, body.height(), page.width(), footer), Qt::AlignCenter,
                     QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
    if (!scaled(50, 100)((i + 1) * 100 / pages)) {
      painter.end();
      return false;
    }
  }
  painter.end();
  return true;
}

}  // namespace vellora
