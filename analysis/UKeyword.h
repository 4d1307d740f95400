// Keyword density: trimming the phrase, finding its occurrences, and the density figure.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "USegment.h"  // TrimControlAndSpace

namespace vellora {

// Keyword occurrences are shown on yellow.
inline constexpr std::int32_t KeywordHighlight = 0x00FFFF;

// Case folding used by the keyword search: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// letters fold to small letters; everything else compares as it is.
char16_t FoldForSearch(char16_t c);

// 0-based position of the first occurrence of keyword at or after start, letters compared
// regardless of case and without regard to word boundaries; -1 when there is none or the
// keyword is empty. Time grows with the lengths of text and keyword added, not multiplied.
std::int32_t FindKeyword(std::u16string_view text, std::u16string_view keyword, std::int32_t start);

// Every occurrence at or after start, overlapping ones included: the same positions as calling
// FindKeyword again one unit after the start of each occurrence, found in one pass.
std::vector<std::int32_t> FindAllKeywordOccurrences(std::u16string_view text,
                                                    std::u16string_view keyword,
                                                    std::int32_t start = 0);

// Occurrences per hundred words. 0 when the text holds nothing but line breaks, and 0 when it
// has no words at all.
double KeywordDensity(std::int32_t count, std::int32_t wordCount, std::u16string_view text);

}  // namespace vellora
