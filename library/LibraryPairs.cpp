// All pairs of documents that share a passage: the pairs come from fingerprints held by both
// documents, never from trying every pair; each is then compared exactly.
#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_set>

#include "AddressArticles.h"
#include "Fingerprints.h"
#include "Library.h"
#include "Parallel.h"
#include "PreparedText.h"
#include "TextCodec.h"
#include "UCompare.h"
#include "UPlainText.h"

namespace vellora {
namespace {

bool IsUnderAny(const std::string& source, const std::vector<std::string>& keys) {
  if (keys.empty()) return true;
  for (const std::string& key : keys) {
    if (source == key || (source.size() > key.size() && source.starts_with(key) &&
                          (key == "/" || source[key.size()] == '/'))) {
      return true;
    }
  }
  return false;
}

}  // namespace

PairsReport Library::Pairs(const std::vector<std::filesystem::path>& under,
                           std::int32_t minimumWords) {
  const std::int32_t minimum = std::max(minimumWords, kGuaranteeWords);
  std::vector<std::string> keys;
  for (const auto& path : under) {
    keys.push_back(IsPageAddress(path.string()) ? path.string() : SourceKey(path));
  }
  std::map<DocumentId, StoredDocument> documents;
  for (StoredDocument& doc : store_->Documents()) {
    if (IsUnderAny(doc.Source, keys)) documents.emplace(doc.Id, std::move(doc));
  }
  PairsReport report;
  report.Documents = documents.size();

  std::unordered_set<std::uint64_t> seen;
  std::vector<std::pair<DocumentId, DocumentId>> candidates;
  std::vector<DocumentId> chosen;
  store_->ForEachSharedFingerprint([&](std::uint64_t, std::span<const DocumentId> holders) {
    chosen.clear();
    for (const DocumentId id : holders) {
      if (documents.count(id)) chosen.push_back(id);
    }
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      for (std::size_t j = i + 1; j < chosen.size(); ++j) {
        const std::uint64_t key =
            (static_cast<std::uint64_t>(chosen[i]) << 32) ^ static_cast<std::uint64_t>(chosen[j]);
        if (seen.insert(key).second) candidates.emplace_back(chosen[i], chosen[j]);
      }
    }
  });
  std::sort(candidates.begin(), candidates.end());
  report.Candidates = candidates.size();

  // The stored texts of every document in a candidate pair, read once.
  std::map<DocumentId, std::vector<unsigned char>> stored;
  for (const auto& [a, b] : candidates) {
    if (!stored.count(a)) stored[a] = store_->CompressedText(a);
    if (!stored.count(b)) stored[b] = store_->CompressedText(b);
  }
  const auto prepare = [&](DocumentId id) {
    return PrepareText(FromUtf8(
        DecompressText(stored.at(id), store_->Name() + ", document " + std::to_string(id))));
  };

  // The runs of the minimum length of every document taking part, prepared once each: most
  // candidate pairs share a fingerprint by chance and no run, which comparing two sorted lists
  // settles without preparing either text again.
  std::vector<DocumentId> involved;
  for (const auto& [id, bytes] : stored) involved.push_back(id);
  std::vector<std::vector<std::uint64_t>> runs(involved.size());
  const int threads = WorkerThreads(0);
  ParallelFor(involved.size(), threads, [&](std::size_t i, std::size_t) {
    runs[i] = SortedRunHashes(prepare(involved[i]).WordHashes, minimum);
  });
  const auto runsOf = [&](DocumentId id) -> const std::vector<std::uint64_t>& {
    return runs[static_cast<std::size_t>(std::lower_bound(involved.begin(), involved.end(), id) -
                                         involved.begin())];
  };
  const auto shareARun = [](const std::vector<std::uint64_t>& a,
                            const std::vector<std::uint64_t>& b) {
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
      if (*i == *j) return true;
      if (*i < *j) {
        ++i;
      } else {
        ++j;
      }
    }
    return false;
  };
  std::vector<std::pair<DocumentId, DocumentId>> sharing;
  for (const auto& [a, b] : candidates) {
    if (shareARun(runsOf(a), runsOf(b))) sharing.emplace_back(a, b);
  }

  std::mutex pairsMutex;
  ParallelFor(sharing.size(), threads, [&](std::size_t i, std::size_t) {
    const auto [firstId, secondId] = sharing[i];
    PreparedText first = prepare(firstId);
    PreparedText second = prepare(secondId);
    const CompareOutcome outcome =
        CompareArticles(first.Text, first.Spans, second.Text, second.Spans,
                        ComparisonSettings{MatchMode::Anywhere, minimum, UnitWords, 0});
    if (outcome.Blocks.empty()) return;
    PairHit hit;
    hit.First = documents.at(firstId);
    hit.Second = documents.at(secondId);
    hit.FirstShare = outcome.Share1;
    hit.SecondShare = outcome.Share;
    hit.LongestPassage = outcome.LongestPassage();
    hit.Blocks = static_cast<std::int32_t>(outcome.Blocks.size());
    const std::lock_guard lock(pairsMutex);
    report.Pairs.push_back(std::move(hit));
  });
  std::sort(report.Pairs.begin(), report.Pairs.end(), [](const PairHit& a, const PairHit& b) {
    const double shareA = std::max(a.FirstShare.Percent, a.SecondShare.Percent);
    const double shareB = std::max(b.FirstShare.Percent, b.SecondShare.Percent);
    if (shareA != shareB) return shareA > shareB;
    if (a.LongestPassage != b.LongestPassage) return a.LongestPassage > b.LongestPassage;
    return std::pair(a.First.Id, a.Second.Id) < std::pair(b.First.Id, b.Second.Id);
  });
  return report;
}

}  // namespace vellora
