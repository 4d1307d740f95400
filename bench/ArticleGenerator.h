// Seeded article pairs for benchmarks: an English-like vocabulary with Zipf frequencies,
// sentences and paragraphs, and a second article that copies passages of the first in shuffled
// order, some of them twice.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vellora::bench {

struct ArticlePair {
  std::u16string text1;
  std::u16string text2;
};

// About `words` words each; roughly copiedShare of Article 2's words come from Article 1 in
// passages of 5 to 200 words taken from random places, so in shuffled order. With repeatChance
// above 0, each copied passage is copied once more, right away or later, with that chance.
ArticlePair GenerateArticlePair(int words, double copiedShare = 0.3, std::uint32_t seed = 42,
                                double repeatChance = 0.0);

// Writes the text as UTF-8; false when the file cannot be written.
bool WriteUtf8File(const std::string& path, const std::u16string& text);

// Share, in percent, of Article 2's words that lie inside a run of `run` consecutive words also
// found in Article 1 (words compared as Compare compares them: A to Z folded).
double SharedRunPercent(const std::u16string& text1, const std::u16string& text2, int run);

// One article of about `bytes` UTF-16 units.
std::u16string GenerateArticle(std::size_t units, std::uint32_t seed = 7);

// Many articles over one shared vocabulary, built from word ids so that a benchmark can plant
// passages of one article in another before rendering them.
class CorpusGenerator {
 public:
  explicit CorpusGenerator(std::uint32_t seed);
  // `count` word ids drawn with Zipf frequencies.
  std::vector<int> Words(int count);
  // The words as text: sentences with capitals and full stops, commas, paragraphs.
  std::u16string Render(const std::vector<int>& ids);

 private:
  std::mt19937 rng_;
  std::vector<std::u16string> vocabulary_;
  std::vector<double> cumulative_;
};

}  // namespace vellora::bench
