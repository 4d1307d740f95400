#include "UWordIndex.h"

#include "UGramHash.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <string>

namespace vellora {
namespace {

constexpr std::uint64_t kLaneOnes = 0x0001000100010001ull;

// Four UTF-16 units packed in one word, with A to Z folded to a to z in every lane at once.
constexpr std::uint64_t FoldFour(std::uint64_t x) {
  const std::uint64_t low = x & 0x7FFF7FFF7FFF7FFFull;  // no lane can carry into the next
  const std::uint64_t atLeastA = low + (0x8000 - u'A') * kLaneOnes;
  const std::uint64_t aboveZ = low + (0x8000 - u'Z' - 1) * kLaneOnes;
  const std::uint64_t upper = atLeastA & ~aboveZ & ~x & 0x8000800080008000ull;
  return x | (upper >> 10);  // bit 15 of a lane down to 0x20: 'A' + 32 is 'a'
}

// A word folded into whole 64-bit chunks (the last one padded with zero units) and its hash.
class FoldedWord {
 public:
  explicit FoldedWord(std::u16string_view word) : length_(word.size()) {
    const std::size_t chunks = (word.size() + 3) / 4;
    if (chunks > kInline) heap_.resize(chunks);
    std::uint64_t* out = chunks > kInline ? heap_.data() : inline_;
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ word.size();
    std::size_t i = 0;
    for (std::size_t c = 0; c < chunks; ++c, i += 4) {
      std::uint64_t chunk = 0;
      std::memcpy(&chunk, word.data() + i, std::min<std::size_t>(4, word.size() - i) * 2);
      chunk = FoldFour(chunk);
      out[c] = chunk;
      h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    hash_ = h ^ (h >> 29);
    data_ = reinterpret_cast<const char16_t*>(out);
  }
  FoldedWord(const FoldedWord&) = delete;
  FoldedWord& operator=(const FoldedWord&) = delete;

  std::uint64_t Hash() const { return hash_; }
  std::u16string_view Units() const { return {data_, length_}; }

 private:
  static constexpr std::size_t kInline = 16;  // words of up to 64 units need no allocation
  std::size_t length_;
  std::uint64_t hash_ = 0;
  std::uint64_t inline_[kInline];  // written before it is read
  std::vector<std::uint64_t> heap_;
  const char16_t* data_ = nullptr;
};

std::u16string_view WordText(std::u16string_view text, const TWord& w) {
  const auto start = static_cast<std::size_t>(w.StartPos - 1);
  const auto length = static_cast<std::size_t>(w.EndPos - w.StartPos);
  if (w.StartPos < 1 || w.EndPos < w.StartPos || start + length > text.size()) return {};
  return text.substr(start, length);
}

// Open-addressing table from folded word text to id; grows at half load. Folded copies of the
// words live in one pool, so that look-ups stay in a small, cache-friendly area instead of
// reaching back into the article.
class IdTable {
 public:
  std::uint32_t Find(const FoldedWord& word) const {
    const std::u16string_view units = word.Units();
    for (std::size_t slot = word.Hash() & mask_;; slot = (slot + 1) & mask_) {
      const std::uint32_t entry = slots_[slot];
      if (entry == 0) return WordIndex::kAbsent;
      const Entry& e = entries_[entry - 1];
      if (e.hash == word.Hash() && e.length == units.size() &&
          std::memcmp(pool_.data() + e.offset, units.data(), units.size() * 2) == 0) {
        return entry - 1;
      }
    }
  }

  std::uint32_t Insert(const FoldedWord& word) {
    const std::uint32_t found = Find(word);
    if (found != WordIndex::kAbsent) return found;
    if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
    const auto id = static_cast<std::uint32_t>(entries_.size());
    const std::u16string_view units = word.Units();
    entries_.push_back(Entry{word.Hash(), static_cast<std::uint32_t>(pool_.size()),
                             static_cast<std::uint32_t>(units.size())});
    pool_.append(units);
    Place(id);
    return id;
  }

  std::uint32_t Size() const { return static_cast<std::uint32_t>(entries_.size()); }

 private:
  struct Entry {
    std::uint64_t hash;
    std::uint32_t offset;
    std::uint32_t length;
  };

  void Place(std::uint32_t id) {
    std::size_t slot = entries_[id].hash & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = id + 1;
  }
  void Grow() {
    slots_.assign(slots_.size() * 2, 0);
    mask_ = slots_.size() - 1;
    for (std::uint32_t id = 0; id < entries_.size(); ++id) Place(id);
  }

