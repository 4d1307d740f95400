#include "UWordIndex.h"

#include <algorithm>
#include <numeric>

namespace vellora {
namespace {

constexpr char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

std::uint64_t HashFolded(std::u16string_view word) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ word.size();
  for (const char16_t c : word) {
    h = (h ^ FoldAscii(c)) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 29;
  }
  return h ^ (h >> 32);
}

bool EqualFolded(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::u16string_view WordText(std::u16string_view text, const TWord& w) {
  const auto start = static_cast<std::size_t>(w.StartPos - 1);
  const auto length = static_cast<std::size_t>(w.EndPos - w.StartPos);
  if (w.StartPos < 1 || w.EndPos < w.StartPos || start + length > text.size()) return {};
  return text.substr(start, length);
}

// Open-addressing table from folded word text to id; grows at half load.
class IdTable {
 public:
  std::uint32_t Find(std::u16string_view word, std::uint64_t hash) const {
    for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const std::uint32_t entry = slots_[slot];
      if (entry == 0) return WordIndex::kAbsent;
      if (hashes_[entry - 1] == hash && EqualFolded(words_[entry - 1], word)) return entry - 1;
    }
  }

  std::uint32_t Insert(std::u16string_view word, std::uint64_t hash) {
    const std::uint32_t found = Find(word, hash);
    if (found != WordIndex::kAbsent) return found;
    if ((words_.size() + 1) * 2 > slots_.size()) Grow();
    const auto id = static_cast<std::uint32_t>(words_.size());
    words_.push_back(word);
    hashes_.push_back(hash);
    Place(id);
    return id;
  }

  std::uint32_t Size() const { return static_cast<std::uint32_t>(words_.size()); }

 private:
  void Place(std::uint32_t id) {
    std::size_t slot = hashes_[id] & mask_;
    while (slots_[slot] != 0) slot = (slot + 1) & mask_;
    slots_[slot] = id + 1;
  }
  void Grow() {
    slots_.assign(slots_.size() * 2, 0);
    mask_ = slots_.size() - 1;
    for (std::uint32_t id = 0; id < words_.size(); ++id) Place(id);
  }

  std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(1024, 0);
  std::size_t mask_ = 1023;
  std::vector<std::u16string_view> words_;
  std::vector<std::uint64_t> hashes_;
};

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

WordIndex::WordIndex(std::u16string_view text1, const TListWords& words1,
                     std::u16string_view text2, const TListWords& words2) {
  AssignIds(text1, words1, text2, words2);
  BuildPositionLists();
}

void WordIndex::AssignIds(std::u16string_view text1, const TListWords& words1,
                          std::u16string_view text2, const TListWords& words2) {
  IdTable table;
  ids2_.resize(static_cast<std::size_t>(words2.Count()));
  for (int j = 0; j < words2.Count(); ++j) {
    const std::u16string_view w = WordText(text2, words2[j]);
    ids2_[static_cast<std::size_t>(j)] = table.Insert(w, HashFolded(w));
  }
  idCount_ = table.Size();
  ids1_.resize(static_cast<std::size_t>(words1.Count()));
  for (int i = 0; i < words1.Count(); ++i) {
    const std::u16string_view w = WordText(text1, words1[i]);
    ids1_[static_cast<std::size_t>(i)] = table.Find(w, HashFolded(w));
  }
}

void WordIndex::BuildPositionLists() {
  const auto n = static_cast<std::uint32_t>(ids2_.size());
  // Counting sort by id; positions stay increasing inside each group.
  groupStart_.assign(idCount_ + 1, 0);
  for (const std::uint32_t id : ids2_) ++groupStart_[id + 1];
  std::partial_sum(groupStart_.begin(), groupStart_.end(), groupStart_.begin());
  singlePositions_.resize(n);
  {
    std::vector<std::uint32_t> fill(groupStart_.begin(), groupStart_.end() - 1);
    for (std::uint32_t j = 0; j < n; ++j) singlePositions_[fill[ids2_[j]]++] = j;
  }
  // Pairs: a stable counting sort by the next word's id, then by the word's own id, gives each
  // group ordered by next id and, within one pair, by position. The last word has no next word
  // and sorts last in its group.
  const auto nextId = [&](std::uint32_t j) { return j + 1 < n ? ids2_[j + 1] : idCount_; };
  std::vector<std::uint32_t> byNext(n);
  {
    std::vector<std::uint32_t> start(idCount_ + 2, 0);
    for (std::uint32_t j = 0; j < n; ++j) ++start[nextId(j) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    for (std::uint32_t j = 0; j < n; ++j) byNext[start[nextId(j)]++] = j;
  }
  pairPositions_.resize(n);
  {
    std::vector<std::uint32_t> fill(groupStart_.begin(), groupStart_.end() - 1);
    for (const std::uint32_t j : byNext) pairPositions_[fill[ids2_[j]]++] = j;
  }
  singleSlot_.resize(n);
  pairSlot_.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    singleSlot_[singlePositions_[i]] = i;
    pairSlot_[pairPositions_[i]] = i;
  }
  singleSkip_.resize(n + 1);
  std::iota(singleSkip_.begin(), singleSkip_.end(), 0u);
  pairSkip_ = singleSkip_;
}

WordIndex::Range WordIndex::PositionsOf(std::uint32_t id) const {
  if (id >= idCount_) return {};
  return Range{false, groupStart_[id], groupStart_[id + 1]};
}

WordIndex::Range WordIndex::PositionsOfPair(std::uint32_t first, std::uint32_t second) const {
  if (first >= idCount_ || second >= idCount_) return {};
  const auto n = static_cast<std::uint32_t>(ids2_.size());
  const auto begin = pairPositions_.begin() + groupStart_[first];
  const auto end = pairPositions_.begin() + groupStart_[first + 1];
  const auto nextId = [&](std::uint32_t j) { return j + 1 < n ? ids2_[j + 1] : idCount_; };
  const auto lo = std::partition_point(begin, end, [&](std::uint32_t j) { return nextId(j) < second; });
  const auto hi = std::partition_point(lo, end, [&](std::uint32_t j) { return nextId(j) == second; });
  return Range{true, static_cast<std::uint32_t>(lo - pairPositions_.begin()),
               static_cast<std::uint32_t>(hi - pairPositions_.begin())};
}

std::uint32_t WordIndex::LowerBound(const Range& range, std::int32_t from) const {
  const auto& positions = range.pairs ? pairPositions_ : singlePositions_;
  const auto begin = positions.begin() + range.begin;
  const auto end = positions.begin() + range.end;
  const auto target = static_cast<std::uint32_t>(std::max(from, 0));
  return static_cast<std::uint32_t>(std::lower_bound(begin, end, target) - positions.begin());
}

std::uint32_t WordIndex::NextUnmarked(const Range& range, std::uint32_t i) {
  return FindRoot(range.pairs ? pairSkip_ : singleSkip_, i);
}

void WordIndex::MarkPosition(std::int32_t position) {
  const auto j = static_cast<std::size_t>(position);
  singleSkip_[singleSlot_[j]] = singleSlot_[j] + 1;
  pairSkip_[pairSlot_[j]] = pairSlot_[j] + 1;
}

}  // namespace vellora
