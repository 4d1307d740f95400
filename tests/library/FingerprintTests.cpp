// Winnowing fingerprints: the guarantee that any shared passage of eight words or more gives a
// shared fingerprint, folding as the comparison folds, and nothing from texts too short.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Fingerprints.h"
#include "LibraryTestText.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora {
namespace {

using test::Concat;
using test::Join;
using test::RandomWords;
using test::Slice;

std::vector<std::uint64_t> Of(const std::string& text) {
  return TextFingerprints(FromUtf8(text));
}

bool ShareAny(const std::vector<std::uint64_t>& a, const std::vector<std::uint64_t>& b) {
  std::vector<std::uint64_t> both;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
  return !both.empty();
}

TEST(Fingerprints, EveryPassageOfEightWordsOrMoreGivesASharedFingerprint) {
  // Many placements and lengths, each at the guarantee or above it.
  std::mt19937 rng(5);
  for (std::uint32_t trial = 0; trial < 400; ++trial) {
    const test::Words source = RandomWords(1000 + trial, 200);
    const std::size_t length = kGuaranteeWords + trial % 5;
    const std::size_t from = rng() % (source.size() - length);
    const test::Words article =
        Concat({RandomWords(50000 + trial, rng() % 40), Slice(source, from, length),
                RandomWords(90000 + trial, rng() % 40)});
    EXPECT_TRUE(ShareAny(Of(Join(source)), Of(Join(article))))
        << "trial " << trial << ": " << length << " words from " << from;
  }
}

TEST(Fingerprints, UnrelatedTextsShareNone) {
  EXPECT_FALSE(ShareAny(Of(Join(RandomWords(1, 500))), Of(Join(RandomWords(2, 500)))));
}

TEST(Fingerprints, LettersAToZAreFoldedAsTheComparisonFoldsThem) {
  const std::string text = "One two three four five six seven eight nine ten";
  EXPECT_EQ(Of(text), Of("ONE TWO THREE FOUR FIVE SIX SEVEN EIGHT NINE TEN"));
  // Punctuation and line breaks between words do not make words differ.
  EXPECT_EQ(Of(text), Of("one, two. three! four\nfive; six? seven eight nine ten"));
  // Beyond A to Z nothing is folded: an accented capital is another word.
  EXPECT_NE(Of("\xc3\x89t\xc3\xa9 a b c d e f g h"), Of("\xc3\xa9t\xc3\xa9 a b c d e f g h"));
}

TEST(Fingerprints, TextsShorterThanAGramHaveNone) {
  EXPECT_TRUE(Of("").empty());
  EXPECT_TRUE(Of("one two three four").empty());
  EXPECT_EQ(Of("one two three four five").size(), 1u);
}

TEST(Fingerprints, AreSortedWithoutRepeatsAndFewerThanTheWords) {
  const test::Words words = RandomWords(9, 1000);
  const std::vector<std::uint64_t> prints = Of(Join(words));
  EXPECT_TRUE(std::is_sorted(prints.begin(), prints.end()));
  EXPECT_EQ(std::adjacent_find(prints.begin(), prints.end()), prints.end());
  // Winnowing keeps about 2 / (window + 1) of the grams.
  EXPECT_LT(prints.size(), words.size() * 2 / (kWinnowWindow + 1) + 50);
  EXPECT_GT(prints.size(), words.size() / (kWinnowWindow + 1));
}

}  // namespace
}  // namespace vellora
