// The tiling on token ids: every way of finding the longest runs (the automaton, the gram index,
// the automatic choice between them) must give the tiles of the definition, taken literally.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "UAnywhere.h"

namespace {

using vellora::Tile;
using vellora::TilingIndex;
using Tokens = std::vector<std::uint32_t>;

// Repeatedly the longest run of untiled tokens of Article 2 found in Article 1, ties to the
// earliest place in Article 2, its source the first place in Article 1; cubic on purpose.
std::vector<Tile> LiteralTiles(const Tokens& t1, const Tokens& t2, std::int32_t minimum) {
  const auto n1 = static_cast<std::int32_t>(t1.size());
  const auto n2 = static_cast<std::int32_t>(t2.size());
  std::vector<bool> tiled(t2.size(), false);
  std::vector<Tile> tiles;
  while (true) {
    Tile best{0, 0, 0};
    for (std::int32_t s2 = 0; s2 < n2; ++s2) {
      for (std::int32_t s1 = 0; s1 < n1; ++s1) {
        std::int32_t k = 0;
        while (s1 + k < n1 && s2 + k < n2 && !tiled[s2 + k] && t1[s1 + k] == t2[s2 + k]) ++k;
        if (k > best.Length) best = Tile{s1, s2, k};
      }
    }
    if (best.Length < std::max(minimum, 1)) break;
    for (std::int32_t k = 0; k < best.Length; ++k) tiled[best.Start2 + k] = true;
    tiles.push_back(best);
  }
  std::sort(tiles.begin(), tiles.end(),
            [](const Tile& a, const Tile& b) { return a.Start2 < b.Start2; });
  return tiles;
}

std::string Describe(const Tokens& t1, const Tokens& t2, std::int32_t minimum) {
  std::string text = "minimum " + std::to_string(minimum) + "\narticle 1:";
  for (const auto t : t1) text += " " + std::to_string(t);
  text += "\narticle 2:";
  for (const auto t : t2) text += " " + std::to_string(t);
  return text;
}

// Article 2 made of runs of Article 1 in shuffled order, some twice, some changed in one token,
// with fresh tokens between them.
Tokens Copied(std::mt19937& rng, const Tokens& source, std::uint32_t alphabet) {
  Tokens out;
  while (out.size() < source.size()) {
    const std::size_t start = rng() % source.size();
    const std::size_t length = 1 + rng() % 24;
    for (int copies = rng() % 8 == 0 ? 2 : 1; copies > 0; --copies) {
      for (std::size_t k = start; k < std::min(source.size(), start + length); ++k) {
        out.push_back(rng() % 40 == 0 ? static_cast<std::uint32_t>(rng() % (alphabet + 3))
                                      : source[k]);
      }
    }
    for (unsigned fresh = rng() % 3; fresh > 0; --fresh) out.push_back(alphabet + rng() % 5);
  }
  return out;
}

TEST(Tiling, EveryIndexGivesTheLiteralTilesOnRandomTokens) {
  std::mt19937 rng(20261210);
  int checked = 0;
  for (int round = 0; round < 300; ++round) {
    // Two letters make runs repeat everywhere; fifty make them nearly unique.
    const std::uint32_t alphabet = round % 3 == 0 ? 2 : 3 + rng() % 48;
    Tokens t1(1 + rng() % 120);
    for (auto& t : t1) t = rng() % alphabet;
    const Tokens t2 = rng() % 6 == 0 ? Tokens(t1.rbegin(), t1.rend()) : Copied(rng, t1, alphabet);
    for (const std::int32_t minimum : {-1, 1, 2, 3, 4, 5, 7, 8, 9, 12}) {
      const std::vector<Tile> expected = LiteralTiles(t1, t2, minimum);
      for (const TilingIndex method :
           {TilingIndex::Automatic, TilingIndex::Automaton, TilingIndex::Grams}) {
        ASSERT_EQ(vellora::TileLongestFirst(t1, t2, minimum, method), expected)
            << "method " << static_cast<int>(method) << "\n"
            << Describe(t1, t2, minimum);
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 300 * 10 * 3);
}

// Long stretches of two letters: the gram index would have to look at thousands of places for
// every place of Article 2, so the automatic choice moves to the automaton; the tiles stay the
// same.
TEST(Tiling, RepetitiveArticlesGiveTheSameTilesWhicheverIndexIsUsed) {
  std::mt19937 rng(7);
  Tokens t1(6000);
  Tokens t2(6000);
  for (auto& t : t1) t = rng() % 9 == 0 ? 1 : 0;
  for (auto& t : t2) t = rng() % 9 == 0 ? 1 : 0;
  for (const std::int32_t minimum : {4, 8, 30}) {
    const std::vector<Tile> automaton =
        vellora::TileLongestFirst(t1, t2, minimum, TilingIndex::Automaton);
    ASSERT_FALSE(automaton.empty());
    EXPECT_EQ(vellora::TileLongestFirst(t1, t2, minimum, TilingIndex::Automatic), automaton);
    EXPECT_EQ(vellora::TileLongestFirst(t1, t2, minimum, TilingIndex::Grams), automaton);
  }
}

struct TilingCase {
  const char* name;
  Tokens t1;
  Tokens t2;
  std::int32_t minimum;
  std::vector<Tile> tiles;
};

class TilingExamples : public testing::TestWithParam<TilingCase> {};

TEST_P(TilingExamples, EveryIndexGivesTheseTiles) {
  const TilingCase& c = GetParam();
  for (const TilingIndex method :
       {TilingIndex::Automatic, TilingIndex::Automaton, TilingIndex::Grams}) {
    EXPECT_EQ(vellora::TileLongestFirst(c.t1, c.t2, c.minimum, method), c.tiles)
        << "method " << static_cast<int>(method);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tiling, TilingExamples,
    testing::Values(
        // "14 15" at place 4 is shorter than the run before it, "13 14 15"; it only becomes a tile
        // because the first tile ends right before it.
        TilingCase{"RunRightAfterATileIsStillTaken",
                   {10, 11, 12, 13, 99, 12, 13, 14, 98, 13, 14, 15},
                   {10, 11, 12, 13, 14, 15},
                   2,
                   {{0, 0, 4}, {10, 4, 2}}},
        // The eight tokens occur twice in Article 1: the first place is the source.
        TilingCase{"EightTokensTakeTheirFirstSource",
                   {7, 1, 2, 3, 4, 5, 6, 7, 8, 0, 1, 2, 3, 4, 5, 6, 7, 8},
                   {1, 2, 3, 4, 5, 6, 7, 8},
                   8,
                   {{1, 0, 8}}},
        // Cut short by a longer tile after it, the run's shorter prefix has an earlier source.
        TilingCase{"CutRunFindsTheFirstSourceOfItsPrefix",
                   {1, 2, 3, 4, 9, 1, 2, 3, 4, 5, 6, 20, 5, 6, 7, 8, 9, 10, 11},
                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
                   4,
                   {{0, 0, 4}, {12, 4, 7}}},
        TilingCase{"ShorterThanTheGramFindsNothing", {1, 2, 3}, {1, 2, 3}, 4, {}},
        TilingCase{"WholeArticleIsOneTile",
                   {1, 2, 3, 4, 5, 6, 7, 8, 9},
                   {1, 2, 3, 4, 5, 6, 7, 8, 9},
                   9,
                   {{0, 0, 9}}}),
    [](const testing::TestParamInfo<TilingCase>& info) { return info.param.name; });

}  // namespace
