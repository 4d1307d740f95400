#include "UCompare.h"

#include <algorithm>

#include "UAnywhere.h"
#include "USegment.h"
#include "UWordIndex.h"

std::int32_t PaletteColor(std::int32_t index) {
  switch (index) {
    case 1:
      return 0xFFFF00;  // aqua
    case 2:
      return 0xC0DCC0;  // money green
    case 3:
      return 0x00FFFF;  // yellow
    case 4:
      return 0x0000FF;  // red
    case 5:
      return 0x008080;  // olive
    case 6:
      return 0xC0C0C0;  // silver
    default:
      return NoHighlight;
  }
}

namespace vellora {

DuplicateShare ComputeDuplicateShare(std::int32_t marked, std::int32_t total) {
  DuplicateShare share{marked, total, 0.0, 0};
  if (total <= 0) return share;
  const std::int64_t scaled = std::int64_t{marked} * 100;
  share.Percent = static_cast<double>(scaled) / total;
  // Whole-number rounding in integers, so that exact halves go to the even neighbour.
  std::int64_t quotient = scaled / total;
  const std::int64_t twiceRemainder = (scaled % total) * 2;
  if (twiceRemainder > total || (twiceRemainder == total && quotient % 2 != 0)) ++quotient;
  share.Shown = quotient;
  return share;
}

std::int32_t CountMarkedWords(const TListWords& words) {
  return static_cast<std::int32_t>(std::count_if(
      words.begin(), words.end(), [](const TWord& w) { return w.Color != NoHighlight; }));
}

DuplicateComparison::DuplicateComparison(std::u16string_view text1, TListWords& words1,
                                         const TListSentences& sentences1,
                                         const TListParagraphs& paragraphs1,
                                         std::u16string_view text2, TListWords& words2,
                                         std::int32_t minLength, std::int32_t unitType)
    : words1_(words1),
      sentences1_(sentences1),
      paragraphs1_(paragraphs1),
      words2_(words2),
      // A negative minimum would leave the window's end before its start; 1 is what the
      // window makes of 0, the nearest sensible value.
      minLength_(minLength < 0 ? 1 : minLength),
      unitType_(unitType),
      index_(text1, words1, text2, words2, GramWordsFor(minLength_, unitType)) {}

// Windows of many words are looked up by a hash of all their leading words but the last (up to
// eight of them), which finds the few places worth an attempt at once; shorter ones use the
// lists of one to three leading words.
std::int32_t DuplicateComparison::GramWordsFor(std::int32_t minLength, std::int32_t unitType) {
  return unitType == UnitWords && minLength >= 5 ? std::min(minLength - 1, 8) : 0;
}

std::size_t DuplicateComparison::IndexMemoryBytes() const {
  return index_.MemoryBytes();
}

void DuplicateComparison::Run() {
  cursor_ = -1;
  resumeAt_ = -1;
  std::int32_t s1 = 0;
  std::int32_t e1 = 0;
  while (NextWindow(s1, e1)) FindMatch(s1, e1);
}

bool DuplicateComparison::NextWindow(std::int32_t& s1, std::int32_t& e1) {
  ++cursor_;
  std::int64_t last;
  switch (unitType_) {
    case UnitWords:
      last = words1_.Count() - 1;
      break;
    case UnitSentences:
      last = sentences1_.Count() - 1;
      break;
    case UnitParagraphs:
      last = paragraphs1_.Count() - 1;
      break;
    default:
      return false;
  }
  if (cursor_ > last) return false;
  const auto end = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{cursor_} + minLength_ - 1, last));
  if (end == -1) return false;
  switch (unitType_) {
    case UnitWords:
      s1 = cursor_;
      e1 = end;
      break;
    case UnitSentences:
      s1 = sentences1_[cursor_].FirstWord;
      e1 = sentences1_[end].LastWord;
      break;
    default:
      s1 = paragraphs1_[cursor_].FirstWord;
      e1 = paragraphs1_[end].LastWord;
      break;
  }
  return true;
}

// One attempt of the literal scan at place j: which way it ends decides whether the scan stops.
DuplicateComparison::Outcome DuplicateComparison::TryAt(std::int32_t j, std::int32_t s1,
                                                        std::int32_t e1, bool newBlock) const {
  const std::int32_t lastWord2 = words2_.Count() - 1;
  const std::int32_t current = PaletteColor(colorIndex_);
  const bool windowStartMarked = words1_[s1].Color != NoHighlight;
  for (std::int32_t k = 0;; ++k) {
    const std::int32_t w1 = s1 + k;
    const std::int32_t w2 = j + k;
    const std::int32_t color2 = words2_[w2].Color;
    const bool stops = (w2 == lastWord2 && w1 != e1) || index_.Id1(w1) != index_.Id2(w2) ||
                       (color2 != NoHighlight && (color2 != current || newBlock)) ||
                       (newBlock && words1_[w1].Color == NoHighlight && windowStartMarked);
    if (stops) return w1 == e1 ? Outcome::FailedAtLast : Outcome::NoEvent;
    if (w1 == e1) return Outcome::Matched;
  }
}

