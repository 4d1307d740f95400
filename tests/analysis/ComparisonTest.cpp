#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "TestText.h"
#include "UCompare.h"
#include "USegment.h"

namespace {

constexpr int W = NoHighlight;
constexpr int Aqua = 0xFFFF00;
constexpr int MoneyGreen = 0xC0DCC0;

struct Compared {
  vellora::ArticleSpans a1;
  vellora::ArticleSpans a2;
  vellora::CompareOutcome outcome;
};

Compared Compare(const std::u16string& t1, const std::u16string& t2, int minLength, int unit) {
  Compared c;
  c.outcome = vellora::CompareArticles(t1, c.a1, t2, c.a2, minLength, unit);
  return c;
}

struct ExampleCase {
  const char* name;
  std::u16string text1;
  std::u16string text2;
  int minLength;
  int unit;
  std::vector<int> colors1;
  std::vector<int> colors2;
  std::int64_t shown;
};

void PrintTo(const ExampleCase& c, std::ostream* os) {
  *os << c.name;
}

class ComparisonExamples : public testing::TestWithParam<ExampleCase> {};

TEST_P(ComparisonExamples, MarksAndShareMatch) {
  const ExampleCase& e = GetParam();
  const Compared c = Compare(e.text1, e.text2, e.minLength, e.unit);
  ASSERT_TRUE(c.outcome.Compared);
  EXPECT_EQ(ColorsOf(c.a1.Words), e.colors1) << Describe(e.text1, c.a1.Words);
  EXPECT_EQ(ColorsOf(c.a2.Words), e.colors2) << Describe(e.text2, c.a2.Words);
  EXPECT_EQ(c.outcome.Share.Shown, e.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Comparison, ComparisonExamples,
    testing::Values(
        ExampleCase{"CutShortWindowsStillMatch",
                    u"The quick brown fox jumps over the lazy dog.",
                    u"A quick brown fox jumps over a lazy dog.",
                    3,
                    vellora::UnitWords,
                    {W, Aqua, Aqua, Aqua, Aqua, Aqua, W, MoneyGreen, MoneyGreen},
                    {W, Aqua, Aqua, Aqua, Aqua, Aqua, W, MoneyGreen, MoneyGreen},
                    78},
        ExampleCase{"IdenticalTexts",
                    u"One two. Three four!\nFive",
                    u"One two. Three four!\nFive",
                    1,
                    vellora::UnitWords,
                    {Aqua, Aqua, Aqua, Aqua, Aqua},
                    {Aqua, Aqua, Aqua, Aqua, Aqua},
                    100},
        ExampleCase{"AsciiCaseIsFolded",
                    u"Hello World",
                    u"hello WORLD",
                    1,
                    vellora::UnitWords,
                    {Aqua, Aqua},
                    {Aqua, Aqua},
                    100},
        ExampleCase{"AccentedCapitalsAreNotFolded",
                    u"Caf\u00e9 au lait",
                    u"CAF\u00c9 au lait",
                    1,
                    vellora::UnitWords,
                    {W, Aqua, Aqua},
                    {W, Aqua, Aqua},
                    67},
        ExampleCase{"StartOverAndNewBlockAtEnd",
                    u"b a",
                    u"a b",
                    1,
                    vellora::UnitWords,
                    {Aqua, MoneyGreen},
                    {MoneyGreen, Aqua},
                    100},
        ExampleCase{"FailureAtFirstWordNeverStartsOver",
                    u"Hello world. Second sentence here. Third one.",
                    u"Third one. Hello world. Something else.",
                    1,
                    vellora::UnitSentences,
                    {Aqua, Aqua, W, W, W, W, W},
                    {W, W, Aqua, Aqua, W, W},
                    33},
        ExampleCase{"TwoBlocks",
                    u"a b c d e",
                    u"x a b c y d e",
                    2,
                    vellora::UnitWords,
                    {Aqua, Aqua, Aqua, MoneyGreen, MoneyGreen},
                    {W, Aqua, Aqua, Aqua, W, MoneyGreen, MoneyGreen},
                    71},
        ExampleCase{"MarkedWordTakenAgainByNewBlock",
                    u"a b a b",
                    u"a b",
                    2,
                    vellora::UnitWords,
                    {Aqua, Aqua, W, MoneyGreen},
                    {Aqua, MoneyGreen},
                    100},
        ExampleCase{
            "NothingInCommon", u"x y z", u"a b c", 1, vellora::UnitWords, {W, W, W}, {W, W, W}, 0},
        ExampleCase{"MinimumZeroMarksNothing",
                    u"a b c",
                    u"a b c",
                    0,
                    vellora::UnitWords,
                    {W, W, W},
                    {W, W, W},
                    0},
        ExampleCase{"MinimumZeroSentencesMarksNothing",
                    u"a b. c",
                    u"a b. c",
                    0,
                    vellora::UnitSentences,
                    {W, W, W},
                    {W, W, W},
                    0},
        ExampleCase{"NegativeMinimumActsAsOne",
                    u"a b c",
                    u"c b a",
                    -3,
                    vellora::UnitWords,
                    {Aqua, MoneyGreen, 0x00FFFF},
                    {0x00FFFF, MoneyGreen, Aqua},
                    100},
        ExampleCase{"UnknownUnitMarksNothing", u"a b", u"a b", 1, 3, {W, W}, {W, W}, 0},
        // 'three four' lies before the previous match and its attempts never reach its last
        // word, so the search does not start over.
        ExampleCase{"SearchResumesAfterThePreviousMatch",
                    u"one two\nthree four\nfive",
                    u"three four\nzz\none two",
                    1,
                    vellora::UnitParagraphs,
                    {Aqua, Aqua, W, W, W},
                    {W, W, W, Aqua, Aqua},
                    40},
        ExampleCase{"ArticleOneWithoutWords", u"...", u"a b", 1, vellora::UnitWords, {}, {W, W}, 0},
        ExampleCase{"ArticleTwoWithoutWords", u"a b", u"?!", 1, vellora::UnitWords, {W, W}, {}, 0}),
    [](const testing::TestParamInfo<ExampleCase>& info) { return info.param.name; });

TEST(Comparison, SevenBlocksWrapAroundToTheFirstColour) {
  // Seven one-word matches, each separated by an unmatched word in both articles.
  const Compared c =
      Compare(u"a x b x c x d x e x f x g", u"a y b y c y d y e y f y g", 1, vellora::UnitWords);
  const std::vector<int> expected = {PaletteColor(1), W, PaletteColor(2), W, PaletteColor(3), W,
                                     PaletteColor(4), W, PaletteColor(5), W, PaletteColor(6), W,
                                     PaletteColor(1)};
  EXPECT_EQ(ColorsOf(c.a1.Words), expected);
  EXPECT_EQ(ColorsOf(c.a2.Words), expected);
}

TEST(Comparison, BlankArticleStopsBeforeTouchingTheLists) {
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(u"keep me", a1);
  a1.Words[0].Color = Aqua;
  for (const auto& [t1, t2] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"  \r\n\t", u"text"}, {u"text", u""}, {u"", u""}}) {
    const vellora::CompareOutcome outcome = vellora::CompareArticles(t1, a1, t2, a2, 1, 0);
    EXPECT_FALSE(outcome.Compared);
    EXPECT_EQ(a1.Words.Count(), 2);
    EXPECT_EQ(a1.Words[0].Color, Aqua);
  }
}

