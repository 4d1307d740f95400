// The blocks of the comparison shown in the panes, and how to move among them: a block's text
// range in either pane, the next and previous block, and the partner of a highlighted word.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UMatchBlocks.h"
#include "UWords.h"

namespace vellora {

// A stretch of a pane: 0-based UTF-16 start and length.
struct PaneRange {
  std::int32_t Start = 0;
  std::int32_t Length = 0;
  bool operator==(const PaneRange&) const = default;
};

// Where a word of one article is copied from or to: its block and the stretch of the other
// article that the block's passages through the word pair with.
struct PartnerPlace {
  std::int32_t Block = -1;  // -1: the word is in no block
  PaneRange Range;          // the partner passage in the other pane
};

class ComparedBlocks {
 public:
  // Keeps the blocks with the word positions and Article 2's text they refer to.
  void Set(std::vector<MatchBlock> blocks, const TListWords& words1, const TListWords& words2,
           std::u16string_view text2);
  void Clear();

  std::int32_t Count() const { return static_cast<std::int32_t>(blocks_.size()); }
  bool Empty() const { return blocks_.empty(); }
  const MatchBlock& Block(std::int32_t index) const {
    return blocks_[static_cast<std::size_t>(index)];
  }

  // The block's range in Article 1 (side 1) or Article 2 (side 2), from its first word's first
  // character to its last word's last.
  PaneRange BlockRange(std::int32_t index, int side) const;

  // The block after (before) current, going round at the ends; from -1 the first (last) block.
  // -1 when there is none.
  std::int32_t Next(std::int32_t current) const;
  std::int32_t Previous(std::int32_t current) const;

  // The partner of the word at a caret position of side's pane: the word containing the
  // character at position, or else the one ending just before it.
  PartnerPlace PartnerAt(int side, std::int32_t position) const;

  // The block's first words in Article 2, at most maxWords of them and about maxChars
  // characters, line breaks and tabs shown as spaces; "…" marks a cut.
  std::u16string FirstWords(std::int32_t index, int maxWords = 8, int maxChars = 80) const;

 private:
  struct Place {
    std::int32_t Start;  // 0-based first character
    std::int32_t End;    // 0-based, just after the last character
  };
  const std::vector<Place>& Places(int side) const { return side == 1 ? places1_ : places2_; }
  PaneRange WordsRange(int side, std::int32_t first, std::int32_t last) const;
  std::int32_t WordAt(int side, std::int32_t position) const;

  std::vector<MatchBlock> blocks_;
  std::vector<Place> places1_;
  std::vector<Place> places2_;
  std::u16string text2_;
};

}  // namespace vellora
