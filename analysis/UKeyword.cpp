#include "UKeyword.h"

#include <algorithm>

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

std::int32_t FindKeyword(std::u16string_view text, std::u16string_view keyword,
                         std::int32_t start) {
  if (keyword.empty() || start < 0) return -1;
  const std::size_t n = keyword.size();
  if (n > text.size()) return -1;
  const char16_t first = FoldForSearch(keyword[0]);
  for (std::size_t i = static_cast<std::size_t>(start); i + n <= text.size(); ++i) {
    if (FoldForSearch(text[i]) != first) continue;
    std::size_t k = 1;
    while (k < n && FoldForSearch(text[i + k]) == FoldForSearch(keyword[k])) ++k;
    if (k == n) return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::vector<std::int32_t> FindAllKeywordOccurrences(std::u16string_view text,
                                                    std::u16string_view keyword) {
  std::vector<std::int32_t> positions;
  for (std::int32_t at = FindKeyword(text, keyword, 0); at >= 0;
       at = FindKeyword(text, keyword, at + 1)) {
    positions.push_back(at);
  }
  return positions;
}

double KeywordDensity(std::int32_t count, std::int32_t wordCount, std::u16string_view text) {
  const bool onlyLineBreaks =
      std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u'\n' || c == u'\r'; });
  if (onlyLineBreaks || wordCount <= 0) return 0.0;
  return static_cast<double>(count) / wordCount * 100.0;
}

}  // namespace vellora