TEST(Comparison, SecondCompareStartsFromFreshColours) {
  vellora::ArticleSpans a1, a2;
  vellora::CompareArticles(u"a b", a1, u"a b", a2, 1, 0);
  const auto outcome = vellora::CompareArticles(u"a b", a1, u"c d", a2, 1, 0);
  EXPECT_EQ(ColorsOf(a1.Words), (std::vector<int>{W, W}));
  EXPECT_EQ(outcome.Share.Shown, 0);
}

TEST(Comparison, HugeMinimumCoversTheWholeArticle) {
  const Compared c = Compare(u"a b c", u"z a b c", 2147483647, vellora::UnitWords);
  // The first window is the whole article; the later, shorter windows extend the same block.
  EXPECT_EQ(ColorsOf(c.a1.Words), (std::vector<int>{Aqua, Aqua, Aqua}));
  EXPECT_EQ(c.outcome.Share.Shown, 75);
}

TEST(Comparison, NextWindowCutsWindowsShortAtTheEnd) {
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(u"a b c d", a1);
  vellora::SegmentText(u"q", a2);
  vellora::DuplicateComparison walk(u"a b c d", a1.Words, a1.Sentences, a1.Paragraphs, u"q",
                                    a2.Words, 3, vellora::UnitWords);
  std::vector<Range> windows;
  std::int32_t s1, e1;
  while (walk.NextWindow(s1, e1)) windows.push_back({s1, e1});
  EXPECT_EQ(windows, (std::vector<Range>{{0, 2}, {1, 3}, {2, 3}, {3, 3}}));
}

