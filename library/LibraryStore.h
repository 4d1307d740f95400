// What a library keeps, behind a small interface: documents with their compressed text, and an
// inverted index from fingerprint to document. The embedded database is one implementation; a
// shared server database would be another.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellora {

using DocumentId = std::int64_t;
using Sha256Digest = std::array<unsigned char, 32>;

struct StoredDocument {
  DocumentId Id = 0;
  std::string Source;  // absolute path of the file it was read from, UTF-8
  std::string Title;   // the file name
  Sha256Digest Sha256{};
  std::int64_t Words = 0;
  std::int64_t AddedMs = 0;  // milliseconds since 1970-01-01 UTC
};

struct NewDocument {
  StoredDocument Meta;  // Id is assigned by the store
  std::vector<unsigned char> CompressedText;
  std::vector<std::uint64_t> Fingerprints;  // sorted, without repeats
};

struct RemovedDocument {
  DocumentId Id = 0;
  std::vector<std::uint64_t> Fingerprints;  // the ones it was stored with
};

// One unit of change, applied whole or not at all.
struct StoreBatch {
  std::vector<RemovedDocument> Removals;  // applied first, so a changed file can be re-added
  std::vector<NewDocument> Additions;
};

class LibraryStore {
 public:
  virtual ~LibraryStore() = default;

  // How messages name the library: its file, or wherever else it lives.
  virtual std::string Name() const = 0;

  // Applies the batch in one transaction; returns the ids given to the additions, in order.
  virtual std::vector<DocumentId> Apply(const StoreBatch& batch) = 0;

  virtual std::vector<StoredDocument> Documents() = 0;
  virtual std::optional<StoredDocument> Document(DocumentId id) = 0;
  virtual std::vector<unsigned char> CompressedText(DocumentId id) = 0;

  // Every document holding at least one of the fingerprints, ascending, without repeats.
  virtual std::vector<DocumentId> DocumentsWithAny(std::span<const std::uint64_t> fingerprints) = 0;

  // Calls back once per fingerprint held by two documents or more, with those documents.
  virtual void ForEachSharedFingerprint(
      const std::function<void(std::uint64_t, std::span<const DocumentId>)>& visit) = 0;
};

}  // namespace vellora
