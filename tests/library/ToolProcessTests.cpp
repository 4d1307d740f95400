// The vellora-library program as a user runs it: exit codes and JSON, a SIGKILL in the middle of
// adding, adding and checking from two processes at once, a read-only folder and a full disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "Fingerprints.h"
#include "Library.h"
#include "LibraryTestText.h"
#include "TempFolder.h"
#include "TextCodec.h"
#include "UPlainText.h"

namespace vellora {
namespace {

using test::Join;
using test::RandomWords;
using test::Slice;

struct ToolRun {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

QStringList Args(std::initializer_list<std::string> items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  return list;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A child process with its output in files; started with fork and exec, waited for by its pid.
class Child {
 public:
  // program is run with args; `asNobody` drops to an unprivileged user first when running as root.
  Child(const std::string& program, const QStringList& args, bool asNobody = false)
      : out_(output_ / "out"), err_(output_ / "err") {
    std::vector<std::string> argv{program};
    for (const QString& arg : args) argv.push_back(arg.toStdString());
    std::vector<char*> pointers;
    for (std::string& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(out, 1);
      ::dup2(err, 2);
      if (asNobody && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
        ::_exit(99);
      }
      ::execvp(pointers[0], pointers.data());
      ::_exit(98);
    }
  }
  ~Child() {
    if (pid_ > 0 && !finished_) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  pid_t Pid() const { return pid_; }
  // True once the child has ended (without blocking).
  bool Finished() {
    if (!finished_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) finished_ = true;
    return finished_;
  }
  ToolRun Wait() {
    if (!finished_ && ::waitpid(pid_, &status_, 0) == pid_) finished_ = true;
    return ToolRun{WIFEXITED(status_) ? WEXITSTATUS(status_) : -1, ReadAll(out_), ReadAll(err_)};
  }
  bool Killed() const { return finished_ && WIFSIGNALED(status_) && WTERMSIG(status_) == SIGKILL; }

 private:
  test::TempFolder output_;
  std::filesystem::path out_;
  std::filesystem::path err_;
  pid_t pid_ = -1;
  int status_ = 0;
  bool finished_ = false;
};

ToolRun RunTool(const QStringList& args) {
  return Child(VELLORA_LIBRARY_TOOL, args).Wait();
}

// Counts the rows of a table straight through SQLite, or -1 while the table is not there.
std::int64_t CountRows(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  std::int64_t count = -1;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      count = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return count;
}

std::string QueryText(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  std::string value;
  if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return value;
}

// Every stored document is whole: its text matches its hash and word count, and every one of
// its fingerprints finds it; no fingerprint belongs to a document that is not there.
void ExpectEveryDocumentWhole(const std::filesystem::path& file) {
  EXPECT_EQ(QueryText(file, "PRAGMA integrity_check"), "ok");
  Library library = Library::OpenFile(file, false);
  const std::vector<StoredDocument> docs = library.Documents();
  for (const StoredDocument& doc : docs) {
    const std::u16string text = library.Text(doc.Id);
    EXPECT_EQ(HexDigest(Sha256Of(ToUtf8(text))), HexDigest(doc.Sha256)) << doc.Source;
    for (const std::uint64_t print : TextFingerprints(text)) {
      const std::vector<DocumentId> holders =
          library.Store().DocumentsWithAny(std::span(&print, 1));
      ASSERT_TRUE(std::binary_search(holders.begin(), holders.end(), doc.Id)) << doc.Source;
    }
  }
  EXPECT_EQ(CountRows(file,
                      "SELECT count(*) FROM fingerprints WHERE doc NOT IN "
                      "(SELECT id FROM documents)"),
            0);
}

void WriteDocs(const test::TempFolder& folder, const std::string& sub, int count, int words,
               std::uint32_t seed) {
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/d%05d.txt", i);
    folder.Write(sub + name, Join(RandomWords(seed + static_cast<std::uint32_t>(i),
                                              static_cast<std::size_t>(words))));
  }
}

TEST(LibraryTool, BadCommandLinesExitWithTwo) {
  test::TempFolder folder;
  const std::string lib = (folder / "l.sqlite").string();
  for (const QStringList& args :
       {Args({}), Args({"--library", lib, "frobnicate"}), Args({"--library", lib, "add"}),
        Args({"--library", lib, "check", "a.txt", "--min", "0"}),
        Args({"--library", lib, "check", "a.txt", "--top", "x"}),
        Args({"--library", lib, "pairs", "--min", "5"}),
        Args({"--library", lib, "add", "x.txt", "--json"}), Args({"--no-such-option"})}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_NE(run.err.find("vellora-library: "), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(lib));
}

TEST(LibraryTool, AddListCheckAndPairsWithJson) {
  test::TempFolder folder;
  const test::Words a = RandomWords(1, 300);
  const test::Words b = RandomWords(2, 300);
  folder.Write("docs/a.txt", Join(a));
  folder.Write("docs/b.txt", Join(test::Concat({Slice(a, 0, 20), Slice(b, 20, 280)})));
  folder.Write("article.txt", Join(test::Concat({RandomWords(3, 50), Slice(b, 100, 30)})));
  const std::string lib = (folder / "l.sqlite").string();

  ToolRun run = RunTool(Args(
      {"--library", lib, "add", (folder / "docs").string(), (folder / "missing.txt").string()}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("added 2"), std::string::npos) << run.out;
  // Not a terminal: no progress bar.
  EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;

  run = RunTool(Args({"--library", lib, "list", "--json"}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QJsonArray listed = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
  ASSERT_EQ(listed.size(), 2);
  EXPECT_EQ(listed[0].toObject()["title"].toString(), "a.txt");
  EXPECT_EQ(listed[0].toObject()["words"].toInt(), 300);
  EXPECT_EQ(listed[0].toObject()["sha256"].toString().size(), 64);

  run = RunTool(Args({"--library", lib, "check", (folder / "article.txt").string(), "--json"}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QJsonObject checked = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
  EXPECT_EQ(checked["words"].toInt(), 80);
  const QJsonArray results = checked["results"].toArray();
  ASSERT_EQ(results.size(), 1);
  EXPECT_EQ(results[0].toObject()["document"].toObject()["title"].toString(), "b.txt");
  EXPECT_EQ(results[0].toObject()["shared_words"].toInt(), 30);
  EXPECT_EQ(results[0].toObject()["longest_passage"].toInt(), 30);
  EXPECT_DOUBLE_EQ(results[0].toObject()["article_percent"].toDouble(), 37.5);

  run = RunTool(Args({"--library", lib, "pairs", "--json"}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QJsonArray pairs =
      QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object()["pairs"].toArray();
  ASSERT_EQ(pairs.size(), 1);
  EXPECT_EQ(pairs[0].toObject()["longest_passage"].toInt(), 20);

  run = RunTool(Args({"--library", lib, "remove", (folder / "docs" / "a.txt").string()}));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  run = RunTool(Args({"--library", lib, "remove", "12345"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("12345"), std::string::npos);

  // An article that is no text at all is refused by name.
  folder.Write("binary.doc", std::string("\0\x01\x02\xff\0", 5));
  run = RunTool(Args({"--library", lib, "check", (folder / "binary.doc").string()}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("binary.doc"), std::string::npos) << run.err;

  run = RunTool(Args({"--library", (folder / "none.sqlite").string(), "list"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("none.sqlite"), std::string::npos) << run.err;
}

TEST(LibraryTool, AddDrawsAProgressBarOnATerminal) {
  test::TempFolder folder;
  WriteDocs(folder, "docs", 30, 100, 1);
  const std::string lib = (folder / "l.sqlite").string();
  // script(1) gives the program a terminal and copies what it writes there to the file.
  const std::string typescript = (folder / "typescript").string();
  const ToolRun run = Child("script", Args({"-qefc",
                                            std::string(VELLORA_LIBRARY_TOOL) + " --library " +
                                                lib + " add " + (folder / "docs").string(),
                                            typescript}))
                          .Wait();
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string screen = ReadAll(typescript);
  EXPECT_NE(screen.find("30/30"), std::string::npos) << screen;
  EXPECT_NE(screen.find("files/s"), std::string::npos) << screen;
  EXPECT_NE(screen.find("added 30"), std::string::npos) << screen;
}

// A SIGKILL in the middle of adding leaves the documents of the committed batches, each whole.
TEST(LibraryTool, KilledWhileAddingKeepsExactlyTheCommittedBatches) {
  test::TempFolder folder;
  constexpr int kFiles = 3000;
  constexpr int kBatch = 20;
  WriteDocs(folder, "docs", kFiles, 300, 1);
  const std::filesystem::path lib = folder / "l.sqlite";
  Child add(VELLORA_LIBRARY_TOOL,
            Args({"--library", lib.string(), "--batch-size", std::to_string(kBatch), "add",
                  (folder / "docs").string()}));
  std::int64_t seen = 0;
  while (!add.Finished() && seen < 2 * kBatch) {
    seen = CountRows(lib, "SELECT count(*) FROM documents");
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_FALSE(add.Finished()) << "adding ended before it could be killed";
  ::kill(add.Pid(), SIGKILL);
  add.Wait();
  EXPECT_TRUE(add.Killed());

  const std::int64_t kept = CountRows(lib, "SELECT count(*) FROM documents");
  EXPECT_GE(kept, seen);
  EXPECT_LT(kept, kFiles);
  EXPECT_EQ(kept % kBatch, 0) << kept << " documents";
  ExpectEveryDocumentWhole(lib);

  // Adding again completes the library.
  const ToolRun again =
      RunTool(Args({"--library", lib.string(), "add", (folder / "docs").string()}));
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(again.out.find("unchanged " + std::to_string(kept)), std::string::npos) << again.out;
  EXPECT_EQ(CountRows(lib, "SELECT count(*) FROM documents"), kFiles);
}

TEST(LibraryTool, CheckWorksWhileAnotherProcessAdds) {
  test::TempFolder folder;
  const test::Words planted = RandomWords(77, 400);
  folder.Write("first/planted.txt", Join(planted));
  WriteDocs(folder, "second", 2500, 300, 1000);
  folder.Write("article.txt", Join(test::Concat({RandomWords(5, 40), Slice(planted, 10, 25)})));
  const std::string lib = (folder / "l.sqlite").string();
  ASSERT_EQ(RunTool(Args({"--library", lib, "add", (folder / "first").string()})).exitCode, 0);

  Child add(VELLORA_LIBRARY_TOOL,
            Args({"--library", lib, "--batch-size", "10", "add", (folder / "second").string()}));
  int checksWhileAdding = 0;
  while (!add.Finished()) {
    const ToolRun check =
        RunTool(Args({"--library", lib, "check", (folder / "article.txt").string(), "--json"}));
    ASSERT_EQ(check.exitCode, 0) << check.err;
    const QJsonArray results =
        QJsonDocument::fromJson(QByteArray::fromStdString(check.out)).object()["results"].toArray();
    ASSERT_EQ(results.size(), 1) << check.out;
    EXPECT_EQ(results[0].toObject()["shared_words"].toInt(), 25);
    if (!add.Finished()) ++checksWhileAdding;
  }
  const ToolRun added = add.Wait();
  EXPECT_EQ(added.exitCode, 0) << added.err;
  EXPECT_GT(checksWhileAdding, 0);
  EXPECT_EQ(CountRows(lib, "SELECT count(*) FROM documents"), 2501);
}

// Runs the program as an unprivileged user when the tests run as root, so that folder
// permissions apply.
ToolRun RunToolUnprivileged(const QStringList& args) {
  return Child(VELLORA_LIBRARY_TOOL, args, true).Wait();
}

TEST(LibraryTool, AReadOnlyFolderGivesAClearErrorAndLosesNothing) {
  test::TempFolder folder;
  std::filesystem::permissions(folder.Path(), std::filesystem::perms(0755));
  const test::Words kept = RandomWords(1, 200);
  folder.Write("docs/kept.txt", Join(kept));
  folder.Write("more/new.txt", Join(RandomWords(2, 200)));
  const std::filesystem::path shelf = folder / "shelf";
  std::filesystem::create_directories(shelf);
  const std::filesystem::path lib = shelf / "l.sqlite";
  ASSERT_EQ(RunTool(Args({"--library", lib.string(), "add", (folder / "docs").string()})).exitCode,
            0);
  std::filesystem::permissions(lib, std::filesystem::perms(0666));
  std::filesystem::permissions(shelf, std::filesystem::perms(0555));
  for (const auto& dir : {folder / "docs", folder / "more"}) {
    std::filesystem::permissions(dir, std::filesystem::perms(0755));
  }

  ToolRun run =
      RunToolUnprivileged(Args({"--library", lib.string(), "add", (folder / "more").string()}));
  ASSERT_NE(run.exitCode, 99) << "cannot run as an unprivileged user";
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(lib.string()), std::string::npos) << run.err;

  const std::filesystem::path fresh = shelf / "new.sqlite";
  run = RunToolUnprivileged(Args({"--library", fresh.string(), "add", (folder / "more").string()}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find(fresh.string()), std::string::npos) << run.err;

  std::filesystem::permissions(shelf, std::filesystem::perms(0755));
  Library library = Library::OpenFile(lib, false);
  ASSERT_EQ(library.Documents().size(), 1u);
  EXPECT_EQ(library.Check(FromUtf8(Join(Slice(kept, 5, 20)))).Hits.size(), 1u);
}

TEST(LibraryTool, AFullDiskGivesAClearErrorAndLosesNothing) {
  test::TempFolder folder;
  const test::Words kept = RandomWords(1, 300);
  folder.Write("docs/kept.txt", Join(kept));
  WriteDocs(folder, "big", 600, 500, 50);
  const std::filesystem::path lib = folder / "l.sqlite";
  ASSERT_EQ(RunTool(Args({"--library", lib.string(), "add", (folder / "docs").string()})).exitCode,
            0);
  // Room for the library as it is and 64 KiB more in any one file.
  const auto limitKiB = std::filesystem::file_size(lib) / 1024 + 64;
  const ToolRun run =
      Child("bash", Args({"-c", "ulimit -f " + std::to_string(limitKiB) + " && exec \"$0\" \"$@\"",
                          VELLORA_LIBRARY_TOOL, "--library", lib.string(), "--batch-size", "50",
                          "add", (folder / "big").string()}))
          .Wait();
  const std::string& err = run.err;
  EXPECT_EQ(run.exitCode, 1) << err;
  EXPECT_NE(err.find(lib.string()), std::string::npos) << err;
  EXPECT_NE(err.find("full"), std::string::npos) << err;

  const std::int64_t count = CountRows(lib, "SELECT count(*) FROM documents");
  EXPECT_EQ((count - 1) % 50, 0) << count;
  EXPECT_LT(count, 601);
  ExpectEveryDocumentWhole(lib);
  Library library = Library::OpenFile(lib, false);
  const CheckReport report = library.Check(FromUtf8(Join(Slice(kept, 40, 30))));
  ASSERT_EQ(report.Hits.size(), 1u);
  EXPECT_EQ(report.Hits[0].Document.Title, "kept.txt");
}

}  // namespace
}  // namespace vellora
