// The "Anywhere" comparison: Article 2 is tiled, longest passage first, with runs of tokens that
// occur anywhere in Article 1, so that passages moved around or copied twice are all found.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "UMatchBlocks.h"
#include "UWords.h"

namespace vellora {

// Run of tokens of Article 2 equal to the run of Article 1 at Start1 (token indices).
struct Tile {
  std::int32_t Start1 = 0;
  std::int32_t Start2 = 0;
  std::int32_t Length = 0;
  bool operator==(const Tile&) const = default;
};

// How TileLongestFirst finds the longest run at each place of Article 2: a suffix automaton of
// Article 1 (linear on any input), or a hash index of Article 1's runs of min(minTokens, 8) tokens
// (fewer cache misses on ordinary texts). Automatic takes the index for minimums of 4 or more
// and changes to the automaton when the articles are so repetitive that the index would be slow.
// All three give the same tiles.
enum class TilingIndex { Automatic, Automaton, Grams };

// Repeatedly takes the longest run of untiled tokens of Article 2 that also occurs in Article 1
// (ties to the run that starts first in Article 2; its source is the first place in Article 1
// where it occurs) until the longest is shorter than minTokens (at least 1). Returns the tiles in
// Article 2 order. Near-linear: the index gives every place of Article 2 its longest run once,
// and a priority queue shortens the runs that a new tile cuts.
std::vector<Tile> TileLongestFirst(std::span<const std::uint32_t> tokens1,
                                   std::span<const std::uint32_t> tokens2, std::int32_t minTokens,
                                   TilingIndex method = TilingIndex::Automatic);

// Groups tiles (in Article 2 order) into blocks: a tile joins the block of the tile before it
// when it follows that tile in both articles with at most `gap` tokens between them on each side.
// Returns, for each block, the index of its first tile; blocks are consecutive runs of tiles.
std::vector<std::size_t> GroupTiles(const std::vector<Tile>& tiles, std::int32_t gap);

// The Anywhere comparison over two segmented articles (tokens are words, or whole sentences or
// paragraphs by unitType): writes the palette colours of the blocks into both word lists, the
// later block winning where sources overlap in Article 1, and returns the blocks. A minimum of 0
// marks nothing; a negative minimum counts as 1; a negative gap counts as 0.
std::vector<MatchBlock> CompareAnywhere(std::u16string_view text1, ArticleSpans& article1,
                                        std::u16string_view text2, ArticleSpans& article2,
                                        std::int32_t minLength, std::int32_t unitType,
                                        std::int32_t gap);

}  // namespace vellora
