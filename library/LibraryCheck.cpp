// Checking an article: fingerprints find the candidates, a run test drops those that share no
// run of the minimum length, and the exact Anywhere comparison gives the figures.
#include <algorithm>
#include <mutex>

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
  const std::vector<std::uint64_t> runs = SortedRunHashes(checked.WordHashes, minimum);
  if (runs.empty()) return report;

  const int threads = WorkerThreads(0);
  std::vector<ArticleSpans> articleCopies(static_cast<std::size_t>(threads), checked.Spans);
  std::vector<CheckHit> hits;
  std::mutex hitsMutex;
  for (std::size_t begin = 0; begin < candidates.size(); begin += kLoadGroup) {
    const std::size_t end = std::min(candidates.size(), begin + kLoadGroup);
    std::vector<std::vector<unsigned char>> stored;
    for (std::size_t i = begin; i < end; ++i) stored.push_back(store_->CompressedText(candidates[i]));
    // Each thread compares with its own copy of the article's lists: the comparison colours them.
    ParallelFor(stored.size(), threads, [&](std::size_t i, std::size_t worker) {
      const DocumentId id = candidates[begin + i];
      PreparedText doc =
          PrepareText(FromUtf8(DecompressText(stored[i], store_->Name() + ", document " + std::to_string(id))));
      if (!SharesRun(runs, doc.WordHashes, minimum)) return;
      ArticleSpans& mine = articleCopies[worker];
      const CompareOutcome outcome =
          CompareArticles(doc.Text, doc.Spans, checked.Text, mine,
                          ComparisonSettings{MatchMode::Anywhere, minimum, UnitWords, 0});
      if (outcome.Blocks.empty()) return;
      CheckHit hit;
      hit.Document.Id = id;
      hit.ArticleShare = outcome.Share;
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
