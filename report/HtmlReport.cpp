#include "HtmlReport.h"

#include <cstdio>

namespace vellora {

namespace {

constexpr const char* kStyle = R"css(
*{box-sizing:border-box}
body{margin:0;padding:1.5rem;font:15px/1.5 "DejaVu Sans",Arial,Helvetica,sans-serif;color:#111;background:#fff}
h1{font-size:1.5rem;margin:0 0 .5rem}
h2{font-size:1.15rem;margin:1.2rem 0 .5rem}
dl.facts{display:grid;grid-template-columns:max-content 1fr;gap:.15rem 1rem;margin:0}
dl.facts dt{font-weight:bold}
dl.facts dd{margin:0}
table{border-collapse:collapse;width:100%}
th,td{border:1px solid #bbb;padding:.2rem .45rem;text-align:left;vertical-align:top}
th{background:#eee}
td.n{text-align:right;white-space:nowrap}
.sw{display:inline-block;width:1.6em;height:1em;border:1px solid #555;vertical-align:middle}
.cols{display:grid;grid-template-columns:1fr 1fr;gap:1.5rem;align-items:start}
.col{min-width:0}
.text{white-space:pre-wrap;overflow-wrap:anywhere;border:1px solid #ccc;padding:.75rem;margin:0;font:inherit}
mark{color:#000;padding:0}
mark a{color:inherit;text-decoration:none}
mark a:hover{text-decoration:underline}
mark:target{outline:3px solid #d00;outline-offset:1px;box-shadow:0 0 0 6px rgba(221,0,0,.25)}
mark:target{scroll-margin-top:4rem}
.none{font-style:italic}
mark,.sw{-webkit-print-color-adjust:exact;print-color-adjust:exact}
@media print{
body{padding:0;font-size:10pt}
.cols{display:block}
.col{break-before:page}
.text{border:none;padding:0}
a{color:inherit;text-decoration:none}
tr{break-inside:avoid}
}
)css";

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendCharacter(std::string& out, char32_t c) {
  switch (c) {
    case U'&':
      out += "&amp;";
      return;
    case U'<':
      out += "&lt;";
      return;
    case U'>':
      out += "&gt;";
      return;
    case U'"':
      out += "&quot;";
      return;
    case U'\'':
      out += "&#39;";
      return;
    case U'\n':
    case U'\t':
      out += static_cast<char>(c);
      return;
    default:
      break;
  }
  if (c == 0) {
    out += "\xEF\xBF\xBD";  // a NUL has no place in a page
  } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
    static const char hex[] = "0123456789ABCDEF";
    out += "&#x";
    if (c >= 0x10) out += hex[(c >> 4) & 0xF];
    out += hex[c & 0xF];
    out += ';';
  } else {
    AppendUtf8(out, c);
  }
}

std::string Escaped(std::string_view utf8) {
  std::string out;
  AppendEscapedHtml(out, utf8);
  return out;
}

std::string BlockId(int side, std::size_t block) {
  return "a" + std::to_string(side) + "-b" + std::to_string(block + 1);
}

void AppendFact(std::string& out, std::string_view term, const std::string& escapedValue) {
  out += "<dt>";
  out += term;
  out += "</dt><dd>";
  out += escapedValue;
  out += "</dd>\n";
}

void AppendHeader(std::string& out, const ComparisonReport& report) {
  out += "<header>\n<h1>";
  AppendEscapedHtml(out, report.Brand);
  if (!report.Version.empty()) {
    out += " ";
    AppendEscapedHtml(out, report.Version);
  }
  out += " &#8212; comparison report</h1>\n<dl class=\"facts\">\n";
  for (const ReportFact& fact : HeaderFacts(report))
    AppendFact(out, fact.Term, Escaped(fact.Value));
  out += "</dl>\n</header>\n";
}

void AppendPassageTable(std::string& out, const ComparisonReport& report,
                        const std::vector<bool> (&onSide)[2]) {
  out += "<section id=\"passages\">\n<h2>Shared passages</h2>\n";
  const auto& blocks = report.Outcome.Blocks;
  if (blocks.empty()) {
    out += "<p class=\"none\">No shared passages.</p>\n</section>\n";
    return;
  }
  out +=
      "<table>\n<thead><tr><th>Block</th><th>Colour</th><th>Words in Article 1</th>"
      "<th>Words in Article 2</th><th>First words</th><th>Go to</th></tr></thead>\n<tbody>\n";
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const MatchBlock& block = blocks[b];
    out += "<tr><td class=\"n\">" + std::to_string(b + 1) +
           "</td><td><span class=\"sw\" style=\"background:" + CssColor(block.Color) +
           "\"></span></td><td class=\"n\">" + std::to_string(block.Words1) +
           "</td><td class=\"n\">" + std::to_string(block.Words2) + "</td><td>";
    AppendEscapedHtml(out, BlockOpening(report, block));
    out += "</td><td>";
    for (int side = 1; side <= 2; ++side) {
      if (!onSide[side - 1][b]) continue;
      if (side == 2 && onSide[0][b]) out += " ";
      out += "<a href=\"#" + BlockId(side, b) + "\">Article " + std::to_string(side) + "</a>";
    }
    out += "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n</section>\n";
}

void AppendColumn(std::string& out, const ReportArticle& article, int side,
                  const std::vector<ReportRun>& runs, const std::vector<bool> (&onSide)[2]) {
  const int partner = side == 1 ? 2 : 1;
  out += "<section class=\"col\" id=\"article" + std::to_string(side) + "\">\n<h2>Article " +
         std::to_string(side) + ": ";
  AppendEscapedHtml(out, article.Source);
  out += "</h2>\n<div class=\"text\">";
  const std::u16string_view text = article.Text;
  for (const ReportRun& run : runs) {
    const std::u16string_view piece = text.substr(static_cast<std::size_t>(run.Begin),
                                                  static_cast<std::size_t>(run.End - run.Begin));
    if (run.Color == NoHighlight) {
      AppendEscapedHtml(out, piece);
      continue;
    }
    out += "<mark";
    if (run.Block >= 0) {
      const auto b = static_cast<std::size_t>(run.Block);
      if (run.FirstOfBlock) out += " id=\"" + BlockId(side, b) + "\"";
      out += " class=\"b" + std::to_string(b + 1) + "\"";
    }
    out += " style=\"background:" + CssColor(run.Color) + "\">";
    const bool linked = run.Block >= 0 && onSide[partner - 1][static_cast<std::size_t>(run.Block)];
    if (linked) {
      out += "<a href=\"#" + BlockId(partner, static_cast<std::size_t>(run.Block)) + "\">";
    }
    AppendEscapedHtml(out, piece);
    out += linked ? "</a></mark>" : "</mark>";
  }
  out += "</div>\n</section>\n";
}

}  // namespace

void AppendEscapedHtml(std::string& out, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c >= 0x20 && c < 0x7F && c != U'&' && c != U'<' && c != U'>' && c != U'"' && c != U'\'') {
      out += static_cast<char>(c);
    } else {
      AppendCharacter(out, c);
    }
  }
}

void AppendEscapedHtml(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      out += c;  // already UTF-8; multi-byte sequences carry no markup
    } else {
      AppendCharacter(out, u);
    }
  }
}

std::string RenderHtmlReport(const ComparisonReport& report) {
  const auto& blocks = report.Outcome.Blocks;
  const std::vector<ReportRun> runs1 = SplitIntoRuns(report.Article1, blocks, 1);
  const std::vector<ReportRun> runs2 = SplitIntoRuns(report.Article2, blocks, 2);
  std::vector<bool> onSide[2] = {std::vector<bool>(blocks.size(), false),
                                 std::vector<bool>(blocks.size(), false)};
  for (const ReportRun& run : runs1) {
    if (run.Block >= 0) onSide[0][static_cast<std::size_t>(run.Block)] = true;
  }
  for (const ReportRun& run : runs2) {
    if (run.Block >= 0) onSide[1][static_cast<std::size_t>(run.Block)] = true;
  }

  std::string out;
  out.reserve((report.Article1.Text.size() + report.Article2.Text.size()) * 2 +
              (runs1.size() + runs2.size()) * 80 + blocks.size() * 300 + 8192);
  out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  out += "<meta name=\"generator\" content=\"";
  AppendEscapedHtml(out, report.Brand);
  out += "\">\n<title>";
  AppendEscapedHtml(out, report.Brand);
  out += " report: ";
  AppendEscapedHtml(out, report.Article1.Source);
  out += " / ";
  AppendEscapedHtml(out, report.Article2.Source);
  out += "</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n";
  AppendHeader(out, report);
  AppendPassageTable(out, report, onSide);
  out += "<main class=\"cols\">\n";
  AppendColumn(out, report.Article1, 1, runs1, onSide);
  AppendColumn(out, report.Article2, 2, runs2, onSide);
  out += "</main>\n</body>\n</html>\n";
  return out;
}

}  // namespace vellora
