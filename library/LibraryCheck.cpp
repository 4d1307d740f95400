// Checking an article: fingerprints find the candidates; the hashes of runs of the minimum length
// find the stretches of the article each candidate can share, and the exact Anywhere comparison
// of the candidate with those stretches gives the figures.
#include <algorithm>
#include <climits>
#include <mutex>
#include <optional>

#include "Fingerprints.h"
#include "Library.h"
#include "Parallel.h"
#include "PreparedText.h"
#include "TextCodec.h"
#include "UCompare.h"
#include "UPlainText.h"

namespace vellora {
namespace {

// Candidates are read from the store in groups of this many, to bound memory.
constexpr std::size_t kLoadGroup = 512;

// Where each run of `length` words of the checked article starts, by the run's hash.
class RunIndex {
 public:
  RunIndex(const std::vector<std::uint64_t>& wordHashes, std::int32_t length) : length_(length) {
    const std::vector<std::uint64_t> runs = GramHashes(wordHashes, length);
    entries_.reserve(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
      entries_.push_back({runs[i], static_cast<std::int32_t>(i)});
    }
    std::sort(entries_.begin(), entries_.end());
  }
  bool Empty() const { return entries_.empty(); }

  // Words of the article inside some run whose hash is also a run of the document: a superset of
  // the words that share a passage of the minimum length with it, as inclusive word ranges.
  std::vector<std::pair<std::int32_t, std::int32_t>> Covered(
      const std::vector<std::uint64_t>& documentWordHashes) const {
    std::vector<std::int32_t> starts;
    for (const std::uint64_t run : GramHashes(documentWordHashes, length_)) {
      auto it = std::lower_bound(entries_.begin(), entries_.end(),
                                 std::pair<std::uint64_t, std::int32_t>{run, INT32_MIN});
      for (; it != entries_.end() && it->first == run; ++it) starts.push_back(it->second);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
    for (const std::int32_t start : starts) {
      const std::int32_t last = start + length_ - 1;
      if (!ranges.empty() && start <= ranges.back().second + 1) {
        ranges.back().second = std::max(ranges.back().second, last);
      } else {
        ranges.emplace_back(start, last);
      }
    }
    return ranges;
  }

 private:
  std::int32_t length_;
  std::vector<std::pair<std::uint64_t, std::int32_t>> entries_;
};

// A character that does not occur in the text, for a separator word that matches nothing.
std::optional<char16_t> AbsentCharacter(std::u16string_view text) {
  std::vector<bool> used(0x1900, false);  // the private use area U+E000 to U+F8FF
  for (const char16_t c : text) {
    if (c >= 0xE000 && c <= 0xF8FF) used[c - 0xE000] = true;
  }
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) return static_cast<char16_t>(0xE000 + i);
  }
  return std::nullopt;
}

// The stretches of the article that can share passages with the document, in article order,
// separated by a word the document does not hold. No passage can cross a separator, and the
// longest-first tiling of the stretches is the tiling of the whole article restricted to them,
// so the comparison's blocks, marked words and longest passage are those of the whole article.
std::u16string CoveredStretches(const PreparedText& article,
                                const std::vector<std::pair<std::int32_t, std::int32_t>>& ranges,
                                char16_t separator) {
  std::u16string text;
  for (const auto& [first, last] : ranges) {
    if (!text.empty()) {
      text += u' ';
      text += separator;
      text += u' ';
    }
    const TWord& a = article.Spans.Words[first];
    const TWord& b = article.Spans.Words[last];
    text.append(article.Text, static_cast<std::size_t>(a.StartPos - 1),
                static_cast<std::size_t>(b.EndPos - a.StartPos));
  }
  return text;
}

}  // namespace
CheckReport Library::Check(std::u16string_view article, std::int32_t minimumWords,
                           std::size_t top) {
  const std::int32_t minimum = std::max(minimumWords, 1);
  const PreparedText checked = PrepareText(std::u16string(article));
  CheckReport report;
  report.ArticleWords = checked.Spans.Words.Count();

  std::vector<DocumentId> candidates;
  if (minimum >= kGuaranteeWords) {
    candidates = store_->DocumentsWithAny(Fingerprints(checked.WordHashes));
  } else {
    // Below the guarantee, fingerprints may miss a passage: every document is looked at.
    for (const StoredDocument& doc : store_->Documents()) candidates.push_back(doc.Id);
  }
  const RunIndex runs(checked.WordHashes, minimum);
  if (runs.Empty()) return report;

  const int threads = WorkerThreads(0);
  std::vector<CheckHit> hits;
  std::mutex hitsMutex;
  for (std::size_t begin = 0; begin < candidates.size(); begin += kLoadGroup) {
    const std::size_t end = std::min(candidates.size(), begin + kLoadGroup);
    std::vector<std::vector<unsigned char>> stored;
    for (std::size_t i = begin; i < end; ++i)
      stored.push_back(store_->CompressedText(candidates[i]));
    ParallelFor(stored.size(), threads, [&](std::size_t i, std::size_t) {
      const DocumentId id = candidates[begin + i];
      PreparedText doc = PrepareText(
          FromUtf8(DecompressText(stored[i], store_->Name() + ", document " + std::to_string(id))));
      const auto ranges = runs.Covered(doc.WordHashes);
      if (ranges.empty()) return;
      // A document holding every private-use character leaves no separator: it is compared with
      // the whole article.
      const std::optional<char16_t> separator = AbsentCharacter(doc.Text);
      std::u16string stretches =
          separator ? CoveredStretches(checked, ranges, *separator) : checked.Text;
      ArticleSpans stretchSpans;
      const CompareOutcome outcome =
          CompareArticles(doc.Text, doc.Spans, stretches, stretchSpans,
                          ComparisonSettings{MatchMode::Anywhere, minimum, UnitWords, 0});
      if (outcome.Blocks.empty()) return;
      CheckHit hit;
      hit.Document.Id = id;
      hit.ArticleShare = ComputeDuplicateShare(outcome.Share.Marked, checked.Spans.Words.Count());
      hit.DocumentShare = outcome.Share1;
      hit.LongestPassage = outcome.LongestPassage();
      hit.Blocks = static_cast<std::int32_t>(outcome.Blocks.size());
      const std::lock_guard lock(hitsMutex);
      hits.push_back(hit);
    });
    report.Candidates += stored.size();
  }
  std::sort(hits.begin(), hits.end(), [](const CheckHit& a, const CheckHit& b) {
    if (a.ArticleShare.Marked != b.ArticleShare.Marked) {
      return a.ArticleShare.Marked > b.ArticleShare.Marked;
    }
    if (a.DocumentShare.Marked != b.DocumentShare.Marked) {
      return a.DocumentShare.Marked > b.DocumentShare.Marked;
    }
    if (a.LongestPassage != b.LongestPassage) return a.LongestPassage > b.LongestPassage;
    return a.Document.Id < b.Document.Id;
  });
  if (top > 0 && hits.size() > top) hits.resize(top);
  for (CheckHit& hit : hits) {
    if (auto doc = store_->Document(hit.Document.Id)) hit.Document = std::move(*doc);
  }
  report.Hits = std::move(hits);
  return report;
}

}  // namespace vellora
