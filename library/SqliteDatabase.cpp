#include "SqliteDatabase.h"

#include <sqlite3.h>

#include <climits>

namespace vellora {
namespace {

constexpr int kBusyTimeoutMs = 30'000;

// What the user needs to know about a result code; SQLite's own words follow it.
std::string CauseOf(int code) {
  switch (code & 0xFF) {
    case SQLITE_NOTADB:
      return "it is not a library (not a database file)";
    case SQLITE_CORRUPT:
      return "the database is damaged or truncated";
    case SQLITE_FULL:
      return "the disk is full";
    case SQLITE_READONLY:
      return "it cannot be written (read-only file or folder)";
    case SQLITE_CANTOPEN:
      return "the file cannot be opened or created (missing folder or no permission)";
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return "permission denied";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "another program kept the library busy for too long";
    case SQLITE_IOERR:
      return "a read or write failed (full disk, file size limit or device error)";
    case SQLITE_NOMEM:
      return "out of memory";
    default:
      return sqlite3_errstr(code);
  }
}

}  // namespace

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file, OpenMode mode) : file_(file) {
  const int flags = (mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY
                                                : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
                    SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw LibraryError("library \"" + file.string() + "\": " + CauseOf(rc) + " (" + detail + ")");
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

SqliteDatabase::~SqliteDatabase() {
  sqlite3_close_v2(db_);
}

void SqliteDatabase::Fail(int code, std::string_view doing) const {
  std::string message = "library \"" + file_.string() + "\": " + CauseOf(code);
  const char* detail = db_ ? sqlite3_errmsg(db_) : nullptr;
  if (detail && *detail) message += std::string(" (") + detail + ")";
  if (!doing.empty()) message += " while " + std::string(doing);
  throw LibraryError(message);
}

void SqliteDatabase::Execute(std::string_view sql) {
  std::string copy(sql);
  char* error = nullptr;
  const int rc = sqlite3_exec(db_, copy.c_str(), nullptr, nullptr, &error);
  sqlite3_free(error);
  if (rc != SQLITE_OK) Fail(rc, "running \"" + copy.substr(0, 40) + "\"");
}

std::int64_t SqliteDatabase::QueryInt(std::string_view sql) {
  SqliteStatement statement(*this, sql);
  if (!statement.Step()) return 0;
  return statement.Int(0);
}

std::int64_t SqliteDatabase::LastInsertId() const {
  return sqlite3_last_insert_rowid(db_);
}

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql) : db_(&db) {
  const int rc = sqlite3_prepare_v3(db.Handle(), sql.data(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  if (rc != SQLITE_OK) db.Fail(rc, "reading its tables");
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(stmt_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_) {
  other.stmt_ = nullptr;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
  const int rc = sqlite3_bind_int64(stmt_, index, value);
  if (rc != SQLITE_OK) db_->Fail(rc, "binding a value");
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  const int rc =
      sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  if (rc != SQLITE_OK) db_->Fail(rc, "binding a value");
  return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, std::span<const unsigned char> bytes) {
  static const unsigned char kEmpty = 0;
  const int rc = sqlite3_bind_blob64(stmt_, index, bytes.empty() ? &kEmpty : bytes.data(),
                                     bytes.size(), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) db_->Fail(rc, "binding a value");
  return *this;
}

bool SqliteStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  db_->Fail(rc, "");
}

void SqliteStatement::Run() {
  while (Step()) {
  }
  Reset();
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::int64_t SqliteStatement::Int(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStatement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
              : std::string();
}

std::span<const unsigned char> SqliteStatement::Blob(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (!data || size <= 0) return {};
  return {static_cast<const unsigned char*>(data), static_cast<std::size_t>(size)};
}

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) {
  db_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
  if (!done_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::Commit() {
  db_.Execute("COMMIT");
  done_ = true;
}

}  // namespace vellora
