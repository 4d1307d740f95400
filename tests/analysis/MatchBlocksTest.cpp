// Blocks of the in-order walk: a match extends the current block unless it began a new one, and a
// block's range on each side runs from its first matched word to its last.
#include <gtest/gtest.h>

#include "TestText.h"
#include "UCompare.h"

namespace {

struct BlockRow {
  int color;
  int first1, last1, first2, last2;
  bool operator==(const BlockRow&) const = default;
};
void PrintTo(const BlockRow& b, std::ostream* os) {
  *os << "{colour " << std::hex << b.color << std::dec << ", 1: " << b.first1 << ".." << b.last1
      << ", 2: " << b.first2 << ".." << b.last2 << "}";
}

struct InOrderCase {
  const char* name;
  std::u16string text1;
  std::u16string text2;
  int minLength;
  int unit;
  std::vector<BlockRow> blocks;
};
void PrintTo(const InOrderCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<BlockRow> RowsOf(const std::vector<vellora::MatchBlock>& blocks) {
  std::vector<BlockRow> rows;
  for (const vellora::MatchBlock& b : blocks) {
    rows.push_back({b.Color, b.First1, b.Last1, b.First2, b.Last2});
  }
  return rows;
}

class InOrderBlocks : public testing::TestWithParam<InOrderCase> {};

TEST_P(InOrderBlocks, BlockRangesMatch) {
  const InOrderCase& e = GetParam();
  vellora::ArticleSpans a1, a2;
  const vellora::CompareOutcome outcome =
      vellora::CompareArticles(e.text1, a1, e.text2, a2, e.minLength, e.unit);
  ASSERT_TRUE(outcome.Compared);
  EXPECT_EQ(RowsOf(outcome.Blocks), e.blocks) << Describe(e.text1, a1.Words) << "\n"
                                              << Describe(e.text2, a2.Words);
  // Every marked word lies in the range of the block its colour names.
  for (int side = 1; side <= 2; ++side) {
    const TListWords& words = side == 1 ? a1.Words : a2.Words;
    for (int w = 0; w < words.Count(); ++w) {
      const std::int32_t b = vellora::BlockAtWord(outcome.Blocks, side, w);
      if (words[w].Color == NoHighlight) continue;
      ASSERT_GE(b, 0) << "side " << side << " word " << w;
      EXPECT_EQ(outcome.Blocks[static_cast<std::size_t>(b)].Color, words[w].Color);
    }
  }
}

const int C1 = PaletteColor(1);
const int C2 = PaletteColor(2);

INSTANTIATE_TEST_SUITE_P(
    InOrder, InOrderBlocks,
    testing::Values(
        InOrderCase{"CutShortWindowsStillMatch",
                    u"The quick brown fox jumps over the lazy dog.",
                    u"A quick brown fox jumps over a lazy dog.",
                    3,
                    vellora::UnitWords,
                    {{C1, 1, 5, 1, 5}, {C2, 7, 8, 7, 8}}},
        InOrderCase{"IdenticalTextsAreOneBlock",
                    u"One two. Three four!\nFive",
                    u"One two. Three four!\nFive",
                    1,
                    vellora::UnitWords,
                    {{C1, 0, 4, 0, 4}}},
        InOrderCase{"StartOverAndNewBlockAtEnd",
                    u"b a",
                    u"a b",
                    1,
                    vellora::UnitWords,
                    {{C1, 0, 0, 1, 1}, {C2, 1, 1, 0, 0}}},
        InOrderCase{"TwoBlocks",
                    u"a b c d e",
                    u"x a b c y d e",
                    2,
                    vellora::UnitWords,
                    {{C1, 0, 2, 1, 3}, {C2, 3, 4, 5, 6}}},
        InOrderCase{"MarkedWordTakenAgainByNewBlock",
                    u"a b a b",
                    u"a b",
                    2,
                    vellora::UnitWords,
                    {{C1, 0, 1, 0, 1}, {C2, 3, 3, 1, 1}}},
        InOrderCase{"FailureAtFirstWordNeverStartsOver",
                    u"Hello world. Second sentence here. Third one.",
                    u"Third one. Hello world. Something else.",
                    1,
                    vellora::UnitSentences,
                    {{C1, 0, 1, 2, 3}}},
        InOrderCase{"NothingInCommon", u"x y z", u"a b c", 1, vellora::UnitWords, {}},
        // The second window (the last two one-word paragraphs) matches inside the first match,
        // so the last match ends before the first one does: the range still covers both.
        InOrderCase{"RangeCoversEveryMatchOfTheBlock",
                    u"a a a a a a a a a a\na\na",
                    u"a a a a a a a a a a a a",
                    2,
                    vellora::UnitParagraphs,
                    {{C1, 0, 11, 0, 10}}}),
    [](const testing::TestParamInfo<InOrderCase>& info) { return info.param.name; });

TEST(InOrderBlocks, SevenBlocksWrapAroundToTheFirstColour) {
  vellora::ArticleSpans a1, a2;
  const vellora::CompareOutcome outcome = vellora::CompareArticles(
      u"a x b x c x d x e x f x g", a1, u"a y b y c y d y e y f y g", a2, 1, vellora::UnitWords);
  ASSERT_EQ(outcome.Blocks.size(), 7u);
  for (int b = 0; b < 7; ++b) {
    EXPECT_EQ(RowsOf(outcome.Blocks)[static_cast<std::size_t>(b)],
              (BlockRow{PaletteColor(b % 6 + 1), 2 * b, 2 * b, 2 * b, 2 * b}));
  }
  EXPECT_EQ(outcome.LongestPassage(), 1);
}

}  // namespace
