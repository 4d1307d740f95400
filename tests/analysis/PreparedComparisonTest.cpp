// Articles prepared one by one, each on its own thread, must compare exactly as the lists compare
// in one go: the same colours in both articles, the same blocks and the same shares, in both
// match modes and all three units.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "TestText.h"
#include "UAnywhere.h"
#include "UCompare.h"
#include "UPreparedComparison.h"
#include "USegment.h"
#include "UWordIds.h"

namespace {

using vellora::ArticleSide;
using vellora::ArticleSpans;
using vellora::CompareOutcome;
using vellora::ComparisonSettings;
using vellora::MatchMode;

std::string Where(const std::u16string& t1, const std::u16string& t2, const ComparisonSettings& s) {
  return std::string(s.Mode == MatchMode::Anywhere ? "anywhere" : "in order") + " unit " +
         std::to_string(s.UnitType) + " min " + std::to_string(s.MinLength) + " gap " +
         std::to_string(s.Gap) + "\narticle 1: " + vellora::ToUtf8(t1) +
         "\narticle 2: " + vellora::ToUtf8(t2);
}

// Both articles prepared side by side, as vellora-compare prepares them while reading, then
// compared. `preparedFor` may differ from `settings`: what was not built ahead is built then.
CompareOutcome ComparePrepared(const std::u16string& text1, ArticleSpans& a1,
                               const std::u16string& text2, ArticleSpans& a2,
                               const ComparisonSettings& settings,
                               const ComparisonSettings& preparedFor) {
  vellora::SegmentText(text1, a1);
  vellora::SegmentText(text2, a2);
  std::optional<vellora::PreparedArticle> p1;
  std::optional<vellora::PreparedArticle> p2;
  std::thread second([&] { p2.emplace(ArticleSide::Second, text2, a2, preparedFor); });
  p1.emplace(ArticleSide::First, text1, a1, preparedFor);
  second.join();
  return vellora::ComparePreparedArticles(*p1, *p2, settings);
}

void ExpectSameAsInOneGo(const std::u16string& text1, const std::u16string& text2,
                         const ComparisonSettings& settings,
                         const ComparisonSettings& preparedFor) {
  ArticleSpans one1, one2;
  vellora::SegmentText(text1, one1);
  vellora::SegmentText(text2, one2);
  const CompareOutcome expected =
      vellora::CompareSegmentedArticles(text1, one1, text2, one2, settings);
  ArticleSpans p1, p2;
  const CompareOutcome actual = ComparePrepared(text1, p1, text2, p2, settings, preparedFor);
  const auto where = [&] { return Where(text1, text2, settings); };
  ASSERT_EQ(actual.Compared, expected.Compared) << where();
  ASSERT_EQ(ColorsOf(p1.Words), ColorsOf(one1.Words)) << where();
  ASSERT_EQ(ColorsOf(p2.Words), ColorsOf(one2.Words)) << where();
  ASSERT_EQ(BlockSummary(actual.Blocks), BlockSummary(expected.Blocks)) << where();
  ASSERT_EQ(actual.Share.Marked, expected.Share.Marked) << where();
  ASSERT_EQ(actual.Share.Total, expected.Share.Total) << where();
  ASSERT_EQ(actual.Share.Shown, expected.Share.Shown) << where();
  ASSERT_EQ(actual.Share1.Marked, expected.Share1.Marked) << where();
  ASSERT_EQ(actual.Share1.Total, expected.Share1.Total) << where();
  ASSERT_EQ(actual.Share1.Shown, expected.Share1.Shown) << where();
}

void ExpectSameAsInOneGo(const std::u16string& text1, const std::u16string& text2,
                         const ComparisonSettings& settings) {
  ExpectSameAsInOneGo(text1, text2, settings, settings);
}

struct NamedPair {
  const char* name;
  std::u16string text1;
  std::u16string text2;
};

const std::vector<NamedPair>& NamedPairs() {
  static const std::vector<NamedPair> pairs = {
      {"case folded words", u"The Cat sat on THE mat. It was happy.",
       u"the cat SAT on the MAT. it was Happy."},
      {"letters beyond A to Z keep their case", u"\u00c9t\u00e9 caf\u00e9 na\u00efve one two",
       u"\u00e9t\u00e9 CAF\u00c9 NA\u00cfVE one two"},
      {"words only in Article 1", u"alpha beta gamma delta epsilon one two three",
       u"one two three"},
      {"words only in Article 2", u"one two three", u"zeta one eta two theta three iota"},
      {"no word in common", u"red green blue", u"cyan magenta yellow"},
      {"passage copied twice", u"a b c d. e f g.", u"e f g. a b c d. a b c d."},
      {"moved paragraphs", u"first para here.\n\nsecond para here.\n\nthird one.",
       u"third one.\n\nfirst para here.\n\nsecond para here."},
      {"repetitive", u"t t u. t t t u. t u.", u"t u. t t u. t t t t u."},
      {"blank Article 1", u" \t\r\n", u"some words here"},
      {"blank Article 2", u"some words here", u"\x01\x02 "},
      {"both blank", u"", u"   "},
      {"punctuation only", u"... !!! ???", u"... !!!"},
      {"one word each", u"word", u"WORD"},
  };
  return pairs;
}

std::vector<ComparisonSettings> AllSettings() {
  std::vector<ComparisonSettings> all;
  for (const MatchMode mode : {MatchMode::InOrder, MatchMode::Anywhere}) {
    for (int unit = 0; unit <= 2; ++unit) {
      for (const int minLength : {-3, 0, 1, 2, 4, 8}) {
        for (const int gap : {0, 2}) {
          if (mode == MatchMode::InOrder && gap != 0) continue;
          all.push_back(ComparisonSettings{mode, minLength, unit, gap});
        }
      }
    }
  }
  return all;
}

TEST(PreparedComparison, NamedPairsCompareAsInOneGo) {
  for (const NamedPair& pair : NamedPairs()) {
    SCOPED_TRACE(pair.name);
    for (const ComparisonSettings& settings : AllSettings()) {
      ExpectSameAsInOneGo(pair.text1, pair.text2, settings);
      if (HasFatalFailure()) return;
    }
  }
}

// Preparation follows the settings it is given; compared with other settings, what is missing
// is built at comparison time and the result is still the same.
TEST(PreparedComparison, PreparedForTheOtherModeStillComparesRight) {
  const std::u16string text1 = u"one two three four. five six seven. eight nine ten.";
  const std::u16string text2 = u"five six seven. one two three four. ten eleven.";
  for (const ComparisonSettings& settings : AllSettings()) {
    ComparisonSettings other = settings;
    other.Mode = settings.Mode == MatchMode::Anywhere ? MatchMode::InOrder : MatchMode::Anywhere;
    ExpectSameAsInOneGo(text1, text2, settings, other);
    if (HasFatalFailure()) return;
    other = settings;
    other.MinLength = 0;  // nothing of the index is built ahead
    ExpectSameAsInOneGo(text1, text2, settings, other);
    if (HasFatalFailure()) return;
    other = settings;
    other.MinLength = settings.MinLength == 8 ? 2 : 8;  // another gram length, or none
    ExpectSameAsInOneGo(text1, text2, settings, other);
    if (HasFatalFailure()) return;
    other = settings;
    other.UnitType = (settings.UnitType + 1) % 3;  // tokens of another unit
    ExpectSameAsInOneGo(text1, text2, settings, other);
    if (HasFatalFailure()) return;
  }
}

TEST(PreparedComparison, BlankArticleIsNotComparedAndKeepsItsLists) {
  const std::u16string text1 = u"  \n ";
  const std::u16string text2 = u"a b c";
  ArticleSpans a1, a2;
  const ComparisonSettings settings{MatchMode::Anywhere, 1, 0, 0};
  const CompareOutcome outcome = ComparePrepared(text1, a1, text2, a2, settings, settings);
  EXPECT_FALSE(outcome.Compared);
  EXPECT_TRUE(outcome.Blocks.empty());
  ASSERT_EQ(a2.Words.Count(), 3);
  for (const TWord& w : a2.Words) EXPECT_EQ(w.Color, NoHighlight);
}

std::u16string RandomText(std::mt19937& rng, int words, const std::vector<std::u16string>& extra) {
  static const std::vector<std::u16string> vocabulary = {
      u"a", u"A", u"b", u"B", u"c", u"d", u"\u00e9", u"\u00c9", u"e-f", u"E-F", u"long-word"};
  static const std::vector<std::u16string> separators = {u" ",  u" ",  u" ",  u" ",
                                                         u", ", u". ", u"\n", u"\n\n"};
  std::u16string text;
  const std::size_t size = 2 + rng() % (vocabulary.size() - 1);
  for (int i = 0; i < words; ++i) {
    text +=
        !extra.empty() && rng() % 8 == 0 ? extra[rng() % extra.size()] : vocabulary[rng() % size];
    text += separators[rng() % separators.size()];
  }
  return text;
}

// Article 2 from passages of Article 1 in shuffled order, some twice, with words of its own.
std::u16string Reordered(std::mt19937& rng, const std::u16string& source) {
  return ReorderedPassages(rng, source, 4, [](std::mt19937& r) {
    return RandomText(r, 1 + static_cast<int>(r() % 3), {u"only2", u"ONLY2b"});
  });
}

TEST(PreparedComparison, RandomPairsCompareAsInOneGo) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 120; ++round) {
    const int words = 1 + static_cast<int>(rng() % 60);
    const std::u16string text1 = RandomText(rng, words, {u"only1", u"Only1b"});
    const std::u16string text2 =
        rng() % 5 == 0 ? RandomText(rng, words, {u"only2"}) : Reordered(rng, text1);
    for (const ComparisonSettings& settings : AllSettings()) {
      ExpectSameAsInOneGo(text1, text2, settings);
      if (HasFatalFailure()) return;
    }
  }
}

