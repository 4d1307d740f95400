// Named cases of the Anywhere comparison: the tie rules of the tiling, repeated passages, the
// gap rule, colours where sources overlap, units, blank articles and odd minimums.
#include <gtest/gtest.h>

#include "TestText.h"
#include "UAnywhere.h"
#include "UCompare.h"
#include "USegment.h"

namespace {

constexpr int W = NoHighlight;
const int C1 = PaletteColor(1);
const int C2 = PaletteColor(2);
const int C3 = PaletteColor(3);

struct BlockRange {
  int first1, last1, first2, last2;
  bool operator==(const BlockRange&) const = default;
};
void PrintTo(const BlockRange& b, std::ostream* os) {
  *os << "{1: " << b.first1 << ".." << b.last1 << ", 2: " << b.first2 << ".." << b.last2 << "}";
}

std::vector<BlockRange> RangesOfBlocks(const std::vector<vellora::MatchBlock>& blocks) {
  std::vector<BlockRange> out;
  for (const vellora::MatchBlock& b : blocks) out.push_back({b.First1, b.Last1, b.First2, b.Last2});
  return out;
}

struct AnywhereCase {
  const char* name;
  std::u16string text1;
  std::u16string text2;
  int minLength;
  int unit;
  int gap;
  std::vector<int> colors1;
  std::vector<int> colors2;
  std::vector<BlockRange> blocks;
};
void PrintTo(const AnywhereCase& c, std::ostream* os) {
  *os << c.name;
}

struct Compared {
  vellora::ArticleSpans a1, a2;
  vellora::CompareOutcome outcome;
};

Compared CompareAnywhere(const std::u16string& t1, const std::u16string& t2, int minLength,
                         int unit, int gap) {
  Compared c;
  c.outcome = vellora::CompareArticles(
      t1, c.a1, t2, c.a2,
      vellora::ComparisonSettings{vellora::MatchMode::Anywhere, minLength, unit, gap});
  return c;
}

class AnywhereExamples : public testing::TestWithParam<AnywhereCase> {};

TEST_P(AnywhereExamples, ColoursAndBlocksMatch) {
  const AnywhereCase& e = GetParam();
  const Compared c = CompareAnywhere(e.text1, e.text2, e.minLength, e.unit, e.gap);
  ASSERT_TRUE(c.outcome.Compared);
  EXPECT_EQ(ColorsOf(c.a1.Words), e.colors1) << Describe(e.text1, c.a1.Words);
  EXPECT_EQ(ColorsOf(c.a2.Words), e.colors2) << Describe(e.text2, c.a2.Words);
  EXPECT_EQ(RangesOfBlocks(c.outcome.Blocks), e.blocks);
  EXPECT_EQ(c.outcome.Settings.Mode, vellora::MatchMode::Anywhere);
}

INSTANTIATE_TEST_SUITE_P(
    Anywhere, AnywhereExamples,
    testing::Values(
        // "x y z" and "y z w" are both 3 words long and overlap in Article 2.
        AnywhereCase{"EqualLengthTieGoesToTheFirstStartInArticle2",
                     u"x y z q y z w",
                     u"x y z w",
                     2,
                     vellora::UnitWords,
                     0,
                     {C1, C1, C1, W, W, W, W},
                     {C1, C1, C1, W},
                     {{0, 2, 0, 2}}},
        AnywhereCase{"LongerRunWinsOverAnEarlierShorterOne",
                     u"p q r s t. m p q",
                     u"m p q r s t",
                     2,
                     vellora::UnitWords,
                     0,
                     {C1, C1, C1, C1, C1, W, W, W},
                     {W, C1, C1, C1, C1, C1},
                     {{0, 4, 1, 5}}},
        AnywhereCase{"SourceIsTheFirstPlaceInArticle1",
                     u"a b c x a b c",
                     u"a b c",
                     1,
                     vellora::UnitWords,
                     0,
                     {C1, C1, C1, W, W, W, W},
                     {C1, C1, C1},
                     {{0, 2, 0, 2}}},
        AnywhereCase{"PassageCopiedTwiceCountsTwice",
                     u"p q r s t",
                     u"p q r s t z p q r s t",
                     3,
                     vellora::UnitWords,
                     1,
                     {C2, C2, C2, C2, C2},
                     {C1, C1, C1, C1, C1, W, C2, C2, C2, C2, C2},
                     {{0, 4, 0, 4}, {0, 4, 6, 10}}},
        AnywhereCase{"LaterBlockWinsWhereSourcesOverlap",
                     u"a b c d e",
                     u"b c d x a b c",
                     2,
                     vellora::UnitWords,
                     0,
                     {C2, C2, C2, C1, W},
                     {C1, C1, C1, W, C2, C2, C2},
                     {{1, 3, 0, 2}, {0, 2, 4, 6}}},
        AnywhereCase{"MovedPassagesAreAllFound",
                     u"one two three. four five six. seven eight nine.",
                     u"seven eight nine. one two three. four five six.",
                     3,
                     vellora::UnitWords,
                     0,
                     {C2, C2, C2, C2, C2, C2, C1, C1, C1},
                     {C1, C1, C1, C2, C2, C2, C2, C2, C2},
                     {{6, 8, 0, 2}, {0, 5, 3, 8}}},
        AnywhereCase{"GapZeroKeepsEveryTileItsOwnBlock",
                     u"a b c d e f g",
                     u"a b c X e f g",
                     3,
                     vellora::UnitWords,
                     0,
                     {C1, C1, C1, W, C2, C2, C2},
                     {C1, C1, C1, W, C2, C2, C2},
                     {{0, 2, 0, 2}, {4, 6, 4, 6}}},
        AnywhereCase{"GapThatJoins",
                     u"a b c d e f g",
                     u"a b c X e f g",
                     3,
                     vellora::UnitWords,
                     1,
                     {C1, C1, C1, W, C1, C1, C1},
                     {C1, C1, C1, W, C1, C1, C1},
                     {{0, 6, 0, 6}}},
        AnywhereCase{"GapOneWordTooWideInArticle2",
                     u"a b c d e f g",
                     u"a b c X Y e f g",
                     3,
                     vellora::UnitWords,
                     1,
                     {C1, C1, C1, W, C2, C2, C2},
                     {C1, C1, C1, W, W, C2, C2, C2},
                     {{0, 2, 0, 2}, {4, 6, 5, 7}}},
        AnywhereCase{"GapOneWordTooWideInArticle1",
                     u"a b c d d e f g",
                     u"a b c X e f g",
                     3,
                     vellora::UnitWords,
                     1,
                     {C1, C1, C1, W, W, C2, C2, C2},
                     {C1, C1, C1, W, C2, C2, C2},
                     {{0, 2, 0, 2}, {5, 7, 4, 6}}},
        AnywhereCase{"TilesMustFollowInArticle1ToJoin",
                     u"e f g d a b c",
                     u"a b c X e f g",
                     3,
                     vellora::UnitWords,
                     2,
                     {C2, C2, C2, W, C1, C1, C1},
                     {C1, C1, C1, W, C2, C2, C2},
                     {{4, 6, 0, 2}, {0, 2, 4, 6}}},
        AnywhereCase{"SentencesEqualWordForWord",
                     u"One two. Three four! Five six.",
                     u"five SIX? one two",
                     1,
                     vellora::UnitSentences,
                     0,
                     {C2, C2, W, W, C1, C1},
                     {C1, C1, C2, C2},
                     {{4, 5, 0, 1}, {0, 1, 2, 3}}},
        AnywhereCase{"SentenceSharingSomeWordsIsNoMatch",
                     u"One two three. Four.",
                     u"One two. Four.",
                     1,
                     vellora::UnitSentences,
                     0,
                     {W, W, W, C1},
                     {W, W, C1},
                     {{3, 3, 2, 2}}},
        AnywhereCase{"ParagraphGapJoins",
                     u"p one\np two\np three",
                     u"p one\nzzz\np three",
                     1,
                     vellora::UnitParagraphs,
                     1,
                     {C1, C1, W, W, C1, C1},
                     {C1, C1, W, C1, C1},
                     {{0, 5, 0, 4}}},
        AnywhereCase{"NegativeMinimumActsAsOne",
                     u"a b c",
                     u"c b a",
                     -3,
                     vellora::UnitWords,
                     0,
                     {C3, C2, C1},
                     {C1, C2, C3},
                     {{2, 2, 0, 0}, {1, 1, 1, 1}, {0, 0, 2, 2}}},
        AnywhereCase{"NegativeGapActsAsZero",
                     u"a b c d e f g",
                     u"a b c X e f g",
                     3,
                     vellora::UnitWords,
                     -4,
                     {C1, C1, C1, W, C2, C2, C2},
                     {C1, C1, C1, W, C2, C2, C2},
                     {{0, 2, 0, 2}, {4, 6, 4, 6}}},
        AnywhereCase{"MinimumZeroMarksNothing",
                     u"a b c",
                     u"a b c",
                     0,
                     vellora::UnitWords,
                     0,
                     {W, W, W},
                     {W, W, W},
                     {}},
        AnywhereCase{"MinimumLongerThanEveryRunMarksNothing",
                     u"a b c d",
                     u"a b c x",
                     4,
                     vellora::UnitWords,
                     0,
                     {W, W, W, W},
                     {W, W, W, W},
                     {}},
        AnywhereCase{"UnknownUnitMarksNothing", u"a b", u"a b", 1, 3, 0, {W, W}, {W, W}, {}},
        AnywhereCase{
            "ArticleOneWithoutWords", u"...", u"a b", 1, vellora::UnitWords, 0, {}, {W, W}, {}}),
    [](const testing::TestParamInfo<AnywhereCase>& info) { return info.param.name; });

TEST(Anywhere, PassageCopiedTwiceCountsTwiceInTheShares) {
  const Compared c = CompareAnywhere(u"p q r s t", u"p q r s t z p q r s t", 3, 0, 0);
  EXPECT_EQ(c.outcome.Share.Marked, 10);
  EXPECT_EQ(c.outcome.Share.Total, 11);
  EXPECT_EQ(c.outcome.Share.Shown, 91);
  EXPECT_EQ(c.outcome.Share1.Marked, 5);
  EXPECT_EQ(c.outcome.Share1.Shown, 100);
  ASSERT_EQ(c.outcome.Blocks.size(), 2u);
  EXPECT_EQ(c.outcome.Blocks[1].Words1, 5);
  EXPECT_EQ(c.outcome.Blocks[1].Words2, 5);
}

TEST(Anywhere, GapWordsStayUnmarkedButTheBlockSpansThem) {
  const Compared c = CompareAnywhere(u"a b c d e f g", u"a b c X e f g", 3, 0, 1);
  ASSERT_EQ(c.outcome.Blocks.size(), 1u);
  const vellora::MatchBlock& block = c.outcome.Blocks[0];
  EXPECT_EQ(block.Passages.size(), 2u);
  EXPECT_EQ(block.Words1, 6);
  EXPECT_EQ(block.Words2, 6);
  EXPECT_EQ(block.LongestPassage, 3);
  EXPECT_EQ(c.outcome.Share.Marked, 6);
  EXPECT_EQ(c.outcome.Share.Shown, 86);
  EXPECT_EQ(vellora::BlockAtWord(c.outcome.Blocks, 2, 3), -1);
  EXPECT_EQ(vellora::BlockAtWord(c.outcome.Blocks, 2, 4), 0);
}

TEST(Anywhere, SevenBlocksWrapAroundToTheFirstColour) {
  const Compared c =
      CompareAnywhere(u"a x b x c x d x e x f x g", u"a y b y c y d y e y f y g", 1, 0, 0);
  std::vector<int> expected;
  for (int i = 0; i < 7; ++i) {
    if (i > 0) expected.push_back(W);
    expected.push_back(PaletteColor(i % 6 + 1));
  }
  EXPECT_EQ(ColorsOf(c.a2.Words), expected);
}

TEST(Anywhere, BlankArticleStopsBeforeTouchingTheLists) {
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(u"keep me", a1);
  a1.Words[0].Color = C1;
  for (const auto& [t1, t2] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"  \r\n\t", u"text"}, {u"text", u"\x01\x02 "}, {u"", u""}}) {
    const vellora::CompareOutcome outcome = vellora::CompareArticles(
        t1, a1, t2, a2, vellora::ComparisonSettings{vellora::MatchMode::Anywhere, 1, 0, 0});
    EXPECT_FALSE(outcome.Compared);
    EXPECT_TRUE(outcome.Blocks.empty());
    EXPECT_EQ(outcome.Share.Total, 0);
    EXPECT_EQ(outcome.Share1.Total, 0);
    EXPECT_EQ(a1.Words.Count(), 2);
    EXPECT_EQ(a1.Words[0].Color, C1);
  }
}

