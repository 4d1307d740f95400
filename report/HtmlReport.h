// The report as one self-contained HTML5 page: inline style, no script, every block marked in its
// colour in both columns and linked to its partner.
#pragma once

#include <string>
#include <string_view>

#include "ComparisonReport.h"

namespace vellora {

// The whole page as UTF-8.
std::string RenderHtmlReport(const ComparisonReport& report);

// Appends text as UTF-8 with every character that could be read as markup escaped; lone
// surrogates become U+FFFD and control characters other than tab and line break become
// character references.
void AppendEscapedHtml(std::string& out, std::u16string_view text);
void AppendEscapedHtml(std::string& out, std::string_view utf8);

}  // namespace vellora
