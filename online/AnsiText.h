// The program's texts are 8-bit strings in the Windows ANSI code page (1252); these turn them
// into Qt strings only where they are shown.
#pragma once

#include <QString>
#include <string_view>

namespace vellora {

// Decodes 8-bit text as Windows-1252 (Latin-1 where that codec is unavailable).
QString AnsiToQString(std::string_view bytes);

}  // namespace vellora
