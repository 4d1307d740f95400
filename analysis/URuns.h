// Division of an article's stored text into coloured runs for redrawing a pane.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "UWords.h"

namespace vellora {

// A stretch of the stored text drawn in one colour (NoHighlight for plain text).
struct TextRun {
  std::int32_t Start = 0;   // 0-based offset into the text
  std::int32_t Length = 0;  // in UTF-16 units, at least 1
  std::int32_t Color = NoHighlight;

  bool operator==(const TextRun&) const = default;
};

}  // namespace vellora

// Runs that together give back the text exactly; a gap between two words takes their colour
// only when both words share it, and text before the first word is never highlighted.
std::vector<vellora::TextRun> BuildRuns(std::u16string_view text, const TListWords& words);
