#include "UWordIds.h"

#include <algorithm>
#include <cstring>

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

// Folds a word into whole 64-bit chunks (the last one padded with zero units) in `out`, which
// must hold (size + 3) / 4 of them, and returns its hash.
std::uint64_t FoldWord(std::u16string_view word, std::uint64_t* out) {
  const std::size_t whole = word.size() / 4;
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ word.size();
  const auto mix = [&h](std::uint64_t chunk) {
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  };
  for (std::size_t c = 0; c < whole; ++c) {
    std::uint64_t chunk;
    std::memcpy(&chunk, word.data() + 4 * c, 8);
    out[c] = FoldFour(chunk);
    mix(out[c]);
  }
  if (const std::size_t rest = word.size() - 4 * whole; rest > 0) {
    // The last units are read without a copy of variable length, which would stall the load
    // that follows it: a longer word reloads its last four units and shifts the ones already
    // taken out; a shorter one is put together unit by unit.
    std::uint64_t chunk = 0;
    if (whole > 0) {
      std::memcpy(&chunk, word.data() + word.size() - 4, 8);
      chunk >>= 16 * (4 - rest);
    } else {
      const char16_t* d = word.data();
      chunk = d[0];
      if (rest > 1) chunk |= std::uint64_t{d[1]} << 16;
      if (rest > 2) chunk |= std::uint64_t{d[2]} << 32;
    }
    out[whole] = FoldFour(chunk);
    mix(out[whole]);
  }
  return h ^ (h >> 29);
}

std::size_t ChunkCount(std::size_t units) {
  return (units + 3) / 4;
}

std::u16string_view WordText(std::u16string_view text, const TWord& w) {
  const auto start = static_cast<std::size_t>(w.StartPos - 1);
  const auto length = static_cast<std::size_t>(w.EndPos - w.StartPos);
  if (w.StartPos < 1 || w.EndPos < w.StartPos || start + length > text.size()) return {};
  return text.substr(start, length);
}

}  // namespace

inline std::uint32_t WordDictionary::Find(std::uint64_t hash, const std::uint64_t* chunks,
                                          std::uint32_t length) const {
  const auto tag = static_cast<std::uint32_t>(hash >> 32);
  const std::size_t count = ChunkCount(length);
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    const Slot& s = slots_[slot];
    if (s.id == 0) return kAbsentWord;
    if (s.tag != tag || s.length != length) continue;
    const std::uint64_t* stored = pool_.data() + s.offset;
    std::size_t c = 0;
    while (c < count && stored[c] == chunks[c]) ++c;
    if (c == count) return s.id - 1;
  }
}

inline std::uint32_t WordDictionary::Insert(std::uint64_t hash, const std::uint64_t* chunks,
                                            std::uint32_t length) {
  const std::uint32_t found = Find(hash, chunks, length);
  if (found != kAbsentWord) return found;
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
  const auto id = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back(Entry{hash, static_cast<std::uint32_t>(pool_.size()), length});
  pool_.insert(pool_.end(), chunks, chunks + ChunkCount(length));
  Place(id);
  return id;
}

void WordDictionary::Place(std::uint32_t id) {
  std::size_t slot = entries_[id].hash & mask_;
  while (slots_[slot].id != 0) slot = (slot + 1) & mask_;
  const Entry& e = entries_[id];
  slots_[slot] = Slot{id + 1, static_cast<std::uint32_t>(e.hash >> 32), e.offset, e.length};
}

void WordDictionary::Grow() {
  slots_.assign(slots_.size() * 2, Slot{});
  mask_ = slots_.size() - 1;
  for (std::uint32_t id = 0; id < entries_.size(); ++id) Place(id);
}

WordDictionary::WordDictionary(std::u16string_view text, const TListWords& words) {
  const auto n = static_cast<std::size_t>(words.Count());
  ids_.resize(n);
  // Each word is folded and its slot fetched one word ahead of its look-up, so that the table's
  // memory is on its way while the word before is being looked up.
  std::vector<std::uint64_t> current(16);
  std::vector<std::uint64_t> next(16);
  const auto fold = [&](std::size_t j, std::vector<std::uint64_t>& out, std::uint32_t& length) {
    const std::u16string_view word = WordText(text, words[static_cast<int>(j)]);
    if (ChunkCount(word.size()) > out.size()) out.resize(ChunkCount(word.size()));
    length = static_cast<std::uint32_t>(word.size());
    return FoldWord(word, out.data());
  };
  std::uint32_t length = 0;
  std::uint64_t hash = n > 0 ? fold(0, current, length) : 0;
  for (std::size_t j = 0; j < n; ++j) {
    std::uint32_t nextLength = 0;
    std::uint64_t nextHash = 0;
    if (j + 1 < n) {
      nextHash = fold(j + 1, next, nextLength);
      __builtin_prefetch(&slots_[nextHash & mask_]);
    }
    ids_[j] = Insert(hash, current.data(), length);
    current.swap(next);
    hash = nextHash;
    length = nextLength;
  }
}

std::uint32_t WordDictionary::IdOf(std::u16string_view word) const {
  std::vector<std::uint64_t> folded(ChunkCount(word.size()));
  const std::uint64_t hash = FoldWord(word, folded.data());
  return Find(hash, folded.data(), static_cast<std::uint32_t>(word.size()));
}

// The pool holds the words folded already, with their hashes: nothing is folded again.
std::vector<std::uint32_t> WordDictionary::MapInto(const WordDictionary& other) const {
  std::vector<std::uint32_t> mapped(entries_.size());
  for (std::size_t id = 0; id < entries_.size(); ++id) {
    const Entry& e = entries_[id];
    mapped[id] = other.Find(e.hash, pool_.data() + e.offset, e.length);
  }
  return mapped;
}

std::uint32_t AssignWordIds(std::u16string_view text1, const TListWords& words1,
                            std::u16string_view text2, const TListWords& words2,
                            std::vector<std::uint32_t>& ids1, std::vector<std::uint32_t>& ids2) {
  WordDictionary dictionary(text2, words2);
  ids2 = dictionary.TakeIds();
  ids1.resize(static_cast<std::size_t>(words1.Count()));
  for (int i = 0; i < words1.Count(); ++i) {
    ids1[static_cast<std::size_t>(i)] = dictionary.IdOf(WordText(text1, words1[i]));
  }
  return dictionary.Size();
}

}  // namespace vellora
