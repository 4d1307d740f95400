#include "PreparedText.h"

#include <algorithm>

#include "Fingerprints.h"
#include "USegment.h"

namespace vellora {

PreparedText PrepareText(std::u16string text) {
  PreparedText prepared;
  prepared.Text = std::move(text);
  SegmentText(prepared.Text, prepared.Spans);
  prepared.WordHashes = FoldedWordHashes(prepared.Text, prepared.Spans.Words);
  return prepared;
}

std::vector<std::uint64_t> SortedRunHashes(const std::vector<std::uint64_t>& wordHashes,
                                           std::int32_t length) {
  std::vector<std::uint64_t> runs = GramHashes(wordHashes, length);
  std::sort(runs.begin(), runs.end());
  runs.erase(std::unique(runs.begin(), runs.end()), runs.end());
  return runs;
}

}  // namespace vellora
