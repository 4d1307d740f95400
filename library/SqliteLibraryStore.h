// The library store in one SQLite database file: WAL journal, a busy timeout for concurrent
// readers and writers, a schema version that refuses newer libraries untouched.
#pragma once

#include <filesystem>
#include <memory>

#include "LibraryStore.h"
#include "SqliteDatabase.h"

namespace vellora {

inline constexpr std::int64_t kLibrarySchemaVersion = 1;
// "VlLb": marks the file as a library, so that other SQLite databases are refused.
inline constexpr std::int64_t kLibraryApplicationId = 0x566C4C62;

enum class LibraryOpen { CreateIfMissing, MustExist };

class SqliteLibraryStore final : public LibraryStore {
 public:
  // Throws LibraryError naming the file: not a database, another program's database, a newer
  // library version, missing (with MustExist), or not writable.
  SqliteLibraryStore(const std::filesystem::path& file, LibraryOpen open);
  ~SqliteLibraryStore() override;

  std::string Name() const override;
  std::vector<DocumentId> Apply(const StoreBatch& batch) override;
  std::vector<StoredDocument> Documents() override;
  std::optional<StoredDocument> Document(DocumentId id) override;
  std::vector<unsigned char> CompressedText(DocumentId id) override;
  std::vector<DocumentId> DocumentsWithAny(std::span<const std::uint64_t> fingerprints) override;
  void ForEachSharedFingerprint(
      const std::function<void(std::uint64_t, std::span<const DocumentId>)>& visit) override;

  SqliteDatabase& Database() { return db_; }

 private:
  void CheckOrCreateSchema();
  struct Statements;

  SqliteDatabase db_;
  std::unique_ptr<Statements> statements_;
};

}  // namespace vellora