  std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(1024, 0);
  std::size_t mask_ = 1023;
  std::vector<Entry> entries_;
  std::u16string pool_;
};

std::size_t PairHash(std::uint32_t first, std::uint32_t second) {
  std::uint64_t h = (std::uint64_t{first} << 32 | second) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(h ^ (h >> 31));
}

std::uint32_t FindRoot(std::vector<std::uint32_t>& parent, std::uint32_t i) {
  std::uint32_t root = i;
  while (parent[root] != root) root = parent[root];
  while (parent[i] != root) {
    const std::uint32_t next = parent[i];
    parent[i] = root;
    i = next;
  }
  return root;
}

}  // namespace

WordIndex::WordIndex(std::u16string_view text1, const TListWords& words1, std::u16string_view text2,
                     const TListWords& words2, std::int32_t gramWords)
    : gramWords_(gramWords >= 4 ? gramWords : 0) {
  idCount_ = AssignWordIds(text1, words1, text2, words2, ids1_, ids2_);
  BuildLists();
}

std::uint32_t AssignWordIds(std::u16string_view text1, const TListWords& words1,
                            std::u16string_view text2, const TListWords& words2,
                            std::vector<std::uint32_t>& ids1, std::vector<std::uint32_t>& ids2) {
  IdTable table;
  ids2.resize(static_cast<std::size_t>(words2.Count()));
  for (int j = 0; j < words2.Count(); ++j) {
    ids2[static_cast<std::size_t>(j)] = table.Insert(FoldedWord(WordText(text2, words2[j])));
  }
  ids1.resize(static_cast<std::size_t>(words1.Count()));
  for (int i = 0; i < words1.Count(); ++i) {
    ids1[static_cast<std::size_t>(i)] = table.Find(FoldedWord(WordText(text1, words1[i])));
  }
  return table.Size();
}

// Past the end of Article 2 the id is idCount_, which sorts after every real id.
std::uint32_t WordIndex::IdAfter(std::uint32_t place, std::uint32_t offset) const {
  return place + offset < ids2_.size() ? ids2_[place + offset] : idCount_;
}

// Stable counting sort by the id `offset` words after each place.
std::vector<std::uint32_t> WordIndex::SortedByIdAfter(const std::vector<std::uint32_t>& in,
                                                      std::uint32_t offset) const {
  std::vector<std::uint32_t> start(idCount_ + 2, 0);
  for (const std::uint32_t j : in) ++start[IdAfter(j, offset) + 1];
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<std::uint32_t> out(in.size());
  for (const std::uint32_t j : in) out[start[IdAfter(j, offset)]++] = j;
  return out;
}

void WordIndex::BuildLists() {
  const auto n = static_cast<std::uint32_t>(ids2_.size());
  // Stable counting sorts, least significant key first, give every list its order: by id, then
  // by the following ids, then by place.
  std::vector<std::uint32_t> byPlace(n);
  std::iota(byPlace.begin(), byPlace.end(), 0u);
  lists_[0].places = SortedByIdAfter(byPlace, 0);
  groupStart_.assign(idCount_ + 1, 0);
  for (const std::uint32_t id : ids2_) ++groupStart_[id + 1];
  std::partial_sum(groupStart_.begin(), groupStart_.end(), groupStart_.begin());
  if (gramWords_ > 0) {
    BuildGramList();
  } else {
    BuildPairLists(byPlace);
  }
  for (OrderedList& list : lists_) {
    if (list.places.empty()) continue;
    list.slot.resize(n);
    for (std::uint32_t i = 0; i < n; ++i) list.slot[list.places[i]] = i;
    list.skip.resize(n + 1);
    std::iota(list.skip.begin(), list.skip.end(), 0u);
  }
}

void WordIndex::BuildPairLists(const std::vector<std::uint32_t>& byPlace) {
  const auto n = static_cast<std::uint32_t>(ids2_.size());
  std::vector<std::uint32_t> byNext = SortedByIdAfter(byPlace, 1);
  lists_[1].places = SortedByIdAfter(byNext, 0);
  lists_[2].places = SortedByIdAfter(SortedByIdAfter(SortedByIdAfter(byPlace, 2), 1), 0);
  std::vector<std::uint32_t>().swap(byNext);

  nextIds_.resize(n);
  thirdIds_.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    nextIds_[i] = IdAfter(lists_[1].places[i], 1);
    thirdIds_[i] = IdAfter(lists_[2].places[i], 2);
  }
  // One table entry per distinct pair, at most half full.
  std::size_t pairs = 0;
  for (std::uint32_t i = 0; i < n; ++i)
    pairs += (i == 0 || nextIds_[i] != nextIds_[i - 1] ||
              ids2_[lists_[1].places[i]] != ids2_[lists_[1].places[i - 1]]);
  std::size_t tableSize = 16;
  while (tableSize < pairs * 2) tableSize *= 2;
  pairTable_.assign(tableSize, PairSlot{});
  for (std::uint32_t i = 0; i < n;) {
    const std::uint32_t first = ids2_[lists_[1].places[i]];
    const std::uint32_t second = nextIds_[i];
    std::uint32_t end = i + 1;
    while (end < n && nextIds_[end] == second && ids2_[lists_[1].places[end]] == first) ++end;
    std::size_t slot = PairHash(first, second) & (tableSize - 1);
    while (pairTable_[slot].first != kAbsent) slot = (slot + 1) & (tableSize - 1);
    pairTable_[slot] = PairSlot{first, second, i, end};
    i = end;
  }
  std::vector<std::uint32_t>().swap(nextIds_);  // the table answers pair look-ups from here on
}

std::size_t WordIndex::GramSlot(std::uint64_t hash, std::uint32_t& tag) const {
  const std::uint64_t mixed = FinishGramHash(hash);
  tag = static_cast<std::uint32_t>(mixed) | 1u;
  return static_cast<std::size_t>(mixed >> gramShift_);
}

// Every gram of Article 2 gets the group of its hash, in order of first occurrence; a counting
// sort by group lists each group's places in increasing order. Places too near the end for a
// whole gram join no group: a window that long cannot match there.
void WordIndex::BuildGramList() {
  const auto n = static_cast<std::uint32_t>(ids2_.size());
  const std::vector<std::uint64_t> hashes2 = GramHashes(ids2_, gramWords_);
  std::size_t capacity = 1024;
  while (capacity < hashes2.size() * 2) capacity <<= 1;
  gramSlots_.assign(capacity, GramSlotEntry{});
  gramShift_ = 64 - std::countr_zero(capacity);
  const std::size_t mask = capacity - 1;
  std::vector<std::uint32_t> groupOf(hashes2.size());
  std::uint32_t groups = 0;
  constexpr std::size_t kAhead = 8;  // the table is larger than the cache
  for (std::size_t j = 0; j < hashes2.size(); ++j) {
    std::uint32_t tag;
    if (j + kAhead < hashes2.size())
      __builtin_prefetch(&gramSlots_[GramSlot(hashes2[j + kAhead], tag)]);
    for (std::size_t slot = GramSlot(hashes2[j], tag);; slot = (slot + 1) & mask) {
      GramSlotEntry& entry = gramSlots_[slot];
      if (entry.tag == tag) {
        groupOf[j] = entry.group;
        break;
      }
      if (entry.tag == 0) {
        entry = GramSlotEntry{tag, groups};
        groupOf[j] = groups++;
        break;
      }
    }
  }
  gramGroupStart_.assign(groups + 1, 0);
  for (const std::uint32_t g : groupOf) ++gramGroupStart_[g + 1];
  std::partial_sum(gramGroupStart_.begin(), gramGroupStart_.end(), gramGroupStart_.begin());
  std::vector<std::uint32_t> next(gramGroupStart_.begin(), gramGroupStart_.end() - 1);
  OrderedList& list = lists_[kGramList];
  list.places.resize(n);
  for (std::uint32_t j = 0; j < groupOf.size(); ++j) list.places[next[groupOf[j]]++] = j;
  // The places without a gram close the list, outside every group.
  for (auto j = static_cast<std::uint32_t>(groupOf.size()); j < n; ++j) {
    list.places[j] = j;
  }

  // Article 1's grams: one with a word Article 2 lacks cannot occur there.
  gramHashes1_ = GramHashes(ids1_, gramWords_);
  std::int32_t absent = 0;
  for (std::size_t i = 0; i < ids1_.size(); ++i) {
    absent += ids1_[i] == kAbsent;
    if (i >= static_cast<std::size_t>(gramWords_)) absent -= ids1_[i - gramWords_] == kAbsent;
    if (i + 1 >= static_cast<std::size_t>(gramWords_) && absent > 0) {
      gramHashes1_[i + 1 - gramWords_] = kNoGram;
    }
  }
}

WordIndex::Range WordIndex::GramPlacesOf(std::int32_t s1) const {
  const auto i = static_cast<std::size_t>(s1);
  if (i >= gramHashes1_.size() || gramHashes1_[i] == kNoGram) return Range{kGramList, 0, 0};
  std::uint32_t tag;
  const std::size_t mask = gramSlots_.size() - 1;
  for (std::size_t slot = GramSlot(gramHashes1_[i], tag);; slot = (slot + 1) & mask) {
    const GramSlotEntry& entry = gramSlots_[slot];
    if (entry.tag == tag) {
      return Range{kGramList, gramGroupStart_[entry.group], gramGroupStart_[entry.group + 1]};
    }
    if (entry.tag == 0) return Range{kGramList, 0, 0};
  }
}

void WordIndex::PrefetchGram(std::int32_t s1) const {
  const auto i = static_cast<std::size_t>(s1);
  if (i >= gramHashes1_.size() || gramHashes1_[i] == kNoGram) return;
  std::uint32_t tag;
  __builtin_prefetch(&gramSlots_[GramSlot(gramHashes1_[i], tag)]);
}

WordIndex::Range WordIndex::PlacesOf(std::int32_t s1, int leadingWords) const {
  const std::uint32_t first = Id1(s1);
  if (first >= idCount_) return {};
  Range range{0, groupStart_[first], groupStart_[first + 1]};
  for (int k = 1; k < leadingWords && range.list < 2; ++k) range = Extend(range, s1);
  return range;
}

// A pair comes from the table. Lists 1 and 2 are both grouped by the first two ids, so a pair's
// stretch is the same in list 2, where a binary search on the third id narrows it.
WordIndex::Range WordIndex::Extend(const Range& range, std::int32_t s1) const {
  if (range.begin >= range.end) return Range{range.list + 1, 0, 0};
  if (range.list == 0) return FindPair(Id1(s1), Id1(s1 + 1));
  const std::uint32_t third = Id1(s1 + 2);
  const auto [lo, hi] =
      std::equal_range(thirdIds_.begin() + range.begin, thirdIds_.begin() + range.end, third);
  return Range{2, static_cast<std::uint32_t>(lo - thirdIds_.begin()),
               static_cast<std::uint32_t>(hi - thirdIds_.begin())};
}

void WordIndex::Prefetch(std::int32_t s1) const {
  if (s1 < 0 || static_cast<std::size_t>(s1) + 1 >= ids1_.size() || pairTable_.empty()) return;
  const std::size_t slot = PairHash(Id1(s1), Id1(s1 + 1)) & (pairTable_.size() - 1);
  __builtin_prefetch(&pairTable_[slot]);
}

WordIndex::Range WordIndex::FindPair(std::uint32_t first, std::uint32_t second) const {
  const std::size_t mask = pairTable_.size() - 1;
  for (std::size_t slot = PairHash(first, second) & mask;; slot = (slot + 1) & mask) {
    const PairSlot& entry = pairTable_[slot];
    if (entry.first == kAbsent) return Range{1, 0, 0};
    if (entry.first == first && entry.second == second) return Range{1, entry.begin, entry.end};
  }
}

std::uint32_t WordIndex::LowerBound(const Range& range, std::int32_t from) const {
  const auto& places = lists_[range.list].places;
  const auto target = static_cast<std::uint32_t>(std::max(from, 0));
  return static_cast<std::uint32_t>(
      std::lower_bound(places.begin() + range.begin, places.begin() + range.end, target) -
      places.begin());
}

std::uint32_t WordIndex::NextUnmarked(const Range& range, std::uint32_t i) {
  return FindRoot(lists_[range.list].skip, i);
}

void WordIndex::MarkPlace(std::int32_t place) {
  const auto j = static_cast<std::size_t>(place);
  for (OrderedList& list : lists_) {
    if (!list.slot.empty()) list.skip[list.slot[j]] = list.slot[j] + 1;
  }
}

std::size_t WordIndex::MemoryBytes() const {
  std::size_t units = ids1_.capacity() + ids2_.capacity() + groupStart_.capacity() +
                      nextIds_.capacity() + thirdIds_.capacity() + gramGroupStart_.capacity() +
                      2 * (gramSlots_.capacity() + gramHashes1_.capacity());
  for (const OrderedList& list : lists_) {
    units += list.places.capacity() + list.slot.capacity() + list.skip.capacity();
  }
  return units * sizeof(std::uint32_t) + pairTable_.capacity() * sizeof(PairSlot);
}

}  // namespace vellora
