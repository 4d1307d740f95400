// Texts for the library tests: words drawn from a large made-up vocabulary, so that two texts
// share a run of several words only where a test planted it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellora::test {

using Words = std::vector<std::string>;

Words RandomWords(std::uint32_t seed, std::size_t count);
// Words drawn from only `vocabulary` different words (some capitalised), so that runs repeat.
Words SmallVocabularyWords(std::uint32_t seed, std::size_t count, int vocabulary);
std::string Join(const Words& words);
// words[first, first + count)
Words Slice(const Words& words, std::size_t first, std::size_t count);
Words Concat(std::initializer_list<Words> parts);

}  // namespace vellora::test
