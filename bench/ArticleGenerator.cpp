#include "ArticleGenerator.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <string_view>
#include <unordered_set>

#include "UPlainText.h"
#include "USegment.h"

namespace vellora::bench {
namespace {

constexpr int kVocabulary = 5000;

std::vector<std::u16string> MakeVocabulary(std::mt19937& rng) {
  static const char* onsets[] = {"b",  "c",  "d",  "f",  "g",  "h",  "l",  "m",  "n",
                                 "p",  "r",  "s",  "t",  "w",  "br", "ch", "cl", "dr",
                                 "fl", "gr", "pl", "sh", "st", "th", "tr"};
  static const char* vowels[] = {"a", "e", "i", "o", "u", "ea", "ou", "ai", "ee", "oo"};
  static const char* codas[] = {"", "", "n", "r", "s", "t", "l", "nd", "st", "ng", "rk", "ck"};
  std::vector<std::u16string> words;
  words.reserve(kVocabulary);
  while (static_cast<int>(words.size()) < kVocabulary) {
    std::string w;
    const int syllables = 1 + static_cast<int>(rng() % 3);
    for (int s = 0; s < syllables; ++s) {
      w += onsets[rng() % std::size(onsets)];
      w += vowels[rng() % std::size(vowels)];
      w += codas[rng() % std::size(codas)];
    }
    words.emplace_back(w.begin(), w.end());
  }
  return words;
}

class ZipfSampler {
 public:
  explicit ZipfSampler(int n) : cumulative_(static_cast<std::size_t>(n)) {
    double sum = 0;
    for (int i = 0; i < n; ++i) cumulative_[static_cast<std::size_t>(i)] = sum += 1.0 / (i + 1);
    for (double& c : cumulative_) c /= sum;
  }
  int operator()(std::mt19937& rng) const {
    const double u = std::uniform_real_distribution<double>(0, 1)(rng);
    return static_cast<int>(std::lower_bound(cumulative_.begin(), cumulative_.end(), u) -
                            cumulative_.begin());
  }

 private:
  std::vector<double> cumulative_;
};

std::vector<int> RandomWords(std::mt19937& rng, const ZipfSampler& zipf, int count) {
  std::vector<int> ids(static_cast<std::size_t>(count));
  for (int& id : ids) id = zipf(rng);
  return ids;
}

// Sentences of 6 to 24 words with an occasional comma, paragraphs of 3 to 7 sentences.
std::u16string Render(const std::vector<int>& ids, const std::vector<std::u16string>& vocabulary,
                      std::mt19937& rng) {
  std::u16string text;
  int sentenceLeft = 6 + static_cast<int>(rng() % 19);
  int paragraphLeft = 3 + static_cast<int>(rng() % 5);
  bool sentenceStart = true;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    std::u16string word = vocabulary[static_cast<std::size_t>(ids[i])];
    if (sentenceStart) word[0] = static_cast<char16_t>(word[0] - 32);
    text += word;
    sentenceStart = false;
    if (--sentenceLeft == 0 || i + 1 == ids.size()) {
      text += u'.';
      sentenceStart = true;
      sentenceLeft = 6 + static_cast<int>(rng() % 19);
      if (--paragraphLeft == 0) {
        text += u"\n\n";
        paragraphLeft = 3 + static_cast<int>(rng() % 5);
        continue;
      }
    } else if (rng() % 12 == 0) {
      text += u',';
    }
    text += u' ';
  }
  return text;
}

}  // namespace

