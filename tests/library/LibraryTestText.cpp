#include "LibraryTestText.h"

#include <random>

namespace vellora::test {

Words RandomWords(std::uint32_t seed, std::size_t count) {
  std::mt19937 rng(seed);
  Words words;
  words.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string word;
    const int letters = 4 + static_cast<int>(rng() % 6);
    for (int l = 0; l < letters; ++l) word += static_cast<char>('a' + rng() % 26);
    words.push_back(word);
  }
  return words;
}

Words SmallVocabularyWords(std::uint32_t seed, std::size_t count, int vocabulary) {
  std::mt19937 rng(seed);
  Words words;
  for (std::size_t i = 0; i < count; ++i) {
    const int w = static_cast<int>(rng() % static_cast<unsigned>(vocabulary));
    std::string word = "w" + std::to_string(w);
    if (rng() % 5 == 0) word[0] = 'W';
    words.push_back(word);
  }
  return words;
}

std::string Join(const Words& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i) text += (i % 13 == 0) ? ". " : " ";
    text += words[i];
  }
  return text + ".";
}

Words Slice(const Words& words, std::size_t first, std::size_t count) {
  return Words(words.begin() + static_cast<long>(first),
               words.begin() + static_cast<long>(first + count));
}

Words Concat(std::initializer_list<Words> parts) {
  Words all;
  for (const Words& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace vellora::test
