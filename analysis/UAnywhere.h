// The "Anywhere" comparison: Article 2 is tiled, longest passage first, with runs of tokens that
// occur anywhere in Article 1, so that passages moved around or copied twice are all found.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
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

// TileLongestFirst (automatic index) in two steps: Article 1's index is built first, for instance
// on the thread that read Article 1 while Article 2 is still being read, then Article 2 is tiled
// against it. Article 1's tokens must outlive the source; tokens of Article 2 that Article 1
// lacks may carry any value no token of Article 1 has.
class TilingSource {
 public:
  TilingSource(std::span<const std::uint32_t> tokens1, std::int32_t minTokens);
  TilingSource(TilingSource&&) noexcept;
  TilingSource& operator=(TilingSource&&) noexcept;
  ~TilingSource();

  // The tiles TileLongestFirst(tokens1, tokens2, minTokens) gives.
  std::vector<Tile> TileArticle2(std::span<const std::uint32_t> tokens2) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Groups tiles (in Article 2 order) into blocks: a tile joins the block of the tile before it
// when it follows that tile in both articles with at most `gap` tokens between them on each side.
// Returns, for each block, the index of its first tile; blocks are consecutive runs of tiles.
std::vector<std::size_t> GroupTiles(const std::vector<Tile>& tiles, std::int32_t gap);

// Hash of a unit's word ids, for the tables that give equal units equal ids.
struct WordSequenceHash {
  std::size_t operator()(const std::vector<std::uint32_t>& ids) const;
};

// Article 1's side of the Anywhere comparison, built from Article 1 alone: its tokens (words, or
// whole sentences or paragraphs by unitType) numbered from its own word ids, and the tiling's
// index over them. Compare then needs only Article 2's words numbered in the same ids.
class AnywhereSource {
 public:
  // ids1: the id of each word of Article 1, equal ids for equal words. A minimum of 0 tiles
  // nothing; a negative one counts as 1.
  AnywhereSource(const ArticleSpans& article1, const std::vector<std::uint32_t>& ids1,
                 std::int32_t unitType, std::int32_t minLength);

  // Whether this source serves a comparison with these settings.
  bool Serves(std::int32_t unitType, std::int32_t minLength) const {
    return unitType == unitType_ && minLength == minLength_;
  }
  AnywhereSource(const AnywhereSource&) = delete;
  AnywhereSource& operator=(const AnywhereSource&) = delete;
  ~AnywhereSource();

  // What CompareAnywhere does with this Article 1: ids2 gives each word of Article 2 the id of
  // its equal in Article 1, or an id that no word of Article 1 has. Call once.
  std::vector<MatchBlock> Compare(ArticleSpans& article1, ArticleSpans& article2,
                                  std::vector<std::uint32_t> ids2, std::int32_t gap);

 private:
  std::int32_t unitType_;
  std::int32_t minLength_;
  std::vector<SharedPassage> units1_;  // word range of each unit (First1/Last1)
  std::unordered_map<std::vector<std::uint32_t>, std::uint32_t, WordSequenceHash> unitIds_;
  std::vector<std::uint32_t> tokens1_;
  std::unique_ptr<TilingSource> tiling_;  // over tokens1_; none with a minimum of 0
};

// The Anywhere comparison over two segmented articles (tokens are words, or whole sentences or
// paragraphs by unitType): writes the palette colours of the blocks into both word lists, the
// later block winning where sources overlap in Article 1, and returns the blocks. A minimum of 0
// marks nothing; a negative minimum counts as 1; a negative gap counts as 0.
std::vector<MatchBlock> CompareAnywhere(std::u16string_view text1, ArticleSpans& article1,
                                        std::u16string_view text2, ArticleSpans& article2,
                                        std::int32_t minLength, std::int32_t unitType,
                                        std::int32_t gap);

}  // namespace vellora
