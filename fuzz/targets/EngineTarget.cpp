// The text engine: segmentation gives ordered spans inside the text, sentences and paragraphs
// cover the words in order, and the keyword search finds exactly what trying every start finds.
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "UKeyword.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora::fuzz {

namespace {

template <typename List>
void CheckCoversWords(const List& list, int wordCount, const char* what) {
  int next = 0;
  for (int i = 0; i < list.Count(); ++i) {
    FUZZ_REQUIRE(list[i].FirstWord == next && list[i].LastWord >= list[i].FirstWord,
                 std::string(what) + " follow one another without gaps");
    next = list[i].LastWord + 1;
  }
  FUZZ_REQUIRE(next == wordCount, std::string(what) + " cover every word");
}

std::vector<std::int32_t> EveryStartTried(std::u16string_view text, std::u16string_view keyword) {
  std::vector<std::int32_t> positions;
  for (std::size_t i = 0; !keyword.empty() && i + keyword.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < keyword.size() && FoldForSearch(text[i + k]) == FoldForSearch(keyword[k])) ++k;
    if (k == keyword.size()) positions.push_back(static_cast<std::int32_t>(i));
  }
  return positions;
}

}  // namespace

int FuzzTextEngine(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::u16string keyword = FromUtf8(input.UpToNul());
  std::u16string text = FromUtf8(input.Rest());
  NormalizeArticleTextInPlace(text);

  ArticleSpans spans;
  SegmentText(text, spans);
  const TListWords& words = spans.Words;
  // Positions are 1-based: a word covers units StartPos - 1 to EndPos - 2 of the text.
  const auto length = static_cast<std::int32_t>(text.size());
  std::int32_t end = 0;
  for (int i = 0; i < words.Count(); ++i) {
    FUZZ_REQUIRE(words[i].StartPos > end && words[i].EndPos > words[i].StartPos &&
                     words[i].EndPos <= length + 1,
                 "words are ordered, apart, non-empty and inside the text");
    for (std::int32_t p = words[i].StartPos; p < words[i].EndPos; ++p)
      FUZZ_REQUIRE(!IsSeparator(text[static_cast<std::size_t>(p - 1)]),
                   "a word holds no separator");
    FUZZ_REQUIRE(words[i].EndPos == length + 1 ||
                     IsSeparator(text[static_cast<std::size_t>(words[i].EndPos - 1)]),
                 "a word ends at a separator or the end");
    end = words[i].EndPos;
  }
  CheckCoversWords(spans.Sentences, words.Count(), "sentences");
  CheckCoversWords(spans.Paragraphs, words.Count(), "paragraphs");

  const std::u16string_view phrase = TrimControlAndSpace(keyword);
  const std::vector<std::int32_t> found = FindAllKeywordOccurrences(text, phrase);
  if (text.size() * phrase.size() <= 4'000'000) {
    FUZZ_REQUIRE(found == EveryStartTried(text, phrase),
                 "the one-pass search finds what trying every start finds");
  } else {
    // Too long to try every start: check the first occurrences one by one instead.
    for (std::size_t i = 0; i < found.size() && i < 16; ++i) {
      const auto at = static_cast<std::size_t>(found[i]);
      for (std::size_t k = 0; k < phrase.size(); ++k)
        FUZZ_REQUIRE(FoldForSearch(text[at + k]) == FoldForSearch(phrase[k]),
                     "every reported occurrence matches");
      FUZZ_REQUIRE(
          FindKeyword(text, phrase, found[i] + 1) == (i + 1 < found.size() ? found[i + 1] : -1),
          "each occurrence leads to the next");
    }
  }
  if (!found.empty())
    FUZZ_REQUIRE(FindKeyword(text, phrase, 0) == found.front(), "the first search finds the first");
  const double density =
      KeywordDensity(static_cast<std::int32_t>(found.size()), words.Count(), text);
  FUZZ_REQUIRE(density >= 0.0 && density == density, "the density is a number, never negative");
  return 0;
}

}  // namespace vellora::fuzz
