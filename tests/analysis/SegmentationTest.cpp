#include <gtest/gtest.h>

#include "TestText.h"
#include "USegment.h"

namespace {

struct SegmentCase {
  const char* name;
  std::u16string text;
  std::vector<std::pair<int, int>> words;
  std::vector<Range> sentences;
  std::vector<Range> paragraphs;
};

void PrintTo(const SegmentCase& c, std::ostream* os) {
  *os << c.name;
}

class SegmentationTable : public testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentationTable, ProducesTheExpectedLists) {
  const SegmentCase& c = GetParam();
  vellora::ArticleSpans spans;
  vellora::SegmentText(c.text, spans);
  EXPECT_EQ(PositionsOf(spans.Words), c.words);
  EXPECT_EQ(RangesOf(spans.Sentences), c.sentences);
  EXPECT_EQ(RangesOf(spans.Paragraphs), c.paragraphs);
  for (const TWord& w : spans.Words) EXPECT_EQ(w.Color, NoHighlight);
}

INSTANTIATE_TEST_SUITE_P(
    Segmentation, SegmentationTable,
    testing::Values(
        SegmentCase{"EmptyText", u"", {}, {}, {}},
        SegmentCase{"SeparatorsOnly", u"...!!!", {}, {}, {}},
        SegmentCase{"SentencesOfOneParagraph",
                    u"Hello, world! How are you?",
                    {{1, 6}, {8, 13}, {15, 18}, {19, 22}, {23, 26}},
                    {{0, 1}, {2, 4}},
                    {{0, 4}}},
        SegmentCase{"WordRunningToTheEnd", u"word", {{1, 5}}, {{0, 0}}, {{0, 0}}},
        SegmentCase{"TabIsAWordCharacter", u"a\tb", {{1, 4}}, {{0, 0}}, {{0, 0}}},
        SegmentCase{"DecimalPointSplits", u"3.14", {{1, 2}, {3, 5}}, {{0, 0}, {1, 1}}, {{0, 1}}},
        SegmentCase{"AbbreviationEndsSentence",
                    u"Dr. Smith\r\n",
                    {{1, 3}, {5, 10}},
                    {{0, 0}, {1, 1}},
                    {{0, 1}}},
        SegmentCase{"EmptyLineAddsNothing",
                    u"Line one\r\n\r\nLine two",
                    {{1, 5}, {6, 9}, {13, 17}, {18, 21}},
                    {{0, 1}, {2, 3}},
                    {{0, 1}, {2, 3}}},
        SegmentCase{"ColonAndHyphenBelongToWords",
                    u"state-of-the-art: yes",
                    {{1, 18}, {19, 22}},
                    {{0, 1}},
                    {{0, 1}}},
        SegmentCase{"CommaAndSemicolonEndWordsOnly",
                    u"a,b;c",
                    {{1, 2}, {3, 4}, {5, 6}},
                    {{0, 2}},
                    {{0, 2}}},
        SegmentCase{"LoneLineFeedEndsParagraph",
                    u"one\ntwo",
                    {{1, 4}, {5, 8}},
                    {{0, 0}, {1, 1}},
                    {{0, 0}, {1, 1}}},
        SegmentCase{"TrailingBreaksAddNothing", u"end\n\n\n", {{1, 4}}, {{0, 0}}, {{0, 0}}},
        SegmentCase{"LeadingSeparators", u"  ,hi", {{4, 6}}, {{0, 0}}, {{0, 0}}},
        SegmentCase{"NonAsciiIsWordCharacter",
                    u"caf\u00e9 \u00bfqu\u00e9?",
                    {{1, 5}, {6, 10}},
                    {{0, 1}},
                    {{0, 1}}},
        SegmentCase{"ControlCharactersAreWordCharacters",
                    std::u16string(u"a\0b c", 5),
                    {{1, 4}, {5, 6}},
                    {{0, 1}},
                    {{0, 1}}}),
    [](const testing::TestParamInfo<SegmentCase>& info) { return info.param.name; });

TEST(Segmentation, ListsAreRefilledFromScratch) {
  vellora::ArticleSpans spans;
  vellora::SegmentText(u"one two three. four", spans);
  spans.Words[0].Color = 0xFFFF00;
  vellora::SegmentText(u"five", spans);
  ASSERT_EQ(spans.Words.Count(), 1);
  EXPECT_EQ(spans.Words[0], (TWord{1, 5, NoHighlight}));
  EXPECT_EQ(spans.Sentences.Count(), 1);
  EXPECT_EQ(spans.Paragraphs.Count(), 1);
}

