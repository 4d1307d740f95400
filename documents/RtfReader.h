// Reading a Rich Text Format document: its body text with bold, italic, underline, colour and size.
#pragma once

#include <string_view>

#include "DocumentImport.h"
#include "ReadOutcome.h"

namespace vellora {

// The body text as formatted runs. Font, colour and style tables, pictures, fields' codes,
// headers, footers, notes, document information and unknown "\*" groups are not body text.
// A document cut short keeps the text read so far; groups nested too deeply are an error.
ReadOutcome<ImportedDocument> ReadRtf(std::string_view bytes);

}  // namespace vellora