TEST(Comparison, SentenceWindowsSpanWholeSentences) {
  const std::u16string text = u"a b. c d e. f";
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(text, a1);
  vellora::SegmentText(u"q", a2);
  vellora::DuplicateComparison walk(text, a1.Words, a1.Sentences, a1.Paragraphs, u"q", a2.Words, 2,
                                    vellora::UnitSentences);
  std::vector<Range> windows;
  std::int32_t s1, e1;
  while (walk.NextWindow(s1, e1)) windows.push_back({s1, e1});
  EXPECT_EQ(windows, (std::vector<Range>{{0, 4}, {2, 5}, {5, 5}}));
}

TEST(Comparison, FindMatchMovesResumeAtAndStartsOver) {
  // 'b a' against 'a b': the first window fails at index 0, starts over, matches at 1.
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(u"b a", a1);
  vellora::SegmentText(u"a b", a2);
  vellora::DuplicateComparison walk(u"b a", a1.Words, a1.Sentences, a1.Paragraphs, u"a b", a2.Words,
                                    1, vellora::UnitWords);
  EXPECT_TRUE(walk.FindMatch(0, 0));
  EXPECT_EQ(walk.ResumeAt(), 1);
  EXPECT_EQ(walk.ColorIndex(), 1);
  EXPECT_TRUE(walk.FindMatch(1, 1));
  EXPECT_EQ(walk.ResumeAt(), 0);
  EXPECT_EQ(walk.ColorIndex(), 2);
}

TEST(Comparison, FailedSearchWithoutStartOverKeepsResumeAt) {
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(u"p q r s", a1);
  vellora::SegmentText(u"p q x y", a2);
  vellora::DuplicateComparison walk(u"p q r s", a1.Words, a1.Sentences, a1.Paragraphs, u"p q x y",
                                    a2.Words, 2, vellora::UnitWords);
  EXPECT_TRUE(walk.FindMatch(0, 1));
  EXPECT_EQ(walk.ResumeAt(), 0);
  EXPECT_FALSE(walk.FindMatch(2, 3)) << "'r' occurs nowhere: every attempt fails at the first word";
  EXPECT_EQ(walk.ResumeAt(), 0);
  EXPECT_FALSE(walk.FindMatch(1, 2)) << "'q r' fails at its last word, starts over, fails again";
  EXPECT_EQ(walk.ResumeAt(), -1);
}

struct ShareCase {
  int marked;
  int total;
  std::int64_t shown;
};
void PrintTo(const ShareCase& c, std::ostream* os) {
  *os << c.marked << " of " << c.total;
}

class DuplicateShareTable : public testing::TestWithParam<ShareCase> {};

