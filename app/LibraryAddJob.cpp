#include "LibraryAddJob.h"

#include <QMetaObject>
#include <QPointer>

#include "LibraryError.h"

namespace vellora {

LibraryAddJob::LibraryAddJob(QObject* parent) : QObject(parent) {
  qRegisterMetaType<vellora::AddReport>();
}

LibraryAddJob::~LibraryAddJob() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

bool LibraryAddJob::Start(std::filesystem::path libraryFile,
                          std::vector<std::filesystem::path> paths, AddOptions options) {
  if (running_) return false;
  if (thread_.joinable()) thread_.join();
  running_ = true;
  cancel_ = false;
  thread_ = std::thread([this, libraryFile = std::move(libraryFile), paths = std::move(paths),
                         options] {
    AddReport report;
    QString error;
    try {
      Library library = Library::OpenFile(libraryFile, true);
      report = library.Add(
          paths, options,
          [this](std::size_t done, std::size_t total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { emit Progress(done, total); }, Qt::QueuedConnection);
          },
          &cancel_);
    } catch (const LibraryError& e) {
      error = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
      error = QString::fromStdString(libraryFile.string() + ": " + e.what());
    }
    // Queued to this object: the destructor joins the thread first, so `this` outlives it, and
    // the call is dropped when the object is gone.
    QMetaObject::invokeMethod(
        this,
        [this, report = std::move(report), error] {
          running_ = false;
          emit Finished(report, error);
        },
        Qt::QueuedConnection);
  });
  return true;
}

}  // namespace vellora
