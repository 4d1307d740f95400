#include <gtest/gtest.h>

#include <random>

#include "TestText.h"
#include "UCompare.h"
#include "URuns.h"
#include "USegment.h"

namespace {

constexpr int W = NoHighlight;
constexpr int Aqua = 0xFFFF00;
constexpr int MoneyGreen = 0xC0DCC0;

using RunList = std::vector<std::pair<std::u16string, int>>;

RunList Runs(const std::u16string& text, const TListWords& words) {
  RunList out;
  for (const vellora::TextRun& r : BuildRuns(text, words))
    out.emplace_back(text.substr(r.Start, r.Length), r.Color);
  return out;
}

TEST(Runs, CompareResultOfTheFoxExample) {
  const std::u16string t1 = u"The quick brown fox jumps over the lazy dog.";
  vellora::ArticleSpans a1, a2;
  vellora::CompareArticles(t1, a1, u"A quick brown fox jumps over a lazy dog.", a2, 3, 0);
  const RunList expected = {
      {u"The", W},          {u" ", W},         {u"quick", Aqua},      {u" ", Aqua},
      {u"brown", Aqua},     {u" ", Aqua},      {u"fox", Aqua},        {u" ", Aqua},
      {u"jumps", Aqua},     {u" ", Aqua},      {u"over", Aqua},       {u" ", W},
      {u"the", W},          {u" ", W},         {u"lazy", MoneyGreen}, {u" ", MoneyGreen},
      {u"dog", MoneyGreen}, {u".", MoneyGreen}};
  EXPECT_EQ(Runs(t1, a1.Words), expected);
}

TEST(Runs, GapBetweenDifferentColoursIsPlain) {
  const std::u16string text = u"one two";
  TListWords words;
  words.AddWord(1, 4, Aqua);
  words.AddWord(5, 8, MoneyGreen);
  EXPECT_EQ(Runs(text, words), (RunList{{u"one", Aqua}, {u" ", W}, {u"two", MoneyGreen}}));
}

TEST(Runs, LeadingBreaksAreNeverHighlighted) {
  const std::u16string text = u"\r\nHi there.\r\n";
  vellora::ArticleSpans spans;
  vellora::SegmentText(text, spans);
  for (TWord& w : spans.Words) w.Color = Aqua;
  EXPECT_EQ(
      Runs(text, spans.Words),
      (RunList{{u"\r\n", W}, {u"Hi", Aqua}, {u" ", Aqua}, {u"there", Aqua}, {u".\r\n", Aqua}}));
}

TEST(Runs, TextWithoutWordsIsOnePlainRun) {
  const std::u16string text = u"  ...  ";
  vellora::ArticleSpans spans;
  vellora::SegmentText(text, spans);
  EXPECT_EQ(Runs(text, spans.Words), (RunList{{text, W}}));
  EXPECT_TRUE(BuildRuns(u"", spans.Words).empty());
}

TEST(Runs, JoinedRunsGiveBackTheText) {
  std::mt19937 rng(99);
  const std::u16string alphabet = u"ab .\n,x\r!";
  for (int round = 0; round < 300; ++round) {
    std::u16string text;
    for (int i = 0; i < round % 50; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
    vellora::ArticleSpans spans;
    vellora::SegmentText(text, spans);
    for (TWord& w : spans.Words) w.Color = PaletteColor(static_cast<int>(rng() % 3));
    std::u16string joined;
    std::int32_t expectedStart = 0;
    for (const vellora::TextRun& r : BuildRuns(text, spans.Words)) {
      ASSERT_EQ(r.Start, expectedStart);
      ASSERT_GT(r.Length, 0);
      joined += text.substr(r.Start, r.Length);
      expectedStart += r.Length;
    }
    ASSERT_EQ(joined, text);
  }
}

TEST(Runs, WordListReachingPastTheTextIsClamped) {
  TListWords stale;
  stale.AddWord(1, 4, Aqua);
  stale.AddWord(6, 20, Aqua);
  EXPECT_EQ(Runs(u"abc d", stale), (RunList{{u"abc", Aqua}, {u" d", Aqua}}));
}

}  // namespace
