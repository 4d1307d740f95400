// Adds files and folders to a library file in a worker thread of its own, reporting progress and
// the outcome back to the thread that started it through queued signals; it can be cancelled.
#pragma once

#include <QObject>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "Library.h"

namespace vellora {

class LibraryAddJob : public QObject {
  Q_OBJECT

 public:
  explicit LibraryAddJob(QObject* parent = nullptr);
  // Cancels an add still running and waits for its thread.
  ~LibraryAddJob() override;

  // The worker opens the library file with a connection of its own. Returns false while an
  // earlier add is still running.
  bool Start(std::filesystem::path libraryFile, std::vector<std::filesystem::path> paths,
             AddOptions options = {});
  // The add stops before writing its next batch; the batches written stay.
  void Cancel() { cancel_ = true; }
  bool Running() const { return running_; }

 signals:
  void Progress(qulonglong done, qulonglong total);
  // Error is empty when the add ran to its end or was cancelled; otherwise it names the file
  // and the cause, and the report holds what was done before it.
  void Finished(const vellora::AddReport& report, const QString& error);

 private:
  std::thread thread_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;
};

}  // namespace vellora

Q_DECLARE_METATYPE(vellora::AddReport)
