// The library window from the main window: opening a library file in a temporary folder, adding
// files and folders in the worker with its progress dialog, cancelling an add, checking an
// article, double-clicking a result into the other pane, and libraries that cannot be opened.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <optional>

#include "FLibrary.h"
#include "Library.h"
#include "NumericField.h"
#include "SqliteDatabase.h"
#include "SqliteLibraryStore.h"
#include "TempFolder.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

// Words of letters only, distinct for each (document, position): documents share nothing unless
// a passage is copied on purpose.
std::string Word(int document, int position) {
  std::string word = "q";
  for (int n : {document, position}) {
    do {
      word += static_cast<char>('a' + n % 26);
      n /= 26;
    } while (n > 0);
    word += 'z';
  }
  return word;
}

std::string Words(int document, int from, int count) {
  std::string text;
  for (int i = from; i < from + count; ++i) {
    if (!text.empty()) text += ' ';
    text += Word(document, i);
  }
  return text;
}

QString Q(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

class LibraryWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    libraryFile_ = folder_ / "data" / "library.sqlite";
    window->SetLibraryFile(libraryFile_);
  }

  TfrmLibrary* OpenWindow() {
    Control<QPushButton>("btnLibrary")->click();
    TfrmLibrary* library = window->LibraryWindow();
    EXPECT_NE(library, nullptr);
    return library;
  }

  template <typename T>
  T* In(TfrmLibrary* library, const char* name) {
    T* control = library->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  // Add Files… and Add Folder… receive these paths; Open Library… receives libraryChoice_.
  void ChoosePaths(TfrmLibrary* library, QStringList paths) {
    library->SetFileChooser([this, paths](QFileDialog& dialog) {
      modes_.push_back(dialog.fileMode());
      return paths;
    });
  }

  bool WaitForAdd(TfrmLibrary* library) {
    return ProcessEventsUntil([library] { return !library->AddJob().Running(); });
  }

  std::vector<std::string> Titles(TfrmLibrary* library) {
    std::vector<std::string> titles;
    for (const StoredDocument& doc : library->DocumentsModel().Documents()) {
      titles.push_back(doc.Title);
    }
    std::sort(titles.begin(), titles.end());
    return titles;
  }

  TempFolder folder_;
  std::filesystem::path libraryFile_;
  std::vector<QFileDialog::FileMode> modes_;
};

TEST_F(LibraryWindowTest, LibraryButtonOpensTheChosenLibraryFile) {
  TfrmLibrary* library = OpenWindow();
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(library->isVisible());
  EXPECT_TRUE(library->HasLibrary());
  EXPECT_EQ(library->LibraryFile(), libraryFile_);
  EXPECT_TRUE(std::filesystem::exists(libraryFile_));
  EXPECT_EQ(In<QLabel>(library, "lblLibraryFile")->text(), Q(libraryFile_));
  EXPECT_EQ(library->DocumentsModel().rowCount(), 0);
  // A second click shows the same window.
  Control<QPushButton>("btnLibrary")->click();
  EXPECT_EQ(window->LibraryWindow(), library);
}