// Invariants on arbitrary text: ordered, non-overlapping words made of word characters only,
// sentences and paragraphs covering the words without gaps, every paragraph end a sentence end.
TEST(Segmentation, InvariantsHoldOnRandomText) {
  const std::u16string alphabet = u"ab \n\r.,;!?\t:-\u00a0x";
  std::uint32_t seed = 12345;
  for (int round = 0; round < 500; ++round) {
    std::u16string text;
    const int length = round % 60;
    for (int i = 0; i < length; ++i) {
      seed = seed * 1664525u + 1013904223u;
      text.push_back(alphabet[(seed >> 16) % alphabet.size()]);
    }
    vellora::ArticleSpans spans;
    vellora::SegmentText(text, spans);
    int previousEnd = 0;
    for (const TWord& w : spans.Words) {
      ASSERT_GT(w.StartPos, previousEnd) << "text " << vellora::ToUtf8(text);
      ASSERT_GT(w.EndPos, w.StartPos);
      for (int p = w.StartPos; p < w.EndPos; ++p) ASSERT_FALSE(vellora::IsSeparator(text[p - 1]));
      if (w.EndPos <= static_cast<int>(text.size())) {
        ASSERT_TRUE(vellora::IsSeparator(text[w.EndPos - 1]));
      }
      previousEnd = w.EndPos;
    }
    const auto checkCover = [&](const std::vector<Range>& ranges) {
      int next = 0;
      for (const Range& r : ranges) {
        ASSERT_EQ(r.first, next);
        ASSERT_GE(r.last, r.first);
        next = r.last + 1;
      }
      ASSERT_EQ(next, spans.Words.Count());
    };
    checkCover(RangesOf(spans.Sentences));
    checkCover(RangesOf(spans.Paragraphs));
    std::vector<int> sentenceEnds;
    for (const TSentence& s : spans.Sentences) sentenceEnds.push_back(s.LastWord);
    for (const TParagraph& p : spans.Paragraphs) {
      EXPECT_NE(std::find(sentenceEnds.begin(), sentenceEnds.end(), p.LastWord),
                sentenceEnds.end());
    }
  }
}

struct NormalizeCase {
  const char* name;
  std::u16string input;
  std::u16string expected;
  int words;
};

void PrintTo(const NormalizeCase& c, std::ostream* os) {
  *os << c.name;
}

class NormalizationTable : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizationTable, ReplacesTheThreeCharactersOnly) {
  const NormalizeCase& c = GetParam();
  const std::u16string normalized = NormalizeArticleText(c.input);
  EXPECT_EQ(normalized, c.expected);
  EXPECT_EQ(normalized.size(), c.input.size());
  vellora::ArticleSpans spans;
  vellora::SegmentText(normalized, spans);
  EXPECT_EQ(spans.Words.Count(), c.words);
}

INSTANTIATE_TEST_SUITE_P(
    Normalization, NormalizationTable,
    testing::Values(NormalizeCase{"NoBreakSpaceSeparates", u"a\u00a0b", u"a b", 2},
                    NormalizeCase{"RightQuoteBecomesApostrophe", u"don\u2019t", u"don't", 1},
                    NormalizeCase{"EnDashBecomesHyphen", u"stop\u2013now", u"stop-now", 1},
                    NormalizeCase{"AllOccurrences", u"\u00a0\u2019\u2013\u00a0", u" '- ", 1},
                    NormalizeCase{"OtherQuotesAndDashesStay", u"\u2018x\u201d\u2014y",
                                  u"\u2018x\u201d\u2014y", 1},
                    NormalizeCase{"Empty", u"", u"", 0}),
    [](const testing::TestParamInfo<NormalizeCase>& info) { return info.param.name; });

TEST(Normalization, InPlaceReportsWhetherAnythingChanged) {
  std::u16string unchanged = u"plain text";
  EXPECT_FALSE(vellora::NormalizeArticleTextInPlace(unchanged));
  std::u16string changed = u"it\u2019s";
  EXPECT_TRUE(vellora::NormalizeArticleTextInPlace(changed));
  EXPECT_EQ(changed, u"it's");
  EXPECT_FALSE(vellora::NormalizeArticleTextInPlace(changed)) << "a second pass changes nothing";
}

// Each special unit alone at every position of a long text, next to units just below and above
// the ones that change.
TEST(Normalization, ReplacesAtEveryPositionOfALongText) {
  const std::u16string specials = u"\u00a0\u2019\u2013";
  const std::u16string replacements = u" '-";
  for (std::size_t position = 0; position < 100; ++position) {
    for (std::size_t k = 0; k < specials.size(); ++k) {
      std::u16string text(100, u'\u009f');
      text[(position + 50) % 100] = u'\u00a1';
      text[position] = specials[k];
      std::u16string expected = text;
      expected[position] = replacements[k];
      EXPECT_TRUE(vellora::NormalizeArticleTextInPlace(text)) << position;
      EXPECT_EQ(text, expected) << position;
    }
  }
  std::u16string unchanged(100, u'\u00a1');
  EXPECT_FALSE(vellora::NormalizeArticleTextInPlace(unchanged));
}

TEST(Normalization, TrimRemovesCodesUpToSpaceAtBothEnds) {
  EXPECT_EQ(vellora::TrimControlAndSpace(u"\t\r\n  x y \x01"), u"x y");
  EXPECT_EQ(vellora::TrimControlAndSpace(u" \n\t "), u"");
  EXPECT_EQ(vellora::TrimControlAndSpace(u"\u00a0x"), u"\u00a0x") << "U+00A0 is above 32";
}

}  // namespace
