// The text of a Word (.docx) document's main part, word/document.xml: one line per paragraph.
#pragma once

#include <string>
#include <string_view>

#include "ReadOutcome.h"

namespace vellora {

inline constexpr const char* kDocxMainPart = "word/document.xml";

// Paragraphs (table cells included) become lines joined by "\n"; tabs, line breaks and
// non-breaking hyphens are kept; deleted revisions, field codes and text boxes are left out. A
// text past ImportTextLimit of the part's size and declared XML entities are refused.
ReadOutcome<std::u16string> ExtractDocxText(std::string_view documentXml);

}  // namespace vellora
