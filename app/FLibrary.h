// The library window: the documents of a library file, adding files and folders to it in a
// worker thread, removing them, and checking either article of the main window against them.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "Library.h"
#include "LibraryAddJob.h"
#include "LibraryModels.h"

class QFileDialog;
class TfrmMain;

namespace Ui {
class TfrmLibrary;
}

class TfrmLibrary : public QWidget {
  Q_OBJECT

 public:
  // Opens (or makes) the library file; a file that cannot be opened is reported by name and cause
  // and leaves the window without a library until another one is opened.
  TfrmLibrary(TfrmMain& main, const std::filesystem::path& file, QWidget* parent = nullptr);
  ~TfrmLibrary() override;

  // Closes the library shown and opens this one; false (after the message) when it cannot.
  bool OpenLibrary(const std::filesystem::path& file);
  bool HasLibrary() const { return library_.has_value(); }
  const std::filesystem::path& LibraryFile() const { return file_; }

  // Add Files…, Add Folder… and Open Library… ask this for their paths; an empty result means
  // cancelled. By default the dialog runs modally.
  using FileChooser = std::function<QStringList(QFileDialog& dialog)>;
  void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

  // Starts adding in the worker; the progress dialog shows until it finishes.
  void AddPaths(const QStringList& paths);

  vellora::LibraryDocumentModel& DocumentsModel() { return documents_; }
  vellora::LibraryCheckModel& ResultsModel() { return results_; }
  vellora::LibraryAddJob& AddJob() { return job_; }
  QProgressDialog* AddProgressDialog() { return progress_; }

 public slots:
  void btnOpenLibraryClick();
  void btnAddFilesClick();
  void btnAddFolderClick();
  void btnRemoveClick();
  void btnCheck1Click();
  void btnCheck2Click();
  void tblResultsDoubleClick(const QModelIndex& index);

 private:
  QStringList Choose(QFileDialog& dialog);
  void Check(int pane);
  void ReloadDocuments();
  void AddFinished(const vellora::AddReport& report, const QString& error);
  void UpdateCommands();

  std::unique_ptr<Ui::TfrmLibrary> ui;
  TfrmMain& main_;
  std::filesystem::path file_;
  std::optional<vellora::Library> library_;
  vellora::LibraryDocumentModel documents_;
  vellora::LibraryCheckModel results_;
  vellora::LibraryAddJob job_;
  QPointer<QProgressDialog> progress_;
  FileChooser chooser_;
};
