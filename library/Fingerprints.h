// Winnowing fingerprints (Schleimer, Wilkerson and Aiken) over hashes of consecutive words,
// folded as the comparison folds them, so that any passage of at least kGuaranteeWords words
// shared by two texts gives both texts at least one equal fingerprint.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "UWords.h"

namespace vellora {

// Every passage of this many words or more shared by two texts yields a shared fingerprint.
inline constexpr int kGuaranteeWords = 8;
// Words per hashed gram (the noise threshold): grams this long are what the index looks up.
inline constexpr int kGramWords = 5;
// Grams per winnowing window: a passage of kGuaranteeWords words holds one whole window.
inline constexpr int kWinnowWindow = kGuaranteeWords - kGramWords + 1;

// One 64-bit hash per word; words equal as the comparison compares them (letters A to Z folded,
// everything else exact) have equal hashes.
std::vector<std::uint64_t> FoldedWordHashes(std::u16string_view text, const TListWords& words);

// Hash of each run of `length` consecutive word hashes, in text order (none when too few words).
std::vector<std::uint64_t> GramHashes(std::span<const std::uint64_t> wordHashes, int length);

// The winnowed fingerprints of a text's word hashes: in every window of kWinnowWindow
// consecutive grams, the smallest gram hash. Sorted, without repeats.
std::vector<std::uint64_t> Fingerprints(std::span<const std::uint64_t> wordHashes);

// Fingerprints of a text, segmented on the spot.
std::vector<std::uint64_t> TextFingerprints(std::u16string_view text);

}  // namespace vellora
