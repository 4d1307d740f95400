#include "UKeyword.h"

#include <algorithm>
#include <vector>

namespace vellora {

char16_t FoldForSearch(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  // Latin-1 capitals except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  // Latin Extended-A alternates capital/small in pairs, with a shifted stretch in the middle.
  if (c >= 0x100 && c <= 0x137) return static_cast<char16_t>(c | 1);
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x14A && c <= 0x177) return static_cast<char16_t>(c | 1);
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
  // Greek capitals (the gap at U+03A2 has no letter).
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
  // Cyrillic: the Ѐ..Џ block and А..Я.
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  return c;
}

namespace {

// Knuth-Morris-Pratt over the folded units: each text unit is looked at a bounded number of times,
// so a search costs text + keyword steps whatever the two hold.
class FoldedMatcher {
 public:
  explicit FoldedMatcher(std::u16string_view keyword) : pattern_(keyword.size()) {
    for (std::size_t i = 0; i < keyword.size(); ++i) pattern_[i] = FoldForSearch(keyword[i]);
    // border_[k]: length of the longest proper border of the first k + 1 pattern units.
    border_.assign(pattern_.size(), 0);
    std::size_t k = 0;
    for (std::size_t i = 1; i < pattern_.size(); ++i) {
      while (k > 0 && pattern_[i] != pattern_[k]) k = border_[k - 1];
      if (pattern_[i] == pattern_[k]) ++k;
      border_[i] = k;
    }
  }

  // Calls found(position) for every occurrence starting at or after start, in order, overlapping
  // ones included; stops early when found returns false.
  template <typename Found>
  void Scan(std::u16string_view text, std::size_t start, Found found) const {
    const std::size_t n = pattern_.size();
    std::size_t k = 0;  // units of the pattern matched so far
    for (std::size_t i = start; i < text.size(); ++i) {
      const char16_t c = FoldForSearch(text[i]);
      while (k > 0 && c != pattern_[k]) k = border_[k - 1];
      if (c == pattern_[k]) ++k;
      if (k == n) {
        if (!found(i + 1 - n)) return;
        k = border_[k - 1];
      }
    }
  }

 private:
  std::vector<char16_t> pattern_;
  std::vector<std::size_t> border_;
};

}  // namespace

std::int32_t FindKeyword(std::u16string_view text, std::u16string_view keyword,
                         std::int32_t start) {
  if (keyword.empty() || start < 0) return -1;
  if (keyword.size() > text.size() || static_cast<std::size_t>(start) >= text.size()) return -1;
  std::int32_t position = -1;
  FoldedMatcher(keyword).Scan(text, static_cast<std::size_t>(start), [&](std::size_t at) {
    position = static_cast<std::int32_t>(at);
    return false;
  });
  return position;
}

std::vector<std::int32_t> FindAllKeywordOccurrences(std::u16string_view text,
                                                    std::u16string_view keyword,
                                                    std::int32_t start) {
  std::vector<std::int32_t> positions;
  if (keyword.empty() || start < 0 || keyword.size() > text.size()) return positions;
  FoldedMatcher(keyword).Scan(text, static_cast<std::size_t>(start), [&](std::size_t at) {
    positions.push_back(static_cast<std::int32_t>(at));
    return true;
  });
  return positions;
}

double KeywordDensity(std::int32_t count, std::int32_t wordCount, std::u16string_view text) {
  const bool onlyLineBreaks =
      std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u'\n' || c == u'\r'; });
  if (onlyLineBreaks || wordCount <= 0) return 0.0;
  return static_cast<double>(count) / wordCount * 100.0;
}

}  // namespace vellora