TEST_F(LibraryWindowTest, AddFilesListsTheDocumentsAndNamesTheFilesThatFailed) {
  const auto a = folder_.Write("in/alpha.txt", Words(1, 0, 120));
  const auto b = folder_.Write("in/beta.txt", Words(2, 0, 45));
  const auto bad = folder_.Write("in/broken.docx", std::string("PK\x03\x04\x14\0\0\0", 8));
  const auto gone = folder_ / "in" / "gone.txt";
  TfrmLibrary* library = OpenWindow();
  ChoosePaths(library, {Q(a), Q(b), Q(bad), Q(gone)});
  ModalCatcher catcher;
  In<QPushButton>(library, "btnAddFiles")->click();
  EXPECT_EQ(modes_, std::vector<QFileDialog::FileMode>{QFileDialog::ExistingFiles});
  ASSERT_TRUE(WaitForAdd(library));
  ASSERT_TRUE(ProcessEventsUntil([&] { return !catcher.Texts().isEmpty(); }))
      << In<QLabel>(library, "lblStatus")->text().toStdString();

  EXPECT_EQ(Titles(library), (std::vector<std::string>{"alpha.txt", "beta.txt"}));
  const LibraryDocumentModel& model = library->DocumentsModel();
  ASSERT_EQ(model.rowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    const QString title = model.index(row, 0).data().toString();
    EXPECT_EQ(model.index(row, 1).data().toLongLong(), title == "alpha.txt" ? 120 : 45);
    EXPECT_FALSE(model.index(row, 2).data().toString().isEmpty());
    EXPECT_TRUE(model.index(row, 3).data().toString().endsWith(title));
  }
  EXPECT_EQ(library->AddProgressDialog(), nullptr);
  ASSERT_EQ(catcher.Texts().size(), 1);
  for (const auto& failed : {bad, gone}) {
    EXPECT_TRUE(catcher.Texts().front().contains(Q(failed)))
        << catcher.Texts().front().toStdString();
  }
  EXPECT_TRUE(In<QLabel>(library, "lblStatus")->text().startsWith("2 added"));

  // Adding the same files again changes nothing.
  ChoosePaths(library, {Q(a), Q(b)});
  In<QPushButton>(library, "btnAddFiles")->click();
  ASSERT_TRUE(WaitForAdd(library));
  EXPECT_EQ(library->DocumentsModel().rowCount(), 2);
  EXPECT_TRUE(
      In<QLabel>(library, "lblStatus")->text().startsWith("0 added, 0 replaced, 2 unchanged"));
}

TEST_F(LibraryWindowTest, AddFolderAddsItsArticlesRecursivelyAndRemoveTakesThemOut) {
  folder_.Write("tree/one.txt", Words(1, 0, 30));
  folder_.Write("tree/sub/two.txt", Words(2, 0, 30));
  folder_.Write("tree/sub/deeper/three.txt", Words(3, 0, 30));
  TfrmLibrary* library = OpenWindow();
  ChoosePaths(library, {Q(folder_ / "tree")});
  In<QPushButton>(library, "btnAddFolder")->click();
  EXPECT_EQ(modes_, std::vector<QFileDialog::FileMode>{QFileDialog::Directory});
  ASSERT_TRUE(WaitForAdd(library));
  EXPECT_EQ(Titles(library), (std::vector<std::string>{"one.txt", "three.txt", "two.txt"}));

  auto* table = In<QTableView>(library, "tblDocuments");
  auto* remove = In<QPushButton>(library, "btnRemove");
  EXPECT_FALSE(remove->isEnabled());
  const int row = [&] {
    for (int r = 0; r < 3; ++r) {
      if (library->DocumentsModel().index(r, 0).data().toString() == "two.txt") return r;
    }
    return -1;
  }();
  ASSERT_GE(row, 0);
  table->selectRow(row);
  ASSERT_TRUE(remove->isEnabled());
  remove->click();
  EXPECT_EQ(Titles(library), (std::vector<std::string>{"one.txt", "three.txt"}));
  // Removed from the file, not only from the table.
  EXPECT_EQ(Library::OpenFile(libraryFile_, false).Documents().size(), 2u);
}

