#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "TestText.h"
#include "UKeyword.h"
#include "USegment.h"

namespace {

struct DensityCase {
  const char* name;
  std::u16string keywordField;
  std::u16string text;
  std::vector<std::int32_t> positions;
  int words;
  double density;  // two decimals, as shown
};

void PrintTo(const DensityCase& c, std::ostream* os) {
  *os << c.name;
}

class KeywordDensityTable : public testing::TestWithParam<DensityCase> {};

TEST_P(KeywordDensityTable, CountsOccurrencesAndDensity) {
  const DensityCase& c = GetParam();
  const std::u16string_view keyword = vellora::TrimControlAndSpace(c.keywordField);
  const std::vector<std::int32_t> positions = vellora::FindAllKeywordOccurrences(c.text, keyword);
  EXPECT_EQ(positions, c.positions);
  vellora::ArticleSpans spans;
  vellora::SegmentText(c.text, spans);
  EXPECT_EQ(spans.Words.Count(), c.words);
  const double density = vellora::KeywordDensity(static_cast<std::int32_t>(positions.size()),
                                                 spans.Words.Count(), c.text);
  EXPECT_EQ(std::round(density * 100) / 100, c.density);
}

INSTANTIATE_TEST_SUITE_P(
    Keyword, KeywordDensityTable,
    testing::Values(
        DensityCase{"CaseInsensitiveAndInsideWords",
                    u"apple",
                    u"Apple pie. An APPLE a day; pineapple!",
                    {0, 14, 31},
                    7,
                    42.86},
        DensityCase{"OverlappingOccurrences", u"aa", u"aaaa", {0, 1, 2}, 1, 300.00},
        DensityCase{"PhraseCountsOnce",
                    u"red apple",
                    u"I like red apples. Red apple pie.",
                    {7, 19},
                    7,
                    28.57},
        DensityCase{"FieldIsTrimmed",
                    u"  red apple ",
                    u"I like red apples. Red apple pie.",
                    {7, 19},
                    7,
                    28.57},
        DensityCase{"NoMatchAcrossLineBreak", u"red apple", u"red\napple", {}, 2, 0.0},
        DensityCase{"SpacesMatchOneForOne", u"red apple", u"red  apple", {}, 2, 0.0},
        DensityCase{"NoOccurrence", u"pear", u"apple pie", {}, 2, 0.0},
        DensityCase{"OnlyLineBreaks", u"x", u"\n\n", {}, 0, 0.0},
        DensityCase{"EmptyText", u"x", u"", {}, 0, 0.0},
        DensityCase{"BlankKeywordCountsNothing", u"  \t", u"some text", {}, 2, 0.0},
        DensityCase{"TextWithoutWords", u".", u"...", {0, 1, 2}, 0, 0.0},
        DensityCase{"AccentedLettersFold",
                    u"\u00c9t\u00c9",
                    u"\u00e9t\u00e9 \u00c9T\u00c9",
                    {0, 4},
                    2,
                    100.0},
        DensityCase{"CyrillicFolds", u"\u041c\u0418\u0420", u"\u043c\u0438\u0440", {0}, 1, 100.0}),
    [](const testing::TestParamInfo<DensityCase>& info) { return info.param.name; });

TEST(Keyword, FindStartsAtTheGivenPosition) {
  EXPECT_EQ(vellora::FindKeyword(u"abcabc", u"ABC", 0), 0);
  EXPECT_EQ(vellora::FindKeyword(u"abcabc", u"ABC", 1), 3);
  EXPECT_EQ(vellora::FindKeyword(u"abcabc", u"ABC", 4), -1);
  EXPECT_EQ(vellora::FindKeyword(u"abc", u"abc", 99), -1);
  EXPECT_EQ(vellora::FindKeyword(u"abc", u"abcd", 0), -1);
}

TEST(Keyword, FoldingLeavesNonLettersAlone) {
  EXPECT_EQ(vellora::FoldForSearch(u'Z'), u'z');
  EXPECT_EQ(vellora::FoldForSearch(u'['), u'[');
  EXPECT_EQ(vellora::FoldForSearch(u'\u00d7'), u'\u00d7') << "multiplication sign";
  EXPECT_EQ(vellora::FoldForSearch(u'\u0178'), u'\u00ff');
  EXPECT_EQ(vellora::FoldForSearch(u'\u0141'), u'\u0142');
  EXPECT_EQ(vellora::FoldForSearch(u'\u0142'), u'\u0142');
  EXPECT_EQ(vellora::FoldForSearch(u'\u0100'), u'\u0101');
  EXPECT_EQ(vellora::FoldForSearch(u'\u03a3'), u'\u03c3');
  EXPECT_EQ(vellora::FoldForSearch(u'\u0401'), u'\u0451');
}

// The search as the letter of the rule reads: try every start, compare unit by unit.
std::vector<std::int32_t> EveryStartTried(std::u16string_view text, std::u16string_view keyword,
                                          std::size_t start) {
  std::vector<std::int32_t> positions;
  if (keyword.empty()) return positions;
  for (std::size_t i = start; i + keyword.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < keyword.size() &&
           vellora::FoldForSearch(text[i + k]) == vellora::FoldForSearch(keyword[k]))
      ++k;
    if (k == keyword.size()) positions.push_back(static_cast<std::int32_t>(i));
  }
  return positions;
}

TEST(Keyword, OneSearchFindsWhatTryingEveryStartFinds) {
  // Small alphabets with case pairs make borders, overlaps and near misses frequent.
  const std::u16string alphabet = u"aAb\u00e9\u00c9 ";
  std::mt19937 rng(14);
  for (int round = 0; round < 3000; ++round) {
    const std::size_t letters = 1 + rng() % alphabet.size();
    std::u16string text(rng() % 60, u' ');
    for (char16_t& c : text) c = alphabet[rng() % letters];
    std::u16string keyword(1 + rng() % 6, u' ');
    for (char16_t& c : keyword) c = alphabet[rng() % letters];
    const std::size_t start = rng() % (text.size() + 2);
    const auto expected = EveryStartTried(text, keyword, start);
    ASSERT_EQ(vellora::FindAllKeywordOccurrences(text, keyword, static_cast<std::int32_t>(start)),
              expected)
        << "round " << round;
    ASSERT_EQ(vellora::FindKeyword(text, keyword, static_cast<std::int32_t>(start)),
              expected.empty() ? -1 : expected.front())
        << "round " << round;
  }
}

// A long keyword that nearly matches everywhere: the search that cost text x keyword steps.
TEST(Keyword, LongNearMatchingKeywordGivesEveryOccurrence) {
  std::u16string text(80000, u'a');
  text[40000] = u'b';
  const std::u16string keyword(8000, u'A');
  const auto positions = vellora::FindAllKeywordOccurrences(text, keyword);
  // Starts 0..32000 end before the b; starts 40001..72000 begin after it.
  ASSERT_EQ(positions.size(), 32001u + 32000u);
  EXPECT_EQ(positions.front(), 0);
  EXPECT_EQ(positions[32000], 32000);
  EXPECT_EQ(positions[32001], 40001);
  EXPECT_EQ(positions.back(), 72000);
  EXPECT_EQ(vellora::FindKeyword(text, keyword, 32001), 40001);
}

TEST(Keyword, NegativeStartFindsNothing) {
  EXPECT_TRUE(vellora::FindAllKeywordOccurrences(u"aaa", u"a", -1).empty());
  EXPECT_EQ(vellora::FindKeyword(u"aaa", u"a", -1), -1);
}

}  // namespace