// Long articles: hash indexes, many blocks, every unit.
TEST(PreparedComparison, LongRandomPairsCompareAsInOneGo) {
  std::mt19937 rng(7);
  for (int round = 0; round < 4; ++round) {
    const std::u16string text1 = RandomText(rng, 12000, {u"only1"});
    const std::u16string text2 = Reordered(rng, text1);
    for (int unit = 0; unit <= 2; ++unit) {
      for (const int minLength : {1, 3, 8}) {
        for (const MatchMode mode : {MatchMode::InOrder, MatchMode::Anywhere}) {
          ExpectSameAsInOneGo(text1, text2, ComparisonSettings{mode, minLength, unit, 0});
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

// Each dictionary numbers its distinct words in order of first occurrence; Article 2's ids are
// the ones AssignWordIds gives, and Article 1's mapped ids are AssignWordIds's Article 1 ids.
TEST(WordDictionary, LocalIdsMappedGiveTheSharedIds) {
  const std::u16string text1 = u"Zeta alpha ALPHA beta \u00c9t\u00e9 zeta gamma";
  const std::u16string text2 = u"beta Alpha \u00e9t\u00e9 beta delta ZETA";
  ArticleSpans a1, a2;
  vellora::SegmentText(text1, a1);
  vellora::SegmentText(text2, a2);
  const vellora::WordDictionary d1(text1, a1.Words);
  const vellora::WordDictionary d2(text2, a2.Words);
  EXPECT_EQ(d1.Ids(), (std::vector<std::uint32_t>{0, 1, 1, 2, 3, 0, 4}));
  EXPECT_EQ(d1.Size(), 5u);
  EXPECT_EQ(d2.Ids(), (std::vector<std::uint32_t>{0, 1, 2, 0, 3, 4}));
  constexpr std::uint32_t absent = vellora::kAbsentWord;
  EXPECT_EQ(d1.MapInto(d2), (std::vector<std::uint32_t>{4, 1, 0, absent, absent}));
  EXPECT_EQ(d2.MapInto(d1), (std::vector<std::uint32_t>{2, 1, absent, absent, 0}));
  EXPECT_EQ(d2.IdOf(u"DELTA"), 3u);
  EXPECT_EQ(d2.IdOf(u"\u00c9T\u00c9"), absent) << "only A to Z fold";

  std::vector<std::uint32_t> ids1, ids2;
  EXPECT_EQ(vellora::AssignWordIds(text1, a1.Words, text2, a2.Words, ids1, ids2), d2.Size());
  EXPECT_EQ(ids2, d2.Ids());
  const std::vector<std::uint32_t> mapped = d1.MapInto(d2);
  for (std::size_t i = 0; i < ids1.size(); ++i) EXPECT_EQ(ids1[i], mapped[d1.Ids()[i]]) << i;
}

TEST(WordDictionary, EmptyArticleHasNoWords) {
  ArticleSpans empty;
  const vellora::WordDictionary d(u"", empty.Words);
  EXPECT_EQ(d.Size(), 0u);
  EXPECT_TRUE(d.Ids().empty());
  ArticleSpans other;
  vellora::SegmentText(u"a b", other);
  const vellora::WordDictionary d2(u"a b", other.Words);
  EXPECT_EQ(d.MapInto(d2), std::vector<std::uint32_t>{});
  EXPECT_EQ(d2.MapInto(d),
            (std::vector<std::uint32_t>{vellora::kAbsentWord, vellora::kAbsentWord}));
}

// The two-step tiling (the gram index of Article 1 built first where the minimum allows) gives
// the automaton's tiles, also when Article 2's tokens that Article 1 lacks carry large values.
TEST(TilingSource, TwoStepsGiveTheAutomatonsTiles) {
  std::mt19937 rng(5);
  for (int round = 0; round < 400; ++round) {
    const std::uint32_t alphabet = 2 + rng() % 6;
    std::vector<std::uint32_t> tokens1(rng() % 60), tokens2(rng() % 60);
    for (auto& t : tokens1) t = rng() % alphabet;
    for (auto& t : tokens2) {
      t = rng() % 6 == 0 ? vellora::kAbsentWord - rng() % 2 : rng() % alphabet;
    }
    const int minimum = static_cast<int>(rng() % 10) - 1;
    const std::vector<vellora::Tile> automaton =
        vellora::TileLongestFirst(tokens1, tokens2, minimum, vellora::TilingIndex::Automaton);
    const vellora::TilingSource source(tokens1, minimum);
    ASSERT_EQ(source.TileArticle2(tokens2), automaton) << "round " << round << " min " << minimum;
  }
}

}  // namespace
