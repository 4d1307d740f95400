// The text of an OpenDocument text (.odt) document's content.xml: one line per paragraph or
// heading.
#pragma once

#include <string>
#include <string_view>

#include "ReadOutcome.h"

namespace vellora {

inline constexpr const char* kOdtContentPart = "content.xml";
inline constexpr const char* kOdtMimeType = "application/vnd.oasis.opendocument.text";

// Paragraphs and headings (in lists and tables too) become lines joined by "\n"; spaces given as
// text:s, tabs and line breaks are kept; notes, comments, tracked deletions and frames are left
// out. A run of spaces longer than kMaxRepeatUnits, a text past ImportTextLimit of the part's
// size and declared XML entities are refused with the cause.
ReadOutcome<std::u16string> ExtractOdtText(std::string_view contentXml);

}  // namespace vellora
