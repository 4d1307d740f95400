// Duplicate-content comparison: Article 1 is cut into windows of MinLength units and every
// window is looked for in Article 2; matched words of both articles get palette colours.
#pragma once

#include <cstdint>
#include <string_view>

#include "UMatchBlocks.h"
#include "UWordIndex.h"
#include "UWords.h"

// Highlight palette: 1 aqua, 2 money green, 3 yellow, 4 red, 5 olive, 6 silver; any other
// index is white (not highlighted).
std::int32_t PaletteColor(std::int32_t index);

namespace vellora {

enum UnitType : std::int32_t { UnitWords = 0, UnitSentences = 1, UnitParagraphs = 2 };

DuplicateShare ComputeDuplicateShare(std::int32_t marked, std::int32_t total);
std::int32_t CountMarkedWords(const TListWords& words);

// One comparison run over two segmented articles. The texts must be the ones the lists were
// segmented from; the word colours of both lists are written in place. A negative minimum
// length is treated as 1; a minimum of 0 yields no window.
class DuplicateComparison {
 public:
  DuplicateComparison(std::u16string_view text1, TListWords& words1,
                      const TListSentences& sentences1, const TListParagraphs& paragraphs1,
                      std::u16string_view text2, TListWords& words2, std::int32_t minLength,
                      std::int32_t unitType);
  DuplicateComparison(const DuplicateComparison&) = delete;
  DuplicateComparison& operator=(const DuplicateComparison&) = delete;

  // Walks every window from the start, as Compare does.
  void Run();

  // The two steps of the walk, exposed for tests: NextWindow advances Cursor and yields the
  // next window as an inclusive word range of Article 1; FindMatch looks for it in Article 2.
  bool NextWindow(std::int32_t& s1, std::int32_t& e1);
  bool FindMatch(std::int32_t s1, std::int32_t e1);

  std::int32_t Cursor() const { return cursor_; }
  std::int32_t ResumeAt() const { return resumeAt_; }
  std::int32_t ColorIndex() const { return colorIndex_; }
  std::int32_t MinLength() const { return minLength_; }
  std::size_t IndexMemoryBytes() const;
  // The blocks marked so far: a match extends the current block unless it began a new one.
  const std::vector<MatchBlock>& Blocks() const { return blocks_; }

 private:
  enum class Outcome { NoEvent, FailedAtLast, Matched };
  static std::int32_t GramWordsFor(std::int32_t minLength, std::int32_t unitType);
  Outcome TryAt(std::int32_t j, std::int32_t s1, std::int32_t e1, bool newBlock) const;
  std::int32_t FirstEvent(const WordIndex::Range& places, std::int32_t from, std::int32_t s1,
                          std::int32_t e1, bool newBlock, bool matchOnly, Outcome& outcome);
  void Mark(std::int32_t s1, std::int32_t e1, std::int32_t s2, std::int32_t e2, bool newBlock);

  TListWords& words1_;
  const TListSentences& sentences1_;
  const TListParagraphs& paragraphs1_;
  TListWords& words2_;
  std::int32_t minLength_;
  std::int32_t unitType_;
  std::int32_t cursor_ = -1;
  std::int32_t resumeAt_ = -1;
  std::int32_t colorIndex_ = 0;
  WordIndex index_;
  std::vector<MatchBlock> blocks_;
};

// What Compare computes without a window: the blank check, segmentation of both texts into
// their lists, the chosen comparison, the blocks and the shares of both articles. Compared is
// false when either text is blank after trimming codes 0 to 32; then the lists are left untouched.
CompareOutcome CompareArticles(std::u16string_view text1, ArticleSpans& article1,
                               std::u16string_view text2, ArticleSpans& article2,
                               const ComparisonSettings& settings);
// The same without segmenting: the lists must already be segmented from the texts (fresh, no
// word coloured), for callers that need the lists whether or not the comparison runs.
CompareOutcome CompareSegmentedArticles(std::u16string_view text1, ArticleSpans& article1,
                                        std::u16string_view text2, ArticleSpans& article2,
                                        const ComparisonSettings& settings);
// The in-order walk, as the window's Compare has always run it.
CompareOutcome CompareArticles(std::u16string_view text1, ArticleSpans& article1,
                               std::u16string_view text2, ArticleSpans& article2,
                               std::int32_t minLength, std::int32_t unitType);

}  // namespace vellora
