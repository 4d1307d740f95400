#include "SqliteLibraryStore.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vellora {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE documents(
  id INTEGER PRIMARY KEY,
  source TEXT NOT NULL UNIQUE,
  title TEXT NOT NULL,
  sha256 BLOB NOT NULL,
  words INTEGER NOT NULL,
  added INTEGER NOT NULL,
  text BLOB NOT NULL
);
CREATE TABLE fingerprints(
  hash INTEGER NOT NULL,
  doc INTEGER NOT NULL,
  PRIMARY KEY(hash, doc)
) WITHOUT ROWID;
)sql";

// SQLite integers are signed; fingerprints keep their bits.
std::int64_t ToSql(std::uint64_t value) {
  return std::bit_cast<std::int64_t>(value);
}
std::uint64_t FromSql(std::int64_t value) {
  return std::bit_cast<std::uint64_t>(value);
}

std::string PathText(const std::filesystem::path& file) {
  return "\"" + file.string() + "\"";
}

}  // namespace

struct SqliteLibraryStore::Statements {
  explicit Statements(SqliteDatabase& db)
      : insertDocument(db,
                       "INSERT INTO documents(source, title, sha256, words, added, text) "
                       "VALUES(?, ?, ?, ?, ?, ?)"),
        insertFingerprint(db, "INSERT OR IGNORE INTO fingerprints(hash, doc) VALUES(?, ?)"),
        deleteDocument(db, "DELETE FROM documents WHERE id = ?"),
        deleteFingerprint(db, "DELETE FROM fingerprints WHERE hash = ? AND doc = ?"),
        listDocuments(db,
                      "SELECT id, source, title, sha256, words, added FROM documents ORDER BY id"),
        oneDocument(db,
                    "SELECT id, source, title, sha256, words, added FROM documents WHERE id = ?"),
        text(db, "SELECT text FROM documents WHERE id = ?"),
        docsWithHash(db, "SELECT doc FROM fingerprints WHERE hash = ?"),
        allFingerprints(db, "SELECT hash, doc FROM fingerprints ORDER BY hash, doc") {}

  SqliteStatement insertDocument;
  SqliteStatement insertFingerprint;
  SqliteStatement deleteDocument;
  SqliteStatement deleteFingerprint;
  SqliteStatement listDocuments;
  SqliteStatement oneDocument;
  SqliteStatement text;
  SqliteStatement docsWithHash;
  SqliteStatement allFingerprints;
};

namespace {

SqliteDatabase OpenDatabase(const std::filesystem::path& file, LibraryOpen open) {
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (std::filesystem::is_directory(status)) {
    throw LibraryError("library " + PathText(file) + ": it is a folder, not a library file");
  }
  if (open == LibraryOpen::MustExist && !std::filesystem::exists(status)) {
    throw LibraryError("library " + PathText(file) +
                       ": no such file (add documents to create the library)");
  }
  return SqliteDatabase(file, OpenMode::ReadWriteCreate);
}

StoredDocument ReadDocument(const SqliteStatement& row) {
  StoredDocument d;
  d.Id = row.Int(0);
  d.Source = row.Text(1);
  d.Title = row.Text(2);
  const auto digest = row.Blob(3);
  std::memcpy(d.Sha256.data(), digest.data(), std::min(digest.size(), d.Sha256.size()));
  d.Words = row.Int(4);
  d.AddedMs = row.Int(5);
  return d;
}

}  // namespace

SqliteLibraryStore::SqliteLibraryStore(const std::filesystem::path& file, LibraryOpen open)
    : db_(OpenDatabase(file, open)) {
  CheckOrCreateSchema();
  statements_ = std::make_unique<Statements>(db_);
}

SqliteLibraryStore::~SqliteLibraryStore() = default;

void SqliteLibraryStore::CheckOrCreateSchema() {
  // These reads come before anything is written, so a file that is refused stays untouched.
  const std::int64_t applicationId = db_.QueryInt("PRAGMA application_id");
  const std::int64_t version = db_.QueryInt("PRAGMA user_version");
  const std::int64_t tables = db_.QueryInt("SELECT count(*) FROM sqlite_master");
  if (applicationId == 0 && version == 0 && tables == 0) {
    db_.Execute("PRAGMA journal_mode = WAL");
    SqliteTransaction transaction(db_);
    // A second process may have created the schema while this one waited for the lock.
    if (db_.QueryInt("SELECT count(*) FROM sqlite_master") == 0) {
      db_.Execute(kSchema);
      db_.Execute("PRAGMA application_id = " + std::to_string(kLibraryApplicationId));
      db_.Execute("PRAGMA user_version = " + std::to_string(kLibrarySchemaVersion));
    }
    transaction.Commit();
  } else if (applicationId != kLibraryApplicationId) {
    throw LibraryError("library " + PathText(db_.File()) +
                       ": it is a database of another program, not a library");
  } else if (version > kLibrarySchemaVersion) {
    throw LibraryError("library " + PathText(db_.File()) + ": it was made by a newer version (" +
                       std::to_string(version) + ") than this program reads (" +
                       std::to_string(kLibrarySchemaVersion) + "); it was left unchanged");
  } else if (version < kLibrarySchemaVersion) {
    throw LibraryError("library " + PathText(db_.File()) + ": unknown library version " +
                       std::to_string(version));
  }
  SqliteStatement mode(db_, "PRAGMA journal_mode = WAL");
  if (!mode.Step() || mode.Text(0) != "wal") {
    throw LibraryError("library " + PathText(db_.File()) +
                       ": cannot switch it to write-ahead logging (is the folder read-only?)");
  }
  // With write-ahead logging, NORMAL keeps every committed transaction across a crash of the
  // program; only a power failure may undo the last ones.
  db_.Execute("PRAGMA synchronous = NORMAL");
  // The fingerprint index is written at random places: a large page cache keeps it in memory.
  db_.Execute("PRAGMA cache_size = -131072");
  db_.Execute("PRAGMA mmap_size = 1073741824");
}

