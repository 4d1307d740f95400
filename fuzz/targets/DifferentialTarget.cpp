// The comparison engine against its literal references: on any two small articles, any minimum,
// unit and gap, the in-order walk leaves the literal walk's colours, steps and share, and the
// Anywhere mode the literal tiling's colours, blocks and shares.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "LiteralComparison.h"
#include "LiteralTiling.h"
#include "UCompare.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora::fuzz {

namespace {

// The literal walk costs words x words per window; longer articles add time, not coverage.
constexpr std::size_t kMaxArticleBytes = 2048;
// The literal tiling is cubic for every tile: shorter still.
constexpr std::size_t kMaxTiledBytes = 600;

struct StepTrace {
  std::vector<std::int32_t> resumeAt, colorIndex;
  std::vector<bool> found;
  bool operator==(const StepTrace&) const = default;
};

template <typename Comparison>
StepTrace Walk(Comparison& walk) {
  StepTrace trace;
  std::int32_t s1 = 0, e1 = 0;
  while (walk.NextWindow(s1, e1)) {
    trace.found.push_back(walk.FindMatch(s1, e1));
    trace.resumeAt.push_back(walk.ResumeAt());
    trace.colorIndex.push_back(walk.ColorIndex());
  }
  return trace;
}

std::vector<std::int32_t> ColorsOf(const TListWords& words) {
  std::vector<std::int32_t> colors;
  for (int i = 0; i < words.Count(); ++i) colors.push_back(words[i].Color);
  return colors;
}

}  // namespace

int FuzzEngineAgainstLiteralWalk(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::uint8_t settings = input.Byte();
  // Minimums up to 11 reach the gram indexes of both modes (from 4 and 5 words on).
  const std::int32_t minLength = settings % 12;
  const std::int32_t unit = (settings / 12) % 3;
  const std::int32_t gap = (settings / 36) % 3;
  const std::string_view first = input.UpToNul();
  const std::string_view second = input.Rest();
  if (first.size() > kMaxArticleBytes || second.size() > kMaxArticleBytes) return 0;
  const std::u16string text1 = FromUtf8(first);
  const std::u16string text2 = FromUtf8(second);

  ArticleSpans fast1, fast2, slow1, slow2;
  SegmentText(text1, fast1);
  SegmentText(text2, fast2);
  SegmentText(text1, slow1);
  SegmentText(text2, slow2);
  DuplicateComparison fast(text1, fast1.Words, fast1.Sentences, fast1.Paragraphs, text2,
                           fast2.Words, minLength, unit);
  reference::LiteralComparison slow(text1, slow1.Words, slow1.Sentences, slow1.Paragraphs, text2,
                                    slow2.Words, minLength, unit);
  FUZZ_REQUIRE(Walk(fast) == Walk(slow), "the engine takes the literal walk's steps");
  FUZZ_REQUIRE(ColorsOf(fast1.Words) == ColorsOf(slow1.Words),
               "Article 1's colours equal the literal walk's");
  FUZZ_REQUIRE(ColorsOf(fast2.Words) == ColorsOf(slow2.Words),
               "Article 2's colours equal the literal walk's");
  FUZZ_REQUIRE(CountMarkedWords(fast2.Words) == CountMarkedWords(slow2.Words),
               "the shares are equal");

  if (first.size() > kMaxTiledBytes || second.size() > kMaxTiledBytes) return 0;
  ArticleSpans any1, any2;
  const CompareOutcome anywhere = CompareArticles(
      text1, any1, text2, any2, ComparisonSettings{MatchMode::Anywhere, minLength, unit, gap});
  const reference::LiteralAnywhereResult literal =
      reference::LiteralAnywhere(text1, text2, minLength, unit, gap);
  FUZZ_REQUIRE(anywhere.Compared == literal.Compared, "both compare the same pairs");
  if (!anywhere.Compared) return 0;
  FUZZ_REQUIRE(ColorsOf(any1.Words) == literal.Colors1, "Article 1's colours equal the tiling's");
  FUZZ_REQUIRE(ColorsOf(any2.Words) == literal.Colors2, "Article 2's colours equal the tiling's");
  FUZZ_REQUIRE(anywhere.Blocks.size() == literal.Blocks.size(), "as many blocks as the tiling");
  for (std::size_t b = 0; b < anywhere.Blocks.size(); ++b) {
    const MatchBlock& x = anywhere.Blocks[b];
    const MatchBlock& y = literal.Blocks[b];
    FUZZ_REQUIRE(x.Color == y.Color && x.First1 == y.First1 && x.Last1 == y.Last1 &&
                     x.First2 == y.First2 && x.Last2 == y.Last2 &&
                     x.Passages.size() == y.Passages.size(),
                 "every block equals the tiling's");
  }
  FUZZ_REQUIRE(
      anywhere.Share.Marked == literal.Marked2 && anywhere.Share1.Marked == literal.Marked1,
      "both shares equal the tiling's");
  return 0;
}

}  // namespace vellora::fuzz
