// A small RAII wrapper over the SQLite C API: a connection, prepared statements and
// transactions; every failure becomes a LibraryError naming the database file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "LibraryError.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vellora {

class SqliteDatabase;

// One prepared statement. Bind parameters are 1-based; columns 0-based.
class SqliteStatement {
 public:
  SqliteStatement(SqliteDatabase& db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&&) = delete;

  SqliteStatement& Bind(int index, std::int64_t value);
  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& BindBlob(int index, std::span<const unsigned char> bytes);

  // Advances to the next row: true while a row is available, false when done.
  bool Step();
  // Runs a statement that returns no rows, then resets it for the next use.
  void Run();
  // Clears the bindings and rewinds, ready for the next use.
  void Reset();

  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  std::span<const unsigned char> Blob(int column) const;
  bool IsNull(int column) const;

 private:
  SqliteDatabase* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

enum class OpenMode { ReadWriteCreate, ReadOnly };

class SqliteDatabase {
 public:
  SqliteDatabase(const std::filesystem::path& file, OpenMode mode);
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  // Runs one or more statements that return no rows.
  void Execute(std::string_view sql);
  // The single integer a query such as "PRAGMA user_version" returns.
  std::int64_t QueryInt(std::string_view sql);

  std::int64_t LastInsertId() const;
  const std::filesystem::path& File() const { return file_; }
  sqlite3* Handle() const { return db_; }

  // Throws a LibraryError for the given SQLite result code, naming the file and the cause.
  [[noreturn]] void Fail(int code, std::string_view doing) const;

 private:
  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
};

// BEGIN IMMEDIATE on construction; rolled back on destruction unless Commit was called.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDatabase& db);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  void Commit();

 private:
  SqliteDatabase& db_;
  bool done_ = false;
};

}  // namespace vellora