TEST_F(LibraryWindowTest, CancellingAnAddKeepsWholeBatchesAndSaysSo) {
  constexpr int kFiles = 400;
  for (int i = 0; i < kFiles; ++i) {
    folder_.Write("many/doc" + std::to_string(i) + ".txt", Words(i, 0, 200));
  }
  TfrmLibrary* library = OpenWindow();
  ChoosePaths(library, {Q(folder_ / "many")});
  In<QPushButton>(library, "btnAddFolder")->click();
  QProgressDialog* progress = library->AddProgressDialog();
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_FALSE(In<QPushButton>(library, "btnAddFiles")->isEnabled());
  auto* cancel = progress->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  QTest::mouseClick(cancel, Qt::LeftButton);
  ASSERT_TRUE(WaitForAdd(library));

  const QString status = In<QLabel>(library, "lblStatus")->text();
  EXPECT_TRUE(status.contains(QStringLiteral("cancelled"))) << status.toStdString();
  const int added = library->DocumentsModel().rowCount();
  EXPECT_LT(added, kFiles);
  EXPECT_EQ(added % 32, 0) << "batches are written whole";
  EXPECT_EQ(Library::OpenFile(libraryFile_, false).Documents().size(),
            static_cast<std::size_t>(added));
  EXPECT_EQ(library->AddProgressDialog(), nullptr);
  EXPECT_TRUE(In<QPushButton>(library, "btnAddFiles")->isEnabled());
}

TEST_F(LibraryWindowTest, TheAddJobCancelledBeforeItsFirstBatchWritesNothing) {
  for (int i = 0; i < 5; ++i) folder_.Write("few/d" + std::to_string(i) + ".txt", Words(i, 0, 40));
  LibraryAddJob job;
  std::optional<AddReport> finished;
  QString error;
  QObject::connect(&job, &LibraryAddJob::Finished, [&](const AddReport& report, const QString& e) {
    finished = report;
    error = e;
  });
  std::filesystem::create_directories(libraryFile_.parent_path());
  job.Cancel();
  ASSERT_TRUE(job.Start(libraryFile_, {folder_ / "few"}));
  // Start clears an earlier cancel; this one comes while the first batch is being read.
  job.Cancel();
  ASSERT_TRUE(ProcessEventsUntil([&] { return finished.has_value(); }));
  EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_TRUE(finished->Cancelled);
  EXPECT_EQ(finished->Added, 0u);
  EXPECT_EQ(Library::OpenFile(libraryFile_, false).Documents().size(), 0u);
}

TEST_F(LibraryWindowTest, CheckThenDoubleClickComparesTheDocumentInTheOtherPaneAnywhere) {
  // Article 2 holds 30 words of alpha's and 10 of its own; beta shares nothing.
  const std::string alpha = Words(1, 0, 200);
  const auto a = folder_.Write("in/alpha.txt", alpha);
  const auto b = folder_.Write("in/beta.txt", Words(2, 0, 200));
  TfrmLibrary* library = OpenWindow();
  ChoosePaths(library, {Q(a), Q(b)});
  In<QPushButton>(library, "btnAddFiles")->click();
  ASSERT_TRUE(WaitForAdd(library));
  ASSERT_EQ(library->DocumentsModel().rowCount(), 2);

  Control<QComboBox>("cbxMatch")->setCurrentIndex(0);
  Type(window->Pane2(), QString::fromStdString(Words(9, 0, 10) + " " + Words(1, 50, 30)));
  In<QPushButton>(library, "btnCheck2")->click();
  const LibraryCheckModel& results = library->ResultsModel();
  ASSERT_EQ(results.rowCount(), 1);
  EXPECT_EQ(results.index(0, 0).data().toString(), "alpha.txt");
  EXPECT_EQ(results.index(0, 1).data().toString(), "75.0%");  // 30 of the article's 40 words
  EXPECT_EQ(results.index(0, 2).data().toString(), "15.0%");  // 30 of alpha's 200 words
  EXPECT_EQ(results.index(0, 3).data().toInt(), 30);
  EXPECT_EQ(results.index(0, 4).data().toInt(), 1);

  auto* table = In<QTableView>(library, "tblResults");
  const QRect cell = table->visualRect(results.index(0, 0));
  ASSERT_TRUE(cell.isValid());
  // An item view takes a double click as the second press after a click.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());

  EXPECT_EQ(window->Pane1().Text(), U(QString::fromStdString(alpha)));
  EXPECT_EQ(Control<QComboBox>("cbxMatch")->currentIndex(), 1);
  EXPECT_DOUBLE_EQ(Control<NumericField>("edtDuplicate")->Value(), 75.0);
  EXPECT_DOUBLE_EQ(Control<NumericField>("edtDuplicate1")->Value(), 15.0);
  EXPECT_FALSE(window->Blocks().Empty());
}

