// A text ready for candidate search and comparison: segmented as a pane segments it, with the
// folded hash of every word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "UWords.h"

namespace vellora {

struct PreparedText {
  std::u16string Text;
  ArticleSpans Spans;
  std::vector<std::uint64_t> WordHashes;
};

PreparedText PrepareText(std::u16string text);

// The hashes of every run of `length` words of a text, sorted, without repeats. Equal runs have
// equal hashes, so two texts without a common hash share no such run.
std::vector<std::uint64_t> SortedRunHashes(const std::vector<std::uint64_t>& wordHashes,
                                           std::int32_t length);

}  // namespace vellora
