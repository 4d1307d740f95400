// What a comparison found, independent of how it was found: the settings, the highlighted
// blocks with the word ranges they cover on each side, and the shares of both articles.
#pragma once

#include <cstdint>
#include <vector>

#include "UWords.h"

namespace vellora {

// "In order" is the walk of Article 1's windows through Article 2; "Anywhere" tiles Article 2
// with the longest passages that occur anywhere in Article 1.
enum class MatchMode : std::int32_t { InOrder = 0, Anywhere = 1 };

struct ComparisonSettings {
  MatchMode Mode = MatchMode::InOrder;
  std::int32_t MinLength = 1;  // in units; negative counts as 1, 0 marks nothing
  std::int32_t UnitType = 0;   // 0 words, 1 sentences, 2 paragraphs
  std::int32_t Gap = 0;        // Anywhere only: units allowed between two passages of one block
};

// One passage of Article 2 equal to a passage of Article 1: 0-based inclusive word indices.
struct SharedPassage {
  std::int32_t First1 = 0;
  std::int32_t Last1 = 0;
  std::int32_t First2 = 0;
  std::int32_t Last2 = 0;
};

// One highlighted block. Its range on each side runs from the first word of its first passage
// to the last word of its last passage (0-based, inclusive); with gaps, words inside the range
// may stay unmarked.
struct MatchBlock {
  std::int32_t Color = NoHighlight;  // 0x00BBGGRR, as in the word lists
  std::int32_t First1 = 0;
  std::int32_t Last1 = 0;
  std::int32_t First2 = 0;
  std::int32_t Last2 = 0;
  std::int32_t Words1 = 0;              // words of its passages in Article 1
  std::int32_t Words2 = 0;              // words of its passages in Article 2
  std::int32_t LongestPassage = 0;      // words of its longest passage, counted in Article 2
  std::vector<SharedPassage> Passages;  // in Article 2 order (the walk's matches for In order)
};

// Share of an article's words that are marked: the exact percentage and the whole number shown,
// a half going to the even neighbour.
struct DuplicateShare {
  std::int32_t Marked = 0;
  std::int32_t Total = 0;
  double Percent = 0.0;
  std::int64_t Shown = 0;
};

// Compared is false when either text is blank after trimming codes 0 to 32; then nothing was
// segmented or marked. Share is Article 2's share (the duplicate field), Share1 Article 1's.
struct CompareOutcome {
  bool Compared = false;
  DuplicateShare Share;
  DuplicateShare Share1;
  ComparisonSettings Settings;
  std::vector<MatchBlock> Blocks;  // in block order: colour order, Article 2 order for Anywhere

  // Words of the longest single passage shared by both articles (0 without blocks).
  std::int32_t LongestPassage() const;
};

// Index of the block whose passages mark this word of Article 1 (side 1) or Article 2 (side 2),
// or -1. Where blocks overlap in Article 1 the later block wins, as the colours do.
std::int32_t BlockAtWord(const std::vector<MatchBlock>& blocks, int side, std::int32_t word);

}  // namespace vellora
