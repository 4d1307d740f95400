// Hashes of every run of a fixed number of token ids (a "gram"), rolled along an article one
// token at a time; equal grams hash alike, so an index of hashes finds where a run may recur.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vellora {

// A polynomial hash of the last `gram` tokens pushed, updated in constant time per token.
class RollingGramHash {
 public:
  explicit RollingGramHash(std::int32_t gram) {
    for (std::int32_t k = 1; k < gram; ++k) outFactor_ *= kBase;
  }
  // Adds `in`; once `full`, `out` (the token `gram` places back) leaves the hash.
  void Push(std::uint32_t in, std::uint32_t out, bool full) {
    if (full) value_ -= Mix(out) * outFactor_;
    value_ = value_ * kBase + Mix(in);
  }
  std::uint64_t Value() const { return value_; }

 private:
  static constexpr std::uint64_t kBase = 0x100000001B3ull * 0x9E37ull + 2;
  static std::uint64_t Mix(std::uint32_t token) {
    return (std::uint64_t{token} + 1) * 0x9E3779B97F4A7C15ull;
  }
  std::uint64_t value_ = 0;
  std::uint64_t outFactor_ = 1;
};

// The hash of the gram at every place (size - gram + 1 of them; none when shorter than a gram).
inline std::vector<std::uint64_t> GramHashes(std::span<const std::uint32_t> tokens,
                                             std::int32_t gram) {
  const auto n = static_cast<std::int32_t>(tokens.size());
  std::vector<std::uint64_t> hashes(static_cast<std::size_t>(n >= gram ? n - gram + 1 : 0));
  RollingGramHash rolling(gram);
  for (std::int32_t i = 0; i < n; ++i) {
    rolling.Push(tokens[i], i >= gram ? tokens[i - gram] : 0, i >= gram);
    if (i >= gram - 1) hashes[static_cast<std::size_t>(i - gram + 1)] = rolling.Value();
  }
  return hashes;
}

// Spreads a gram hash over all 64 bits: the high bits pick a table slot, the low 32 a tag.
inline std::uint64_t FinishGramHash(std::uint64_t hash) {
  hash ^= hash >> 31;
  hash *= 0xD6E8FEB86659FD93ull;
  return hash ^ (hash >> 32);
}

}  // namespace vellora
