// The Anywhere comparison must leave exactly the colours, blocks and shares of the literal tiling
// on many small article pairs whose Article 2 is built from reordered and repeated passages of
// Article 1, with every unit and gaps of 0 to 2.
#include <gtest/gtest.h>

#include <random>

#include "LiteralTiling.h"
#include "TestText.h"
#include "UCompare.h"
#include "USegment.h"

namespace {

std::u16string RandomText(std::mt19937& rng, int words) {
  static const std::vector<std::u16string> vocabulary = {u"a", u"A", u"b",      u"c",
                                                         u"B", u"d", u"\u00e9", u"e-f"};
  static const std::vector<std::u16string> separators = {u" ", u" ", u" ", u" ",  u", ",   u". ",
                                                         u"!", u"?", u";", u"\n", u"\r\n", u"\n\n"};
  std::u16string text;
  const std::size_t vocabularySize = 2 + rng() % (vocabulary.size() - 1);
  for (int i = 0; i < words; ++i) {
    text += vocabulary[rng() % vocabularySize];
    text += separators[rng() % separators.size()];
  }
  return text;
}

std::u16string Reordered(std::mt19937& rng, const std::u16string& source) {
  return ReorderedPassages(rng, source, 3, [](std::mt19937& r) {
    return RandomText(r, 1 + static_cast<int>(r() % 3));  // fresh words between passages
  });
}

std::string Where(const std::u16string& t1, const std::u16string& t2, int unit, int minLength,
                  int gap) {
  return "unit " + std::to_string(unit) + " min " + std::to_string(minLength) + " gap " +
         std::to_string(gap) + "\narticle 1: " + vellora::ToUtf8(t1) +
         "\narticle 2: " + vellora::ToUtf8(t2);
}

void ExpectSameAsLiteral(const std::u16string& text1, const std::u16string& text2, int unit,
                         int minLength, int gap) {
  vellora::ArticleSpans a1, a2;
  const vellora::CompareOutcome fast = vellora::CompareArticles(
      text1, a1, text2, a2,
      vellora::ComparisonSettings{vellora::MatchMode::Anywhere, minLength, unit, gap});
  const vellora::reference::LiteralAnywhereResult slow =
      vellora::reference::LiteralAnywhere(text1, text2, minLength, unit, gap);
  const auto where = [&] { return Where(text1, text2, unit, minLength, gap); };
  ASSERT_EQ(fast.Compared, slow.Compared) << where();
  if (!fast.Compared) return;
  ASSERT_EQ(ColorsOf(a1.Words), slow.Colors1) << where();
  ASSERT_EQ(ColorsOf(a2.Words), slow.Colors2) << where();
  ASSERT_EQ(BlockSummary(fast.Blocks), BlockSummary(slow.Blocks)) << where();
  ASSERT_EQ(fast.Share.Marked, slow.Marked2) << where();
  ASSERT_EQ(fast.Share1.Marked, slow.Marked1) << where();
  ASSERT_EQ(fast.Share.Total, a2.Words.Count()) << where();
  ASSERT_EQ(fast.Share1.Total, a1.Words.Count()) << where();
}

TEST(AnywhereDifferential, ReorderedAndRepeatedPassagesEqualLiteralTiling) {
  std::mt19937 rng(20261209);
  int compared = 0;
  for (int round = 0; round < 700; ++round) {
    const std::u16string text1 = RandomText(rng, 1 + static_cast<int>(rng() % 45));
    const std::u16string text2 =
        rng() % 5 == 0 ? RandomText(rng, 1 + static_cast<int>(rng() % 45)) : Reordered(rng, text1);
    for (int unit = 0; unit <= 2; ++unit) {
      for (const int minLength : {-2, 0, 1, 2, 3, 5}) {
        for (int gap = 0; gap <= 2; ++gap) {
          ExpectSameAsLiteral(text1, text2, unit, minLength, gap);
          if (HasFatalFailure()) return;
          ++compared;
        }
      }
    }
  }
  EXPECT_EQ(compared, 700 * 3 * 6 * 3);
}

// Two letters only: runs repeat everywhere, so ties in both articles decide most tiles.
TEST(AnywhereDifferential, RepetitiveArticlesEqualLiteralTiling) {
  std::mt19937 rng(99);
  for (int round = 0; round < 150; ++round) {
    std::u16string text1, text2;
    const int n1 = 5 + static_cast<int>(rng() % 60);
    const int n2 = 5 + static_cast<int>(rng() % 60);
    for (int i = 0; i < n1; ++i) text1 += rng() % 4 == 0 ? u"u. " : u"t ";
    for (int i = 0; i < n2; ++i) text2 += rng() % 4 == 0 ? u"u. " : u"t ";
    for (int unit = 0; unit <= 1; ++unit) {
      for (const int minLength : {1, 2, 4}) {
        for (int gap = 0; gap <= 2; ++gap) {
          ExpectSameAsLiteral(text1, text2, unit, minLength, gap);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

}  // namespace
