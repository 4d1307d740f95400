// Reference for the Anywhere comparison: the longest-first tiling, the blocks, the colours and
// both shares transcribed from their definition, comparing case-folded copies of the words with
// no index. Cubic on purpose; tests compare the engine against it on small articles.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "UMatchBlocks.h"
#include "UWords.h"

namespace vellora::reference {

struct LiteralAnywhereResult {
  bool Compared = false;              // false when either text is blank
  std::vector<std::int32_t> Colors1;  // one colour per word of Article 1
  std::vector<std::int32_t> Colors2;  // one colour per word of Article 2
  std::vector<MatchBlock> Blocks;     // in Article 2 order
  std::int32_t Marked1 = 0;
  std::int32_t Marked2 = 0;
};

// Segments both texts itself (as Compare does) and tiles Article 2 by tokens of unitType
// (0 words, 1 sentences, 2 paragraphs).
LiteralAnywhereResult LiteralAnywhere(std::u16string_view text1, std::u16string_view text2,
                                      std::int32_t minLength, std::int32_t unitType,
                                      std::int32_t gap);

}  // namespace vellora::reference