TEST_P(DuplicateShareTable, RoundsHalvesToEven) {
  const ShareCase& c = GetParam();
  const vellora::DuplicateShare share = vellora::ComputeDuplicateShare(c.marked, c.total);
  EXPECT_EQ(share.Shown, c.shown) << c.marked << " of " << c.total;
  if (c.total > 0) {
    EXPECT_DOUBLE_EQ(share.Percent, 100.0 * c.marked / c.total);
  }
}

INSTANTIATE_TEST_SUITE_P(Comparison, DuplicateShareTable,
                         testing::Values(ShareCase{1, 8, 12},   // 12.5
                                         ShareCase{3, 8, 38},   // 37.5
                                         ShareCase{1, 40, 2},   // 2.5
                                         ShareCase{3, 40, 8},   // 7.5
                                         ShareCase{7, 9, 78},   // 77.78
                                         ShareCase{2, 3, 67},   // 66.67
                                         ShareCase{1, 200, 0},  // 0.5
                                         ShareCase{3, 200, 2},  // 1.5
                                         ShareCase{0, 5, 0}, ShareCase{5, 5, 100},
                                         ShareCase{0, 0, 0}, ShareCase{1999999, 2000000, 100}));

TEST(Comparison, PaletteHasSixColoursAndWhiteElsewhere) {
  const std::vector<int> expected = {W,        0xFFFF00, 0xC0DCC0, 0x00FFFF,
                                     0x0000FF, 0x008080, 0xC0C0C0, W};
  for (int i = 0; i <= 7; ++i) EXPECT_EQ(PaletteColor(i), expected[i]) << "index " << i;
  EXPECT_EQ(PaletteColor(-1), W);
}

}  // namespace

namespace {

// Word ids fold A to Z only: neighbours of the letters, accented capitals and units whose low
// bits look like a capital stay as they are, in words of every length around the 4-unit chunks.
TEST(WordIds, EqualExactlyWhenTheFoldedWordsAreEqual) {
  const std::u16string alphabet = u"AaZz@[`{\u00c9\u00e9\u8041\u8061\u0141\u0161";
  std::mt19937 rng(3);
  std::u16string text1, text2;
  const auto addWords = [&](std::u16string& text, int count) {
    for (int i = 0; i < count; ++i) {
      const int length = 1 + static_cast<int>(rng() % 9);
      for (int k = 0; k < length; ++k)
        text += alphabet[rng() % 4 == 0 ? rng() % alphabet.size() : rng() % 4];
      text += u' ';
    }
  };
  addWords(text1, 3000);
  addWords(text2, 3000);
  vellora::ArticleSpans a1, a2;
  vellora::SegmentText(text1, a1);
  vellora::SegmentText(text2, a2);
  std::vector<std::uint32_t> ids1, ids2;
  vellora::AssignWordIds(text1, a1.Words, text2, a2.Words, ids1, ids2);
  const auto folded = [](const std::u16string& text, const TWord& w) {
    std::u16string s = text.substr(w.StartPos - 1, w.EndPos - w.StartPos);
    for (char16_t& c : s) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return s;
  };
  std::map<std::u16string, std::uint32_t> idOf;
  for (int j = 0; j < a2.Words.Count(); ++j) {
    const auto [it, added] = idOf.emplace(folded(text2, a2.Words[j]), ids2[j]);
    ASSERT_EQ(it->second, ids2[j]) << "equal words, different ids at word " << j;
  }
  std::set<std::uint32_t> distinct(ids2.begin(), ids2.end());
  EXPECT_EQ(distinct.size(), idOf.size()) << "different words share an id";
  for (int i = 0; i < a1.Words.Count(); ++i) {
    const auto it = idOf.find(folded(text1, a1.Words[i]));
    EXPECT_EQ(ids1[i], it == idOf.end() ? vellora::WordIndex::kAbsent : it->second) << i;
  }
}

}  // namespace
