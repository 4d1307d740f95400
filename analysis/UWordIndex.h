// Index of Article 2 for the comparison: every word mapped to an integer id (equal ids mean
// equal words, A to Z folded), the positions of each id and of each pair of ids in increasing
// order, and for each list a "next unmarked" chain that skips words already highlighted.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "UWords.h"

namespace vellora {

class WordIndex {
 public:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;  // a word of Article 1 not in Article 2

  WordIndex(std::u16string_view text1, const TListWords& words1, std::u16string_view text2,
            const TListWords& words2);

  std::uint32_t Id1(std::int32_t word) const { return ids1_[static_cast<std::size_t>(word)]; }
  std::uint32_t Id2(std::int32_t word) const { return ids2_[static_cast<std::size_t>(word)]; }

  // A list of Article 2 positions in increasing order, addressed by index into one of the two
  // position arrays.
  struct Range {
    bool pairs = false;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
  };
  Range PositionsOf(std::uint32_t id) const;
  Range PositionsOfPair(std::uint32_t first, std::uint32_t second) const;
  std::int32_t PositionAt(const Range& range, std::uint32_t i) const {
    return static_cast<std::int32_t>(range.pairs ? pairPositions_[i] : singlePositions_[i]);
  }
  // First index in the range whose position is at least from.
  std::uint32_t LowerBound(const Range& range, std::int32_t from) const;
  // First index at or after i whose word of Article 2 is still unmarked.
  std::uint32_t NextUnmarked(const Range& range, std::uint32_t i);

  // Records that the word at this position of Article 2 is now highlighted.
  void MarkPosition(std::int32_t position);

 private:
  void AssignIds(std::u16string_view text1, const TListWords& words1, std::u16string_view text2,
                 const TListWords& words2);
  void BuildPositionLists();

  std::vector<std::uint32_t> ids1_;
  std::vector<std::uint32_t> ids2_;
  std::uint32_t idCount_ = 0;
  std::vector<std::uint32_t> groupStart_;      // per id, start of its group in both arrays
  std::vector<std::uint32_t> singlePositions_;  // grouped by id, positions increasing
  std::vector<std::uint32_t> pairPositions_;    // grouped by id, then by the next word's id
  std::vector<std::uint32_t> singleSlot_;       // position -> index in singlePositions_
  std::vector<std::uint32_t> pairSlot_;         // position -> index in pairPositions_
  std::vector<std::uint32_t> singleSkip_;       // union-find "next unmarked" over indices
  std::vector<std::uint32_t> pairSkip_;
};

}  // namespace vellora
