// A collection of documents that an article can be checked against, and whose documents can be
// checked against each other: add, remove, list, check and pairs over a LibraryStore.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LibraryStore.h"
#include "UMatchBlocks.h"

namespace vellora {

struct AddOptions {
  int BatchSize = 256;  // documents per transaction
  int Threads = 0;      // readers working in parallel; 0 means one per processor
};

// Called with the files handled so far and the files found.
using AddProgress = std::function<void(std::size_t done, std::size_t total)>;

struct AddFailure {
  std::string File;
  std::string Cause;  // a message for the user, naming the file
};

struct AddReport {
  std::size_t Added = 0;      // new documents
  std::size_t Replaced = 0;   // documents whose file changed since it was added
  std::size_t Unchanged = 0;  // same source and same text: nothing done
  std::vector<AddFailure> Failures;
  bool Cancelled = false;
};

struct RemoveReport {
  std::vector<StoredDocument> Removed;
  std::vector<std::string> NotFound;  // messages naming the id or path
};

// One library document that shares passages with the checked article. Article 2 of the
// comparison is the checked article, Article 1 the document.
struct CheckHit {
  StoredDocument Document;
  DuplicateShare ArticleShare;   // the share of the checked article found in the document
  DuplicateShare DocumentShare;  // the share of the document found in the article
  std::int32_t LongestPassage = 0;
  std::int32_t Blocks = 0;
};

struct CheckReport {
  std::int64_t ArticleWords = 0;
  std::size_t Candidates = 0;  // documents compared exactly
  std::vector<CheckHit> Hits;  // most shared words of the article first
};

struct PairHit {
  StoredDocument First;  // the lower id
  StoredDocument Second;
  DuplicateShare FirstShare;   // the share of First found in Second
  DuplicateShare SecondShare;  // the share of Second found in First
  std::int32_t LongestPassage = 0;
  std::int32_t Blocks = 0;
};

struct PairsReport {
  std::size_t Documents = 0;   // documents taking part
  std::size_t Candidates = 0;  // pairs that shared a fingerprint
  std::vector<PairHit> Pairs;  // highest share first
};

inline constexpr std::int32_t kDefaultMinimumWords = 8;

class Library {
 public:
  explicit Library(std::unique_ptr<LibraryStore> store);
  // The library in an SQLite file; `create` makes a new one when the file does not exist.
  static Library OpenFile(const std::filesystem::path& file, bool create);

  // Files are added as they are; folders are searched recursively for article files; http and
  // https addresses are downloaded (on the calling thread, in Qt's event loop) and stored as the
  // page's readable text with the address as source. Each batch of documents is written in one
  // transaction. Unreadable files and failed downloads are listed with their cause.
  AddReport Add(const std::vector<std::filesystem::path>& paths, const AddOptions& options = {},
                const AddProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

  // Each item is a document id or the path of a file or folder whose documents are removed.
  RemoveReport Remove(const std::vector<std::string>& idsOrPaths);

  std::vector<StoredDocument> Documents();

  // The article's text as a pane holds it. Every document sharing a passage of at least
  // minimumWords words is found; at most `top` hits are returned (0 means all).
  CheckReport Check(std::u16string_view article, std::int32_t minimumWords = kDefaultMinimumWords,
                    std::size_t top = 0);

  // Pairs among the documents from under the given files or folders (all when empty) that share
  // a passage of at least minimumWords words; at least kGuaranteeWords, as found by fingerprint.
  PairsReport Pairs(const std::vector<std::filesystem::path>& under,
                    std::int32_t minimumWords = kDefaultMinimumWords);

  // The stored text of a document, as it was added.
  std::u16string Text(DocumentId id);

  LibraryStore& Store() { return *store_; }

 private:
  std::unique_ptr<LibraryStore> store_;
};

// Absolute, normalised form of a path, as sources are stored.
std::string SourceKey(const std::filesystem::path& path);

}  // namespace vellora
