// The indexed search must leave exactly the marks, colours, ResumeAt moves and share that the
// literal walk leaves, on many small article pairs where repeats, overlapping windows,
// start-overs and colour wrap-around are frequent.
#include <gtest/gtest.h>

#include <random>

#include "LiteralComparison.h"
#include "TestText.h"
#include "UCompare.h"
#include "USegment.h"

namespace {

std::u16string RandomArticle(std::mt19937& rng, int words) {
  static const std::vector<std::u16string> vocabulary = {u"a", u"A",      u"b",      u"c",  u"B",
                                                         u"d", u"\u00e9", u"\u00c9", u"e-f"};
  static const std::vector<std::u16string> separators = {
      u" ", u" ", u" ", u", ", u". ", u"!", u"?", u";", u"\n", u"\r\n", u"\n\n", u"  "};
  std::u16string text;
  if (rng() % 4 == 0) text += separators[rng() % separators.size()];
  const std::size_t vocabularySize = 2 + rng() % (vocabulary.size() - 1);
  for (int i = 0; i < words; ++i) {
    text += vocabulary[rng() % vocabularySize];
    text += separators[rng() % separators.size()];
  }
  return text;
}

// Article 2 often borrows stretches of Article 1, so that long matches happen too.
std::u16string Borrowing(std::mt19937& rng, const std::u16string& source, int words) {
  std::u16string text = RandomArticle(rng, words / 2);
  if (!source.empty()) {
    const std::size_t from = rng() % source.size();
    text += source.substr(from, rng() % (source.size() - from + 1));
  }
  text += RandomArticle(rng, words / 2);
  return text;
}

struct StepTrace {
  std::vector<std::int32_t> resumeAt;
  std::vector<std::int32_t> colorIndex;
  std::vector<bool> found;
};

template <typename Comparison>
StepTrace Walk(Comparison& walk) {
  StepTrace trace;
  std::int32_t s1, e1;
  while (walk.NextWindow(s1, e1)) {
    trace.found.push_back(walk.FindMatch(s1, e1));
    trace.resumeAt.push_back(walk.ResumeAt());
    trace.colorIndex.push_back(walk.ColorIndex());
  }
  return trace;
}

TEST(Differential, IndexedSearchEqualsLiteralWalk) {
  std::mt19937 rng(20261209);
  int comparisons = 0;
  for (int round = 0; round < 1500; ++round) {
    const std::u16string text1 = RandomArticle(rng, static_cast<int>(rng() % 40));
    const std::u16string text2 = rng() % 3 == 0
                                     ? RandomArticle(rng, static_cast<int>(rng() % 40))
                                     : Borrowing(rng, text1, static_cast<int>(rng() % 30));
    for (int unit = 0; unit <= 2; ++unit) {
      // From 5 words on, windows are found through the gram index; 10 makes grams of 8 words.
      for (const int minLength : {0, 1, 2, 3, 4, 5, 6, 8, 10}) {
        vellora::ArticleSpans fast1, fast2, slow1, slow2;
        vellora::SegmentText(text1, fast1);
        vellora::SegmentText(text2, fast2);
        vellora::SegmentText(text1, slow1);
        vellora::SegmentText(text2, slow2);
        vellora::DuplicateComparison fast(text1, fast1.Words, fast1.Sentences, fast1.Paragraphs,
                                          text2, fast2.Words, minLength, unit);
        vellora::reference::LiteralComparison slow(text1, slow1.Words, slow1.Sentences,
                                                   slow1.Paragraphs, text2, slow2.Words, minLength,
                                                   unit);
        const StepTrace fastTrace = Walk(fast);
        const StepTrace slowTrace = Walk(slow);
        const auto where = [&] {
          return "unit " + std::to_string(unit) + " min " + std::to_string(minLength) +
                 "\narticle 1: " + vellora::ToUtf8(text1) +
                 "\narticle 2: " + vellora::ToUtf8(text2) +
                 "\nliteral 1: " + Describe(text1, slow1.Words) +
                 "\nliteral 2: " + Describe(text2, slow2.Words);
        };
        ASSERT_EQ(ColorsOf(fast1.Words), ColorsOf(slow1.Words)) << where();
        ASSERT_EQ(ColorsOf(fast2.Words), ColorsOf(slow2.Words)) << where();
        ASSERT_EQ(fastTrace.resumeAt, slowTrace.resumeAt) << where();
        ASSERT_EQ(fastTrace.colorIndex, slowTrace.colorIndex) << where();
        ASSERT_EQ(fastTrace.found, slowTrace.found) << where();
        ++comparisons;
      }
    }
  }
  EXPECT_EQ(comparisons, 1500 * 27);
}

// Long repetitive articles drive the start-over and "skip marked words" paths hard.
TEST(Differential, RepetitiveArticlesEqualLiteralWalk) {
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    std::u16string text1, text2;
    const int n1 = 50 + static_cast<int>(rng() % 200);
    const int n2 = 20 + static_cast<int>(rng() % 200);
    for (int i = 0; i < n1; ++i) text1 += (rng() % 8 == 0) ? u"u " : u"t ";
    for (int i = 0; i < n2; ++i) text2 += (rng() % 8 == 0) ? u"u. " : u"t ";
    for (const int minLength : {1, 2, 3, 5, 8, 12}) {
      for (int unit = 0; unit <= 1; ++unit) {
        vellora::ArticleSpans f1, f2, s1, s2;
        const auto fastOutcome = vellora::CompareArticles(text1, f1, text2, f2, minLength, unit);
        vellora::SegmentText(text1, s1);
        vellora::SegmentText(text2, s2);
        vellora::reference::LiteralComparison slow(text1, s1.Words, s1.Sentences, s1.Paragraphs,
                                                   text2, s2.Words, minLength, unit);
        slow.Run();
        ASSERT_EQ(ColorsOf(f1.Words), ColorsOf(s1.Words)) << "round " << round;
        ASSERT_EQ(ColorsOf(f2.Words), ColorsOf(s2.Words)) << "round " << round;
        EXPECT_EQ(fastOutcome.Share.Marked, vellora::CountMarkedWords(s2.Words));
      }
    }
  }
}

}  // namespace
