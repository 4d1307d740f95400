#include "Fingerprints.h"

#include <algorithm>
#include <deque>

#include "USegment.h"

namespace vellora {
namespace {

constexpr std::uint64_t Mix(std::uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

constexpr char16_t Fold(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

}  // namespace

std::vector<std::uint64_t> FoldedWordHashes(std::u16string_view text, const TListWords& words) {
  std::vector<std::uint64_t> hashes;
  hashes.reserve(static_cast<std::size_t>(words.Count()));
  for (const TWord& w : words) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    const auto start = static_cast<std::size_t>(std::max(w.StartPos - 1, 0));
    const auto end = std::min(static_cast<std::size_t>(std::max(w.EndPos - 1, 0)), text.size());
    for (std::size_t i = start; i < end; ++i) h = (h ^ Fold(text[i])) * 0x100000001B3ull;
    hashes.push_back(Mix(h ^ (end - start)));
  }
  return hashes;
}

std::vector<std::uint64_t> GramHashes(std::span<const std::uint64_t> wordHashes, int length) {
  std::vector<std::uint64_t> grams;
  const auto k = static_cast<std::size_t>(std::max(length, 1));
  if (wordHashes.size() < k) return grams;
  grams.reserve(wordHashes.size() - k + 1);
  for (std::size_t i = 0; i + k <= wordHashes.size(); ++i) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (std::size_t j = 0; j < k; ++j) h = Mix(h ^ wordHashes[i + j]) + j;
    grams.push_back(h);
  }
  return grams;
}

std::vector<std::uint64_t> Fingerprints(std::span<const std::uint64_t> wordHashes) {
  const std::vector<std::uint64_t> grams = GramHashes(wordHashes, kGramWords);
  std::vector<std::uint64_t> selected;
  if (grams.empty()) return selected;
  const std::size_t window = std::min<std::size_t>(kWinnowWindow, grams.size());
  selected.reserve(grams.size() / 2 + 1);
  // Monotone queue of gram indices whose hashes increase: the front is the window's minimum.
  std::deque<std::size_t> queue;
  for (std::size_t i = 0; i < grams.size(); ++i) {
    while (!queue.empty() && grams[queue.back()] >= grams[i]) queue.pop_back();
    queue.push_back(i);
    if (queue.front() + window <= i) queue.pop_front();
    if (i + 1 >= window) selected.push_back(grams[queue.front()]);
  }
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  return selected;
}

std::vector<std::uint64_t> TextFingerprints(std::u16string_view text) {
  ArticleSpans spans;
  SegmentText(text, spans);
  return Fingerprints(FoldedWordHashes(text, spans.Words));
}

}  // namespace vellora
