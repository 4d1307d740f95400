#include "URuns.h"

#include <algorithm>

std::vector<vellora::TextRun> BuildRuns(std::u16string_view text, const TListWords& words) {
  using vellora::TextRun;
  std::vector<TextRun> runs;
  runs.reserve(static_cast<std::size_t>(words.Count()) * 2 + 1);
  const auto textEnd = static_cast<std::int32_t>(text.size()) + 1;
  // Clamped so that a word list that does not belong to the text cannot reach past its end.
  const auto emit = [&](std::int32_t from, std::int32_t to, std::int32_t color) {
    from = std::max(from, std::int32_t{1});
    to = std::min(to, textEnd);
    if (to > from) runs.push_back(TextRun{from - 1, to - from, color});
  };

  std::int32_t previousEnd = 1;
  std::int32_t previousColor = NoHighlight;
  for (const TWord& word : words) {
    emit(previousEnd, word.StartPos, word.Color == previousColor ? word.Color : NoHighlight);
    emit(word.StartPos, word.EndPos, word.Color);
    previousColor = word.Color;
    previousEnd = word.EndPos;
  }
  emit(previousEnd, textEnd, previousColor);
  return runs;
}
