// Word ids: every word of an article gets an integer, equal integers for words equal as the
// comparison compares them (letters A to Z folded, every other character exact).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UWords.h"

namespace vellora {

// The id of a word that the other article does not have.
inline constexpr std::uint32_t kAbsentWord = 0xFFFFFFFFu;

// The distinct words of one article, numbered from 0 in the order of their first occurrence,
// and the number of every word. Each article's dictionary can be built on its own thread; the
// few distinct words are then looked up in the other article's dictionary (MapInto), so only
// they, not every word, cross between the articles.
class WordDictionary {
 public:
  WordDictionary() = default;
  // The text must be the one the words were segmented from.
  WordDictionary(std::u16string_view text, const TListWords& words);

  // Per word of the article, its id.
  const std::vector<std::uint32_t>& Ids() const { return ids_; }
  std::vector<std::uint32_t> TakeIds() { return std::move(ids_); }
  // Number of distinct words (ids run from 0 to Size() - 1).
  std::uint32_t Size() const { return static_cast<std::uint32_t>(entries_.size()); }

  // The id of a word (as it appears in a text, unfolded), or kAbsentWord.
  std::uint32_t IdOf(std::u16string_view word) const;

  // For each id of this dictionary, the id of the same word in `other`, or kAbsentWord.
  std::vector<std::uint32_t> MapInto(const WordDictionary& other) const;

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t offset;  // first folded chunk in pool_
    std::uint32_t length;  // in UTF-16 units
  };
  // Words are compared folded, four UTF-16 units to a 64-bit chunk.
  std::uint32_t Find(std::uint64_t hash, const std::uint64_t* chunks, std::uint32_t length) const;
  std::uint32_t Insert(std::uint64_t hash, const std::uint64_t* chunks, std::uint32_t length);
  void Place(std::uint32_t id);
  void Grow();

  std::vector<std::uint32_t> ids_;
  // Open addressing from folded word to id + 1 (0 is empty) with the hash's upper half and the
  // word's place in the pool beside it, so that a probe reads no entry; grows at half load. Folded
  // copies of the words live in one pool, so that look-ups stay in a small, cache-friendly area
  // instead of reaching back into the article.
  struct Slot {
    std::uint32_t id = 0;
    std::uint32_t tag = 0;
    std::uint32_t offset = 0;  // the word's folded chunks in pool_, as in its entry
    std::uint32_t length = 0;
  };
  std::vector<Slot> slots_ = std::vector<Slot>(1024);
  std::size_t mask_ = 1023;
  std::vector<Entry> entries_;
  std::vector<std::uint64_t> pool_;
};

// Gives every word of Article 2 an id, equal ids for equal words, ids counted from 0 in the order
// of first occurrence; a word of Article 1 gets the id of its equal in Article 2, or kAbsentWord.
// Returns the number of ids.
std::uint32_t AssignWordIds(std::u16string_view text1, const TListWords& words1,
                            std::u16string_view text2, const TListWords& words2,
                            std::vector<std::uint32_t>& ids1, std::vector<std::uint32_t>& ids2);

}  // namespace vellora
