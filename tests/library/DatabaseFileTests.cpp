// Library files that are not what they should be: refused with a message naming the file, and
// left exactly as they were.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>
#include <random>

#include "Library.h"
#include "LibraryError.h"
#include "LibraryTestText.h"
#include "SqliteLibraryStore.h"
#include "TempFolder.h"
#include "UPlainText.h"

namespace vellora {
namespace {

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The message of the error that opening (and reading) the library gives, or "" if none.
std::string OpenError(const std::filesystem::path& file, bool create) {
  try {
    Library library = Library::OpenFile(file, create);
    library.Documents();
    library.Check(u"some words of an article to check against the library now");
  } catch (const LibraryError& e) {
    return e.what();
  }
  return {};
}

void RunSql(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

std::string RandomBytes(std::size_t count) {
  std::mt19937 rng(3);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(rng());
  return bytes;
}

struct BadFile {
  const char* name;
  std::string bytes;
  const char* cause;  // part of the message
};

class BadLibraryFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadLibraryFile, IsRefusedByNameAndLeftUnchanged) {
  test::TempFolder folder;
  const std::filesystem::path file = folder.Write("library.sqlite", GetParam().bytes);
  for (const bool create : {false, true}) {
    const std::string message = OpenError(file, create);
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().cause), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(file), GetParam().bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadLibraryFile,
    ::testing::Values(BadFile{"Text", std::string(2000, 'x') + "\nplain text, not a database\n",
                              "not a library"},
                      BadFile{"RandomBytes", RandomBytes(8192), "not a library"},
                      BadFile{"SqliteHeaderOnly",
                              std::string("SQLite format 3\0", 16) + RandomBytes(84), "library"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibraryFile, TruncatedLibraryGivesAClearErrorNamingTheFile) {
  test::TempFolder folder;
  for (int i = 0; i < 60; ++i) {
    folder.Write("docs/d" + std::to_string(i) + ".txt", test::Join(test::RandomWords(i, 500)));
  }
  const std::filesystem::path file = folder / "library.sqlite";
  {
    Library library = Library::OpenFile(file, true);
    library.Add({folder / "docs"});
  }
  const std::string whole = ReadBytes(file);
  ASSERT_GT(whole.size(), 64u * 1024);
  const std::string cut = whole.substr(0, whole.size() / 3);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << cut;
  }
  std::string message;
  try {
    Library library = Library::OpenFile(file, false);
    for (const StoredDocument& doc : library.Documents()) library.Text(doc.Id);
    library.Pairs({});
  } catch (const LibraryError& e) {
    message = e.what();
  }
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  EXPECT_NE(message.find("damaged"), std::string::npos) << message;
}

TEST(LibraryFile, ADamagedStoredTextIsReportedWithTheLibraryAndDocument) {
  test::TempFolder folder;
  folder.Write("docs/a.txt", test::Join(test::RandomWords(1, 100)));
  const std::filesystem::path file = folder / "library.sqlite";
  { Library::OpenFile(file, true).Add({folder / "docs"}); }
  RunSql(file, "UPDATE documents SET text = x'0500000000000000ffff'");
  Library library = Library::OpenFile(file, false);
  try {
    library.Check(FromUtf8(test::Join(test::RandomWords(1, 100))));
    FAIL() << "a damaged text was compared";
  } catch (const LibraryError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_NE(message.find("document 1"), std::string::npos) << message;
    EXPECT_NE(message.find("damaged"), std::string::npos) << message;
  }
}

TEST(LibraryFile, ANewerLibraryVersionIsRefusedAndNotAltered) {
  test::TempFolder folder;
  const std::filesystem::path file = folder / "library.sqlite";
  { Library::OpenFile(file, true); }
  RunSql(file, ("PRAGMA user_version = " + std::to_string(kLibrarySchemaVersion + 1)).c_str());
  const std::string before = ReadBytes(file);
  const std::string message = OpenError(file, true);
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  EXPECT_NE(message.find("newer version"), std::string::npos) << message;
  EXPECT_EQ(ReadBytes(file), before);
}

TEST(LibraryFile, AnotherProgramsDatabaseIsRefusedAndNotAltered) {
  test::TempFolder folder;
  const std::filesystem::path file = folder / "other.sqlite";
  RunSql(file, "CREATE TABLE notes(x TEXT); INSERT INTO notes VALUES('keep me');");
  const std::string before = ReadBytes(file);
  const std::string message = OpenError(file, true);
  EXPECT_NE(message.find("another program"), std::string::npos) << message;
  EXPECT_EQ(ReadBytes(file), before);
}

TEST(LibraryFile, AMissingLibraryIsNotCreatedByReading) {
  test::TempFolder folder;
  const std::filesystem::path file = folder / "none.sqlite";
  const std::string message = OpenError(file, false);
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  EXPECT_NE(message.find("no such file"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(LibraryFile, AFolderIsNotALibrary) {
  test::TempFolder folder;
  const std::string message = OpenError(folder.Path(), true);
  EXPECT_NE(message.find("folder"), std::string::npos) << message;
}

TEST(LibraryFile, ANewLibraryCarriesItsVersionAndUsesWriteAheadLogging) {
  test::TempFolder folder;
  const std::filesystem::path file = folder / "library.sqlite";
  { Library::OpenFile(file, true); }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  const auto query = [&](const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    std::string value;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
    return value;
  };
  EXPECT_EQ(query("PRAGMA user_version"), std::to_string(kLibrarySchemaVersion));
  EXPECT_EQ(query("PRAGMA application_id"), std::to_string(kLibraryApplicationId));
  EXPECT_EQ(query("PRAGMA journal_mode"), "wal");
  sqlite3_close(db);
}

}  // namespace
}  // namespace vellora
