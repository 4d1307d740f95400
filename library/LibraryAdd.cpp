// Adding files and pages: pages are downloaded first, on the calling thread whose event loop the
// downloads wait in; then a batch is read and fingerprinted in parallel while the previous batch
// is written.
#include <algorithm>
#include <chrono>
#include <future>
#include <map>
#include <optional>

#include "AddressArticles.h"
#include "ArticleFiles.h"
#include "DocumentImport.h"
#include "Fingerprints.h"
#include "Library.h"
#include "LibraryError.h"
#include "Parallel.h"
#include "TextCodec.h"
#include "UPlainText.h"
#include "USegment.h"

namespace vellora {
namespace {

struct Existing {
  DocumentId Id = 0;
  Sha256Digest Sha256{};
};

struct PreparedFile {
  enum class Kind { Failed, Unchanged, Ready } State = Kind::Failed;
  std::string Cause;
  NewDocument Document;
  std::optional<DocumentId> Replaces;
};

// A file to read, or a page already downloaded.
struct SourceItem {
  std::string Source;
  std::string Title;
  std::optional<std::u16string> Text;  // set for a page
};

PreparedFile PrepareFile(const SourceItem& item, const std::optional<Existing>& existing,
                         std::int64_t nowMs) {
  const std::string& source = item.Source;
  PreparedFile prepared;
  try {
    std::u16string read;
    if (!item.Text) {
      ImportResult imported = ImportDocument(source);
      if (!imported.Ok) {
        prepared.Cause = imported.Error;
        return prepared;
      }
      read = std::move(imported.Document.Text);
    }
    const std::string utf8 =
        ToUtf8(NormalizeArticleText(NormalizeLineBreaks(item.Text ? *item.Text : read)));
    const Sha256Digest digest = Sha256Of(utf8);
    if (existing && existing->Sha256 == digest) {
      prepared.State = PreparedFile::Kind::Unchanged;
      return prepared;
    }
    // The words are taken from the stored form of the text, so that the fingerprints can be
    // computed again from what is stored.
    const std::u16string text = FromUtf8(utf8);
    ArticleSpans spans;
    SegmentText(text, spans);
    NewDocument& doc = prepared.Document;
    doc.Fingerprints = Fingerprints(FoldedWordHashes(text, spans.Words));
    doc.CompressedText = CompressText(utf8);
    doc.Meta.Source = source;
    doc.Meta.Title = item.Title;
    doc.Meta.Sha256 = digest;
    doc.Meta.Words = spans.Words.Count();
    doc.Meta.AddedMs = nowMs;
    if (existing) prepared.Replaces = existing->Id;
    prepared.State = PreparedFile::Kind::Ready;
  } catch (const std::exception& e) {
    prepared = PreparedFile{};
    prepared.Cause = "cannot add \"" + source + "\": " + e.what();
  }
  return prepared;
}

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

AddReport Library::Add(const std::vector<std::filesystem::path>& paths, const AddOptions& options,
                       const AddProgress& progress, const std::atomic<bool>* cancel) {
  AddReport report;
  std::vector<std::filesystem::path> filePaths;
  std::vector<std::string> addresses;
  for (const std::filesystem::path& path : paths) {
    const std::string text = path.string();
    if (!IsPageAddress(text)) {
      filePaths.push_back(path);
    } else if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) {
      addresses.push_back(text);
    }
  }
  FileListing listing = ListArticleFiles(filePaths);
  for (auto& [file, cause] : listing.Failures) report.Failures.push_back({file, cause});
  std::vector<SourceItem> items;
  for (const std::filesystem::path& file : listing.Files) {
    items.push_back({file.string(), file.filename().string(), std::nullopt});
  }
  for (const std::string& address : addresses) {
    if (cancel && cancel->load()) {
      report.Cancelled = true;
      return report;
    }
    ReadOutcome<std::u16string> page = DownloadArticle(address);
    if (!page.Ok()) {
      report.Failures.push_back({address, page.Cause});
    } else {
      items.push_back({address, AddressTitle(address), std::move(page.Value)});
    }
  }

  std::map<std::string, Existing> existing;
  for (const StoredDocument& doc : store_->Documents()) {
    existing[doc.Source] = Existing{doc.Id, doc.Sha256};
  }
  const std::vector<SourceItem>& files = items;
  const std::size_t batchSize = static_cast<std::size_t>(std::max(options.BatchSize, 1));
  const int threads = WorkerThreads(options.Threads);
  const std::int64_t now = NowMs();

  const auto prepareBatch = [&](std::size_t begin) {
    const std::size_t end = std::min(files.size(), begin + batchSize);
    std::vector<PreparedFile> batch(end - begin);
    ParallelFor(batch.size(), threads, [&](std::size_t i, std::size_t) {
      const auto found = existing.find(files[begin + i].Source);
      batch[i] = PrepareFile(
          files[begin + i],
          found == existing.end() ? std::nullopt : std::optional<Existing>(found->second), now);
    });
    return batch;
  };

  std::size_t written = 0;
  if (progress) progress(0, files.size());
  std::future<std::vector<PreparedFile>> next;
  if (!files.empty()) next = std::async(std::launch::async, prepareBatch, 0);
  for (std::size_t begin = 0; begin < files.size(); begin += batchSize) {
    std::vector<PreparedFile> batch = next.get();
    if (cancel && cancel->load()) {
      report.Cancelled = true;
      break;
    }
    if (begin + batchSize < files.size()) {
      next = std::async(std::launch::async, prepareBatch, begin + batchSize);
    }

    StoreBatch write;
    for (std::size_t i = 0; i < batch.size(); ++i) {
      PreparedFile& file = batch[i];
      switch (file.State) {
        case PreparedFile::Kind::Failed:
          report.Failures.push_back({files[begin + i].Source, file.Cause});
          break;
        case PreparedFile::Kind::Unchanged:
          ++report.Unchanged;
          break;
        case PreparedFile::Kind::Ready:
          if (file.Replaces) {
            write.Removals.push_back(
                RemovedDocument{*file.Replaces, TextFingerprints(Text(*file.Replaces))});
            ++report.Replaced;
          } else {
            ++report.Added;
          }
          write.Additions.push_back(std::move(file.Document));
          break;
      }
    }
    if (!write.Additions.empty() || !write.Removals.empty()) {
      try {
        store_->Apply(write);
      } catch (const LibraryError& e) {
        throw LibraryError(std::string(e.what()) + "; the " + std::to_string(written) +
                           " documents added or replaced before it are kept");
      }
      written += write.Additions.size();
    }
    if (progress) progress(std::min(files.size(), begin + batchSize), files.size());
  }
  return report;
}

}  // namespace vellora