TEST_F(LibraryWindowTest, CheckingArticleOneSendsTheDocumentToPaneTwo) {
  const std::string beta = Words(2, 0, 100);
  const auto b = folder_.Write("in/beta.txt", beta);
  TfrmLibrary* library = OpenWindow();
  ChoosePaths(library, {Q(b)});
  In<QPushButton>(library, "btnAddFiles")->click();
  ASSERT_TRUE(WaitForAdd(library));
  // Passages in another order than beta's: Anywhere finds both.
  Type(window->Pane1(), QString::fromStdString(Words(2, 60, 20) + " " + Words(2, 10, 20)));
  In<QPushButton>(library, "btnCheck1")->click();
  ASSERT_EQ(library->ResultsModel().rowCount(), 1);
  EXPECT_EQ(library->ResultsModel().index(0, 4).data().toInt(), 2);
  library->tblResultsDoubleClick(library->ResultsModel().index(0, 0));
  EXPECT_EQ(window->Pane2().Text(), U(QString::fromStdString(beta)));
  EXPECT_EQ(Control<QComboBox>("cbxMatch")->currentIndex(), 1);
  EXPECT_DOUBLE_EQ(Control<NumericField>("edtDuplicate")->Value(), 40.0);
}

struct BadLibraryCase {
  const char* name;
  std::function<void(const std::filesystem::path&)> make;
  const char* cause;  // part of the message
};

class BadLibraryTest : public LibraryWindowTest,
                       public ::testing::WithParamInterface<BadLibraryCase> {};

TEST_P(BadLibraryTest, IsReportedByFileAndCauseAndLeavesNoLibraryOpen) {
  GetParam().make(libraryFile_);
  ModalCatcher catcher;
  TfrmLibrary* library = OpenWindow();
  ASSERT_NE(library, nullptr);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !catcher.Texts().isEmpty(); }));
  const QString message = catcher.Texts().front();
  EXPECT_TRUE(message.contains(Q(libraryFile_))) << message.toStdString();
  EXPECT_TRUE(message.contains(QString::fromLatin1(GetParam().cause))) << message.toStdString();
  EXPECT_FALSE(library->HasLibrary());
  EXPECT_FALSE(In<QPushButton>(library, "btnAddFiles")->isEnabled());
  EXPECT_FALSE(In<QPushButton>(library, "btnCheck1")->isEnabled());

  // Open Library… then opens another file.
  const auto other = folder_ / "other.sqlite";
  ChoosePaths(library, {Q(other)});
  In<QPushButton>(library, "btnOpenLibrary")->click();
  EXPECT_TRUE(library->HasLibrary());
  EXPECT_EQ(library->LibraryFile(), other);
  EXPECT_TRUE(In<QPushButton>(library, "btnAddFiles")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    LibraryWindow, BadLibraryTest,
    ::testing::Values(BadLibraryCase{"TextFile",
                                     [](const std::filesystem::path& file) {
                                       std::filesystem::create_directories(file.parent_path());
                                       std::ofstream(file) << "just some words, not a database\n";
                                     },
                                     "not a database"},
                      BadLibraryCase{"NewerVersion",
                                     [](const std::filesystem::path& file) {
                                       std::filesystem::create_directories(file.parent_path());
                                       Library::OpenFile(file, true);
                                       SqliteDatabase db(file, OpenMode::ReadWriteCreate);
                                       db.Execute("PRAGMA user_version = " +
                                                  std::to_string(kLibrarySchemaVersion + 1));
                                     },
                                     "newer version"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellora::test