// The first place at or after `from` where the literal scan would stop: a whole match, or
// (unless matchOnly) an attempt that failed at the window's last word. Places where an attempt
// fails earlier are never events, so only places whose leading words equal the window's are
// visited. Returns -1 when the scan runs off the end of Article 2.
std::int32_t DuplicateComparison::FirstEvent(const WordIndex::Range& range, std::int32_t from,
                                             std::int32_t s1, std::int32_t e1, bool newBlock,
                                             bool matchOnly, Outcome& outcome) {
  outcome = Outcome::NoEvent;
  const std::int32_t length = e1 - s1 + 1;
  // Past this place every attempt runs into the end of Article 2 before the window's end.
  const std::int32_t lastStart = words2_.Count() - length;
  if (from > lastStart) return -1;

  if (length == 1 && !matchOnly) {
    // A one-word window ends the scan at the first place tried, either way.
    outcome = TryAt(from, s1, e1, newBlock);
    return from;
  }
  if (matchOnly && newBlock && words1_[s1].Color != NoHighlight &&
      std::any_of(words1_.begin() + s1, words1_.begin() + e1 + 1,
                  [](const TWord& w) { return w.Color == NoHighlight; })) {
    return -1;  // a new block cannot take an unmarked word of a window that starts on a marked one
  }

  // In a new block a marked word of Article 2 stops the attempt at once; with more than one word
  // in the window (or when only matches count) such places are never events and are skipped.
  const bool skipMarked = newBlock && (length >= 2 || matchOnly);
  std::uint32_t i = index_.LowerBound(range, from);
  while (true) {
    if (skipMarked) i = index_.NextUnmarked(range, i);
    if (i >= range.end) return -1;
    const std::int32_t j = index_.PlaceAt(range, i);
    if (j > lastStart) return -1;
    const Outcome result = TryAt(j, s1, e1, newBlock);
    if (result == Outcome::Matched || (result == Outcome::FailedAtLast && !matchOnly)) {
      outcome = result;
      return j;
    }
    ++i;
  }
}

bool DuplicateComparison::FindMatch(std::int32_t s1, std::int32_t e1) {
  const std::int32_t count2 = words2_.Count();
  bool newBlock = false;
  std::int32_t from = resumeAt_ + 1;
  if (resumeAt_ == count2 - 1) {
    from = 0;
    newBlock = true;
  }
  // Places that share the window's leading words: all but the last word while a failure at
  // the last word still ends the scan, the whole window when only matches count; the index
  // knows up to three.
  const std::int32_t length = e1 - s1 + 1;
  WordIndex::Range places;
  const std::int32_t gramWords = index_.GramWords();
  if (gramWords > 0) {
    // Windows advance one word at a time; the windows at the end of Article 1, shorter than a
    // gram and one, try the places of their first word (enough to find every event there).
    index_.PrefetchGram(s1 + 4);
    places = length - 1 >= gramWords ? index_.GramPlacesOf(s1) : index_.PlacesOf(s1, 1);
  } else {
    index_.Prefetch(s1 + 1);  // windows advance one unit at a time
    places = index_.PlacesOf(s1, std::min(length - 1, 3));
  }
  Outcome outcome;
  std::int32_t s2 = FirstEvent(places, from, s1, e1, newBlock, false, outcome);
  if (outcome == Outcome::FailedAtLast) {
    // Start over once from the beginning of Article 2, in a new block.
    resumeAt_ = -1;
    newBlock = true;
    // Places sharing fewer leading words than the window still include all its matches, so
    // the gram index's places serve as they are.
    if (gramWords == 0 && length == 1) {
      places = index_.PlacesOf(s1, 1);
    } else if (gramWords == 0 && length <= 3) {
      places = index_.Extend(places, s1);
    }
    s2 = FirstEvent(places, 0, s1, e1, true, true, outcome);
  }
  if (outcome != Outcome::Matched) return false;
  resumeAt_ = s2;
  Mark(s1, e1, s2, s2 + (e1 - s1), newBlock);
  return true;
}

