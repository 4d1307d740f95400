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

}  // namespace

inline std::uint32_t WordDictionary::Find(std::uint64_t hash, std::u16string_view folded) const {
  for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
    const std::uint32_t entry = slots_[slot];
    if (entry == 0) return kAbsentWord;
    const Entry& e = entries_[entry - 1];
    if (e.hash == hash && e.length == folded.size() &&
        std::memcmp(pool_.data() + e.offset, folded.data(), folded.size() * 2) == 0) {
      return entry - 1;
    }
  }
}

inline std::uint32_t WordDictionary::Insert(std::uint64_t hash, std::u16string_view folded) {
  const std::uint32_t found = Find(hash, folded);
  if (found != kAbsentWord) return found;
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
  const auto id = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back(Entry{hash, static_cast<std::uint32_t>(pool_.size()),
                           static_cast<std::uint32_t>(folded.size())});
  pool_.append(folded);
  Place(id);
  return id;
}

void WordDictionary::Place(std::uint32_t id) {
  std::size_t slot = entries_[id].hash & mask_;
  while (slots_[slot] != 0) slot = (slot + 1) & mask_;
  slots_[slot] = id + 1;
}

void WordDictionary::Grow() {
  slots_.assign(slots_.size() * 2, 0);
  mask_ = slots_.size() - 1;
  for (std::uint32_t id = 0; id < entries_.size(); ++id) Place(id);
}

WordDictionary::WordDictionary(std::u16string_view text, const TListWords& words) {
  ids_.resize(static_cast<std::size_t>(words.Count()));
  for (int j = 0; j < words.Count(); ++j) {
    const FoldedWord word(WordText(text, words[j]));
    ids_[static_cast<std::size_t>(j)] = Insert(word.Hash(), word.Units());
  }
}

std::uint32_t WordDictionary::IdOf(std::u16string_view word) const {
  const FoldedWord folded(word);
  return Find(folded.Hash(), folded.Units());
}

// The pool holds the words folded already, with their hashes: nothing is folded again.
std::vector<std::uint32_t> WordDictionary::MapInto(const WordDictionary& other) const {
  std::vector<std::uint32_t> mapped(entries_.size());
  for (std::size_t id = 0; id < entries_.size(); ++id) {
    const Entry& e = entries_[id];
    mapped[id] = other.Find(e.hash, std::u16string_view(pool_).substr(e.offset, e.length));
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