// A run cut short far from its end must still find the first place of its shorter prefix in
// Article 1: the cut prefix "a a a a a" sits 45 shorter runs up from where the run was found.
TEST(Anywhere, RunCutFarShortStillTakesTheFirstSource) {
  std::u16string t1, t2;
  for (int i = 0; i < 50; ++i) t1 += u"a ";
  t1 += u"x ";
  for (int i = 0; i < 45; ++i) t1 += u"a ";
  t1 += u"t w1 w2 w3 w4 w5";
  for (int i = 0; i < 50; ++i) t2 += u"a ";
  t2 += u"t w1 w2 w3 w4 w5";
  const Compared c = CompareAnywhere(t1, t2, 2, 0, 0);
  EXPECT_EQ(RangesOfBlocks(c.outcome.Blocks),
            (std::vector<BlockRange>{{0, 4, 0, 4}, {51, 101, 5, 55}}));
}

TEST(Anywhere, TilingOnTokensTakesLongestFirstInArticle2Order) {
  const std::vector<std::uint32_t> tokens1 = {1, 2, 3, 9, 2, 3, 4};
  const std::vector<std::uint32_t> tokens2 = {1, 2, 3, 4, 2, 3, 4};
  const std::vector<vellora::Tile> tiles = vellora::TileLongestFirst(tokens1, tokens2, 2);
  // "1 2 3" at 0 and "2 3 4" at 1 and at 4 all have 3 tokens: place 0 wins and covers place 1,
  // then place 4 follows; "4" alone at place 3 is shorter than the minimum.
  EXPECT_EQ(tiles, (std::vector<vellora::Tile>{{0, 0, 3}, {4, 4, 3}}));
  EXPECT_TRUE(vellora::TileLongestFirst({}, tokens2, 1).empty());
  EXPECT_TRUE(vellora::TileLongestFirst(tokens1, {}, 1).empty());
}

}  // namespace