void DuplicateComparison::Mark(std::int32_t s1, std::int32_t e1, std::int32_t s2, std::int32_t e2,
                               bool newBlock) {
  if (s1 > 0 && words1_[s1 - 1].Color == NoHighlight) newBlock = true;
  if (s2 > 0 && words2_[s2 - 1].Color == NoHighlight) newBlock = true;
  if (newBlock) ++colorIndex_;
  if (colorIndex_ == 0 || colorIndex_ > 6) colorIndex_ = 1;
  const std::int32_t color = PaletteColor(colorIndex_);
  if (newBlock || blocks_.empty()) {
    blocks_.push_back(MatchBlock{color, s1, e1, s2, e2, 0, 0, 0, {}});
  } else {
    // A block normally grows forwards; when the walk wraps round to the start of Article 2 and
    // continues it there, the range still has to cover every one of its matches.
    MatchBlock& current = blocks_.back();
    current.First1 = std::min(current.First1, s1);
    current.Last1 = std::max(current.Last1, e1);
    current.First2 = std::min(current.First2, s2);
    current.Last2 = std::max(current.Last2, e2);
  }
  MatchBlock& block = blocks_.back();
  // Words newly covered: consecutive windows of a block overlap the match before them.
  const auto added = [](std::int32_t first, std::int32_t last, std::int32_t previousFirst,
                        std::int32_t previousLast) {
    if (first < previousFirst || first > previousLast) return last - first + 1;
    return std::max(0, last - previousLast);
  };
  if (block.Passages.empty()) {
    block.Words1 = e1 - s1 + 1;
    block.Words2 = e2 - s2 + 1;
  } else {
    const SharedPassage& previous = block.Passages.back();
    block.Words1 += added(s1, e1, previous.First1, previous.Last1);
    block.Words2 += added(s2, e2, previous.First2, previous.Last2);
  }
  block.Passages.push_back(SharedPassage{s1, e1, s2, e2});
  block.LongestPassage = std::max(block.LongestPassage, e2 - s2 + 1);
  for (std::int32_t w = s1; w <= e1; ++w) words1_[w].Color = color;
  for (std::int32_t w = s2; w <= e2; ++w) {
    if (words2_[w].Color == NoHighlight) index_.MarkPlace(w);
    words2_[w].Color = color;
  }
}

CompareOutcome CompareArticles(std::u16string_view text1, ArticleSpans& article1,
                               std::u16string_view text2, ArticleSpans& article2,
                               const ComparisonSettings& settings) {
  if (TrimControlAndSpace(text1).empty() || TrimControlAndSpace(text2).empty()) {
    CompareOutcome outcome;
    outcome.Settings = settings;
    return outcome;
  }
  SegmentText(text1, article1);
  SegmentText(text2, article2);
  return CompareSegmentedArticles(text1, article1, text2, article2, settings);
}

CompareOutcome CompareSegmentedArticles(std::u16string_view text1, ArticleSpans& article1,
                                        std::u16string_view text2, ArticleSpans& article2,
                                        const ComparisonSettings& settings) {
  CompareOutcome outcome;
  outcome.Settings = settings;
  if (TrimControlAndSpace(text1).empty() || TrimControlAndSpace(text2).empty()) return outcome;
  if (settings.Mode == MatchMode::Anywhere) {
    outcome.Blocks = CompareAnywhere(text1, article1, text2, article2, settings.MinLength,
                                     settings.UnitType, settings.Gap);
  } else {
    DuplicateComparison comparison(text1, article1.Words, article1.Sentences, article1.Paragraphs,
                                   text2, article2.Words, settings.MinLength, settings.UnitType);
    comparison.Run();
    outcome.Blocks = comparison.Blocks();
  }
  outcome.Compared = true;
  outcome.Share = ComputeDuplicateShare(CountMarkedWords(article2.Words), article2.Words.Count());
  outcome.Share1 = ComputeDuplicateShare(CountMarkedWords(article1.Words), article1.Words.Count());
  return outcome;
}

CompareOutcome CompareArticles(std::u16string_view text1, ArticleSpans& article1,
                               std::u16string_view text2, ArticleSpans& article2,
                               std::int32_t minLength, std::int32_t unitType) {
  return CompareArticles(text1, article1, text2, article2,
                         ComparisonSettings{MatchMode::InOrder, minLength, unitType, 0});
}

std::int32_t CompareOutcome::LongestPassage() const {
  std::int32_t longest = 0;
  for (const MatchBlock& b : Blocks) longest = std::max(longest, b.LongestPassage);
  return longest;
}

std::int32_t BlockAtWord(const std::vector<MatchBlock>& blocks, int side, std::int32_t word) {
  for (auto b = blocks.size(); b-- > 0;) {
    for (const SharedPassage& p : blocks[b].Passages) {
      const std::int32_t first = side == 1 ? p.First1 : p.First2;
      const std::int32_t last = side == 1 ? p.Last1 : p.Last2;
      if (word >= first && word <= last) return static_cast<std::int32_t>(b);
    }
  }
  return -1;
}

}  // namespace vellora
