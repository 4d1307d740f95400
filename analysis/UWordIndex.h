// Index of Article 2 for the comparison: every word mapped to an integer id (equal ids mean
// equal words, A to Z folded), and the places of each word, each pair and each triple of
// consecutive words in increasing order. Each list has a "next unmarked" chain that skips places
// whose word is already highlighted.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "UWords.h"

namespace vellora {

// Gives every word of Article 2 an id, equal ids for words equal as the comparison compares them
// (letters A to Z folded, everything else exact), ids counted from 0; a word of Article 1 gets
// the id of its equal in Article 2, or WordIndex::kAbsent. Returns the number of ids.
std::uint32_t AssignWordIds(std::u16string_view text1, const TListWords& words1,
                            std::u16string_view text2, const TListWords& words2,
                            std::vector<std::uint32_t>& ids1, std::vector<std::uint32_t>& ids2);

class WordIndex {
 public:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;  // a word of Article 1 not in Article 2

  // With gramWords of 4 or more, runs of that many words of Article 2 are indexed too (see
  // GramPlacesOf), and the pair and triple lists are left out.
  WordIndex(std::u16string_view text1, const TListWords& words1, std::u16string_view text2,
            const TListWords& words2, std::int32_t gramWords = 0);

  std::uint32_t Id1(std::int32_t word) const { return ids1_[static_cast<std::size_t>(word)]; }
  std::uint32_t Id2(std::int32_t word) const { return ids2_[static_cast<std::size_t>(word)]; }

  // Places in Article 2 where the given leading words of Article 1 (1, 2 or 3 of them, starting
  // at word s1) occur, as a stretch of one of the ordered lists; places inside a stretch increase.
  struct Range {
    int list = 0;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
  };
  Range PlacesOf(std::int32_t s1, int leadingWords) const;
  // With a gram index: places of Article 2 whose next GramWords() words may equal those at s1 of
  // Article 1 (every place where they are equal, and rarely another that only hashes alike).
  std::int32_t GramWords() const { return gramWords_; }
  Range GramPlacesOf(std::int32_t s1) const;
  void PrefetchGram(std::int32_t s1) const;
  // The places of one more leading word, found inside the range of the current ones.
  Range Extend(const Range& range, std::int32_t s1) const;
  // Starts loading the table entry of the pair at s1 of Article 1, which the walk needs next.
  void Prefetch(std::int32_t s1) const;

  std::int32_t PlaceAt(const Range& range, std::uint32_t i) const {
    return static_cast<std::int32_t>(lists_[range.list].places[i]);
  }
  // First index in the range whose place is at least from.
  std::uint32_t LowerBound(const Range& range, std::int32_t from) const;
  // First index at or after i whose word of Article 2 is still unmarked.
  std::uint32_t NextUnmarked(const Range& range, std::uint32_t i);

  // Records that the word at this place of Article 2 is now highlighted.
  void MarkPlace(std::int32_t place);

  std::size_t MemoryBytes() const;

 private:
  struct OrderedList {
    std::vector<std::uint32_t> places;  // grouped by id, then by the following ids
    std::vector<std::uint32_t> slot;    // place -> index in places
    std::vector<std::uint32_t> skip;    // union-find "next unmarked" over indices
  };

  void BuildLists();
  void BuildPairLists(const std::vector<std::uint32_t>& byPlace);
  std::vector<std::uint32_t> SortedByIdAfter(const std::vector<std::uint32_t>& in,
                                             std::uint32_t offset) const;
  void BuildGramList();
  std::size_t GramSlot(std::uint64_t hash, std::uint32_t& tag) const;
  std::uint32_t IdAfter(std::uint32_t place, std::uint32_t offset) const;

  std::vector<std::uint32_t> ids1_;
  std::vector<std::uint32_t> ids2_;
  std::uint32_t idCount_ = 0;
  std::vector<std::uint32_t> groupStart_;  // per id, start of its group in every list
  // By word; by word and next; by word, next, next but one; by gram hash. Lists not built are
  // empty.
  OrderedList lists_[4];
  static constexpr int kGramList = 3;
  std::int32_t gramWords_ = 0;
  // Article 2's grams by hash: slot -> tag and group; a group's stretch of the gram list.
  struct GramSlotEntry {
    std::uint32_t tag = 0;  // 0: empty
    std::uint32_t group = 0;
  };
  std::vector<GramSlotEntry> gramSlots_;
  int gramShift_ = 64;
  std::vector<std::uint32_t> gramGroupStart_;
  std::vector<std::uint64_t> gramHashes1_;  // per place of Article 1; kNoGram when it cannot occur
  static constexpr std::uint64_t kNoGram = 0;
  std::vector<std::uint32_t> nextIds_;  // for list 1: the next word's id; only while building
  // Stretch of list 1 for each pair of ids that occurs: open addressing on the pair.
  struct PairSlot {
    std::uint32_t first = kAbsent;
    std::uint32_t second = 0;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
  };
  std::vector<PairSlot> pairTable_;
  Range FindPair(std::uint32_t first, std::uint32_t second) const;
  std::vector<std::uint32_t> thirdIds_;  // for list 2: the id two words on of each entry
};

}  // namespace vellora
