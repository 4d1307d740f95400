#include "FLibrary.h"

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QProgressDialog>
#include <algorithm>

#include "ArticlePane.h"
#include "ErrorReport.h"
#include "FMain.h"
#include "LibraryError.h"
#include "ui_FLibrary.h"

namespace {

std::filesystem::path LocalPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString PathText(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// Rows of a progress dialog are ints; a huge add is scaled into them.
int ProgressValue(qulonglong value) {
  return static_cast<int>(std::min<qulonglong>(value, 0x7fffffff));
}

QString AddSummary(const vellora::AddReport& report) {
  QString text = QStringLiteral("%1 added, %2 replaced, %3 unchanged")
                     .arg(report.Added)
                     .arg(report.Replaced)
                     .arg(report.Unchanged);
  if (!report.Failures.empty()) text += QStringLiteral(", %1 failed").arg(report.Failures.size());
  if (report.Cancelled) text += QStringLiteral("; cancelled, the rest was not added");
  return text + QLatin1Char('.');
}

}  // namespace

TfrmLibrary::TfrmLibrary(TfrmMain& main, const std::filesystem::path& file, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::TfrmLibrary>()), main_(main) {
  ui->setupUi(this);
  ui->tblDocuments->setModel(&documents_);
  ui->tblResults->setModel(&results_);
  ui->tblDocuments->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ui->tblDocuments->horizontalHeader()->resizeSection(0, 220);
  ui->tblResults->horizontalHeader()->resizeSection(0, 220);
  for (int column : {1, 2}) {
    ui->tblDocuments->horizontalHeader()->setSectionResizeMode(column,
                                                               QHeaderView::ResizeToContents);
  }
  for (int column : {1, 2, 3}) {
    ui->tblResults->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  connect(ui->btnOpenLibrary, &QPushButton::clicked, this, &TfrmLibrary::btnOpenLibraryClick);
  connect(ui->btnAddFiles, &QPushButton::clicked, this, &TfrmLibrary::btnAddFilesClick);
  connect(ui->btnAddFolder, &QPushButton::clicked, this, &TfrmLibrary::btnAddFolderClick);
  connect(ui->btnRemove, &QPushButton::clicked, this, &TfrmLibrary::btnRemoveClick);
  connect(ui->btnCheck1, &QPushButton::clicked, this, &TfrmLibrary::btnCheck1Click);
  connect(ui->btnCheck2, &QPushButton::clicked, this, &TfrmLibrary::btnCheck2Click);
  connect(ui->tblResults, &QTableView::doubleClicked, this, &TfrmLibrary::tblResultsDoubleClick);
  connect(&job_, &vellora::LibraryAddJob::Progress, this,
          [this](qulonglong done, qulonglong total) {
            if (!progress_) return;
            progress_->setMaximum(ProgressValue(total));
            progress_->setValue(ProgressValue(done));
          });
  connect(&job_, &vellora::LibraryAddJob::Finished, this, &TfrmLibrary::AddFinished);
  connect(ui->tblDocuments->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TfrmLibrary::UpdateCommands);
  OpenLibrary(file);
}

TfrmLibrary::~TfrmLibrary() = default;

bool TfrmLibrary::OpenLibrary(const std::filesystem::path& file) {
  library_.reset();
  documents_.SetDocuments({});
  results_.SetHits(0, {});
  file_ = file;
  bool opened = false;
  try {
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    library_.emplace(vellora::Library::OpenFile(file, true));
    opened = true;
    ReloadDocuments();
    ui->lblLibraryFile->setText(PathText(file));
    ui->lblStatus->clear();
  } catch (const std::exception& e) {
    library_.reset();
    ui->lblLibraryFile->setText(QStringLiteral("No library open"));
    ui->lblStatus->setText(QString::fromStdString(e.what()));
    UpdateCommands();
    vellora::ShowErrorReport(this, QString::fromStdString(e.what()));
  }
  UpdateCommands();
  return opened;
}

void TfrmLibrary::ReloadDocuments() {
  if (!library_) return;
  try {
    documents_.SetDocuments(library_->Documents());
  } catch (const std::exception& e) {
    vellora::ShowErrorReport(this, QString::fromStdString(e.what()));
  }
}

void TfrmLibrary::UpdateCommands() {
  const bool ready = library_.has_value() && !job_.Running();
  ui->btnOpenLibrary->setEnabled(!job_.Running());
  ui->btnAddFiles->setEnabled(ready);
  ui->btnAddFolder->setEnabled(ready);
  ui->btnRemove->setEnabled(ready && ui->tblDocuments->selectionModel()->hasSelection());
  ui->btnCheck1->setEnabled(ready);
  ui->btnCheck2->setEnabled(ready);
}

QStringList TfrmLibrary::Choose(QFileDialog& dialog) {
  if (chooser_) return chooser_(dialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

void TfrmLibrary::btnOpenLibraryClick() {
  QFileDialog dialog(this, QStringLiteral("Open Library"));
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters({QStringLiteral("Libraries (*.sqlite)"), QStringLiteral("All files (*)")});
  dialog.setDirectory(QFileInfo(PathText(file_)).absolutePath());
  const QStringList chosen = Choose(dialog);
  if (chosen.isEmpty()) return;
  OpenLibrary(LocalPath(chosen.front()));
}

void TfrmLibrary::btnAddFilesClick() {
  QFileDialog dialog(this, QStringLiteral("Add Files"));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters({QStringLiteral("Articles (*.txt *.rtf *.docx *.odt *.doc)"),
                         QStringLiteral("All files (*)")});
  AddPaths(Choose(dialog));
}

void TfrmLibrary::btnAddFolderClick() {
  QFileDialog dialog(this, QStringLiteral("Add Folder"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  AddPaths(Choose(dialog));
}

void TfrmLibrary::AddPaths(const QStringList& paths) {
  if (paths.isEmpty() || !library_ || job_.Running()) return;
  std::vector<std::filesystem::path> files;
  for (const QString& path : paths) files.push_back(LocalPath(path));
  // Small batches keep the progress moving and let a cancel stop soon.
  vellora::AddOptions options;
  options.BatchSize = 32;
  if (!job_.Start(file_, std::move(files), options)) return;
  progress_ = new QProgressDialog(QStringLiteral("Adding documents to the library…"),
                                  QStringLiteral("Cancel"), 0, 0, this);
  progress_->setObjectName(QStringLiteral("dlgAddProgress"));
  progress_->setWindowTitle(QStringLiteral("Library"));
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setAutoReset(false);
  progress_->setAutoClose(false);
  progress_->setMinimumDuration(0);
  connect(progress_, &QProgressDialog::canceled, this, [this] {
    job_.Cancel();
    if (progress_) progress_->setLabelText(QStringLiteral("Cancelling…"));
  });
  progress_->show();
  UpdateCommands();
}

void TfrmLibrary::AddFinished(const vellora::AddReport& report, const QString& error) {
  if (progress_) {
    progress_->disconnect(this);
    progress_->close();
    progress_->deleteLater();
    progress_ = nullptr;
  }
  ReloadDocuments();
  UpdateCommands();
  ui->lblStatus->setText(AddSummary(report));
  QStringList problems;
  if (!error.isEmpty()) problems << error;
  for (const vellora::AddFailure& failure : report.Failures) {
    problems << QString::fromStdString(failure.Cause);
  }
  if (!problems.isEmpty()) {
    vellora::ShowErrorReport(
        this, AddSummary(report) + QStringLiteral("\n\n") + problems.join(QLatin1Char('\n')));
  }
}

void TfrmLibrary::btnRemoveClick() {
  if (!library_) return;
  std::vector<std::string> ids;
  for (const QModelIndex& row : ui->tblDocuments->selectionModel()->selectedRows()) {
    ids.push_back(std::to_string(documents_.Documents()[static_cast<std::size_t>(row.row())].Id));
  }
  if (ids.empty()) return;
  try {
    const vellora::RemoveReport report = library_->Remove(ids);
    ui->lblStatus->setText(QStringLiteral("%1 removed.").arg(report.Removed.size()));
  } catch (const std::exception& e) {
    vellora::ShowErrorReport(this, QString::fromStdString(e.what()));
  }
  results_.SetHits(0, {});
  ReloadDocuments();
  UpdateCommands();
}

void TfrmLibrary::btnCheck1Click() {
  Check(1);
}
void TfrmLibrary::btnCheck2Click() {
  Check(2);
}

void TfrmLibrary::Check(int pane) {
  if (!library_) return;
  const std::u16string article = (pane == 1 ? main_.Pane1() : main_.Pane2()).Text();
  // Below the library's guarantee a passage may be missed, so the minimum is never lower.
  const std::int32_t minimum = std::max(main_.MinimumWords(), vellora::kDefaultMinimumWords);
  try {
    vellora::CheckReport report = library_->Check(article, minimum);
    ui->lblStatus->setText(
        QStringLiteral("Article %1 (%2 words): %3 of %4 documents share passages of %5 words or "
                       "more. Double-click one to compare it with Article %1.")
            .arg(pane)
            .arg(report.ArticleWords)
            .arg(report.Hits.size())
            .arg(documents_.rowCount())
            .arg(minimum));
    results_.SetHits(pane, std::move(report.Hits));
  } catch (const std::exception& e) {
    results_.SetHits(pane, {});
    vellora::ShowErrorReport(this, QString::fromStdString(e.what()));
  }
}

void TfrmLibrary::tblResultsDoubleClick(const QModelIndex& index) {
  if (!library_ || !index.isValid() || index.row() >= results_.rowCount()) return;
  const vellora::StoredDocument& document =
      results_.Hits()[static_cast<std::size_t>(index.row())].Document;
  try {
    const std::u16string text = library_->Text(document.Id);
    main_.CompareWithDocument(results_.CheckedPane() == 1 ? 2 : 1,
                              QString::fromStdString(document.Title), text);
  } catch (const std::exception& e) {
    vellora::ShowErrorReport(this, QString::fromStdString(e.what()));
  }
}