ArticlePair GenerateArticlePair(int words, double copiedShare, std::uint32_t seed,
                                double repeatChance) {
  std::mt19937 rng(seed);
  const std::vector<std::u16string> vocabulary = MakeVocabulary(rng);
  const ZipfSampler zipf(kVocabulary);
  const std::vector<int> ids1 = RandomWords(rng, zipf, words);
  std::vector<int> ids2;
  ids2.reserve(static_cast<std::size_t>(words) + 200);
  std::vector<std::pair<std::size_t, int>> toRepeat;  // passages to copy once more
  int copied = 0;
  while (static_cast<int>(ids2.size()) < words) {
    const bool copy = copied < copiedShare * static_cast<double>(ids2.size() + 1);
    if (copy) {
      const int length = std::min(5 + static_cast<int>(rng() % 196), words);
      auto from = static_cast<std::size_t>(rng() % static_cast<std::uint32_t>(words - length + 1));
      if (!toRepeat.empty() && rng() % 2 == 0) {
        from = toRepeat.back().first;
        toRepeat.pop_back();
      } else if (repeatChance > 0 &&
                 std::uniform_real_distribution<double>(0, 1)(rng) < repeatChance) {
        toRepeat.emplace_back(from, length);
      }
      ids2.insert(ids2.end(), ids1.begin() + static_cast<long>(from),
                  ids1.begin() + static_cast<long>(from + static_cast<std::size_t>(length)));
      copied += length;
    } else {
      const std::vector<int> fresh = RandomWords(rng, zipf, 5 + static_cast<int>(rng() % 100));
      ids2.insert(ids2.end(), fresh.begin(), fresh.end());
    }
  }
  ids2.resize(static_cast<std::size_t>(words));
  return ArticlePair{Render(ids1, vocabulary, rng), Render(ids2, vocabulary, rng)};
}

std::u16string GenerateArticle(std::size_t units, std::uint32_t seed) {
  std::mt19937 rng(seed);
  const std::vector<std::u16string> vocabulary = MakeVocabulary(rng);
  const ZipfSampler zipf(kVocabulary);
  std::u16string text;
  while (text.size() < units) text += Render(RandomWords(rng, zipf, 1000), vocabulary, rng);
  text.resize(units);
  return text;
}

CorpusGenerator::CorpusGenerator(std::uint32_t seed)
    : rng_(seed), vocabulary_(MakeVocabulary(rng_)) {
  double sum = 0;
  cumulative_.resize(vocabulary_.size());
  for (std::size_t i = 0; i < cumulative_.size(); ++i)
    cumulative_[i] = sum += 1.0 / static_cast<double>(i + 1);
  for (double& c : cumulative_) c /= sum;
}

std::vector<int> CorpusGenerator::Words(int count) {
  std::vector<int> ids(static_cast<std::size_t>(count));
  for (int& id : ids) {
    const double u = std::uniform_real_distribution<double>(0, 1)(rng_);
    id = static_cast<int>(std::lower_bound(cumulative_.begin(), cumulative_.end(), u) -
                          cumulative_.begin());
    id = std::min(id, static_cast<int>(vocabulary_.size()) - 1);
  }
  return ids;
}

std::u16string CorpusGenerator::Render(const std::vector<int>& ids) {
  return vellora::bench::Render(ids, vocabulary_, rng_);
}

bool WriteUtf8File(const std::string& path, const std::u16string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const std::string bytes = ToUtf8(text);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

double SharedRunPercent(const std::u16string& text1, const std::u16string& text2, int run) {
  const auto foldedWords = [](const std::u16string& text) {
    ArticleSpans spans;
    SegmentText(text, spans);
    std::vector<std::u16string> words;
    for (const TWord& w : spans.Words) {
      std::u16string word = text.substr(static_cast<std::size_t>(w.StartPos - 1),
                                        static_cast<std::size_t>(w.EndPos - w.StartPos));
      for (char16_t& c : word) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      }
      words.push_back(std::move(word));
    }
    return words;
  };
  const std::vector<std::u16string> words1 = foldedWords(text1);
  const std::vector<std::u16string> words2 = foldedWords(text2);
  if (words2.empty()) return 0.0;
  // A run as its words joined by a character no word contains.
  const auto runAt = [run](const std::vector<std::u16string>& words, std::size_t at) {
    std::u16string key;
    for (std::size_t k = at; k < at + static_cast<std::size_t>(run); ++k) key += words[k] + u' ';
    return key;
  };
  std::unordered_set<std::u16string> runs1;
  for (std::size_t i = 0; i + static_cast<std::size_t>(run) <= words1.size(); ++i) {
    runs1.insert(runAt(words1, i));
  }
  std::vector<bool> inside(words2.size(), false);
  for (std::size_t j = 0; j + static_cast<std::size_t>(run) <= words2.size(); ++j) {
    if (runs1.count(runAt(words2, j)) != 0) {
      std::fill(inside.begin() + static_cast<long>(j), inside.begin() + static_cast<long>(j) + run,
                true);
    }
  }
  return 100.0 * static_cast<double>(std::count(inside.begin(), inside.end(), true)) /
         static_cast<double>(words2.size());
}

}  // namespace vellora::bench
