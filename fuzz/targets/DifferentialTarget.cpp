// The comparison engine against the literal walk: on any two small articles, any minimum and
// unit, both leave the same colours, the same steps and the same share.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "LiteralComparison.h"
#include "UCompare.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora::fuzz {

namespace {

// The literal walk costs words x words per window; longer articles add time, not coverage.
constexpr std::size_t kMaxArticleBytes = 2048;

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
  const std::int32_t minLength = settings % 8;
  const std::int32_t unit = (settings / 8) % 3;
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
  return 0;
}

}  // namespace vellora::fuzz