std::string SqliteLibraryStore::Name() const {
  return "library " + PathText(db_.File());
}

std::vector<DocumentId> SqliteLibraryStore::Apply(const StoreBatch& batch) {
  std::vector<DocumentId> ids;
  ids.reserve(batch.Additions.size());
  SqliteTransaction transaction(db_);
  Statements& s = *statements_;
  for (const RemovedDocument& removal : batch.Removals) {
    for (const std::uint64_t hash : removal.Fingerprints) {
      s.deleteFingerprint.Bind(1, ToSql(hash)).Bind(2, removal.Id).Run();
    }
    s.deleteDocument.Bind(1, removal.Id).Run();
  }
  std::vector<std::pair<std::int64_t, DocumentId>> rows;
  for (const NewDocument& doc : batch.Additions) {
    s.insertDocument.Bind(1, doc.Meta.Source)
        .Bind(2, doc.Meta.Title)
        .BindBlob(3, doc.Meta.Sha256)
        .Bind(4, doc.Meta.Words)
        .Bind(5, doc.Meta.AddedMs)
        .BindBlob(6, doc.CompressedText)
        .Run();
    const DocumentId id = db_.LastInsertId();
    ids.push_back(id);
    for (const std::uint64_t hash : doc.Fingerprints) rows.emplace_back(ToSql(hash), id);
  }
  // In key order the inserts walk the index once instead of jumping about it.
  std::sort(rows.begin(), rows.end());
  for (const auto& [hash, id] : rows) s.insertFingerprint.Bind(1, hash).Bind(2, id).Run();
  transaction.Commit();
  return ids;
}

std::vector<StoredDocument> SqliteLibraryStore::Documents() {
  std::vector<StoredDocument> docs;
  SqliteStatement& list = statements_->listDocuments;
  while (list.Step()) docs.push_back(ReadDocument(list));
  list.Reset();
  return docs;
}

std::optional<StoredDocument> SqliteLibraryStore::Document(DocumentId id) {
  SqliteStatement& one = statements_->oneDocument;
  one.Bind(1, id);
  std::optional<StoredDocument> doc;
  if (one.Step()) doc = ReadDocument(one);
  one.Reset();
  return doc;
}

std::vector<unsigned char> SqliteLibraryStore::CompressedText(DocumentId id) {
  SqliteStatement& text = statements_->text;
  text.Bind(1, id);
  std::vector<unsigned char> bytes;
  if (text.Step()) {
    const auto blob = text.Blob(0);
    bytes.assign(blob.begin(), blob.end());
  }
  text.Reset();
  return bytes;
}

std::vector<DocumentId> SqliteLibraryStore::DocumentsWithAny(
    std::span<const std::uint64_t> fingerprints) {
  std::vector<DocumentId> docs;
  SqliteStatement& query = statements_->docsWithHash;
  // One read transaction for all look-ups: a consistent snapshot, and no lock taken per look-up.
  db_.Execute("BEGIN");
  try {
    for (const std::uint64_t hash : fingerprints) {
      query.Bind(1, ToSql(hash));
      while (query.Step()) docs.push_back(query.Int(0));
      query.Reset();
    }
  } catch (...) {
    query.Reset();
    db_.Execute("ROLLBACK");
    throw;
  }
  db_.Execute("COMMIT");
  std::sort(docs.begin(), docs.end());
  docs.erase(std::unique(docs.begin(), docs.end()), docs.end());
  return docs;
}

void SqliteLibraryStore::ForEachSharedFingerprint(
    const std::function<void(std::uint64_t, std::span<const DocumentId>)>& visit) {
  SqliteStatement& all = statements_->allFingerprints;
  std::vector<DocumentId> group;
  std::uint64_t current = 0;
  const auto flush = [&] {
    if (group.size() >= 2) visit(current, group);
    group.clear();
  };
  try {
    while (all.Step()) {
      const std::uint64_t hash = FromSql(all.Int(0));
      if (!group.empty() && hash != current) flush();
      current = hash;
      group.push_back(all.Int(1));
    }
  } catch (...) {
    all.Reset();
    throw;
  }
  all.Reset();
  flush();
}

}  // namespace vellora
