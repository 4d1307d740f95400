#include "AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace vellora {
namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& p) {
  return "\"" + p.string() + "\"";
}

// Makes the bytes durable before the rename publishes them; otherwise a crash right after the
// rename could leave an empty file under the real name.
bool SyncFile(const fs::path& p) {
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

void SyncFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // best effort: some file systems refuse fsync on folders
  ::close(fd);
}

}  // namespace

fs::path TemporaryPathFor(const fs::path& target) {
  fs::path name = target.filename();
  return target.parent_path() / ("." + name.string() + "." + std::to_string(::getpid()) + ".tmp");
}

ReplaceResult ReplaceFileAtomically(const fs::path& target,
                                    const std::function<bool(std::ostream&)>& writer) {
  const fs::path temp = TemporaryPathFor(target);
  std::error_code ec;
  auto discard = [&] { fs::remove(temp, ec); };

  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  if (!out) {
    return {ReplaceOutcome::CreateFailed,
            "Cannot create " + Quoted(temp) + ": " + std::strerror(errno)};
  }
  if (!writer(out)) {
    out.close();
    discard();
    return {ReplaceOutcome::WriterFailed, "Nothing written to " + Quoted(target)};
  }
  out.flush();
  const bool streamOk = static_cast<bool>(out);
  const int savedErrno = errno;
  out.close();
  if (!streamOk || out.fail()) {
    discard();
    return {ReplaceOutcome::WriteFailed,
            "Cannot write " + Quoted(target) + ": " + std::strerror(savedErrno ? savedErrno : EIO)};
  }
  if (!SyncFile(temp)) {
    const int err = errno;
    discard();
    return {ReplaceOutcome::WriteFailed,
            "Cannot write " + Quoted(target) + ": " + std::strerror(err)};
  }
  fs::rename(temp, target, ec);
  if (ec) {
    discard();
    return {ReplaceOutcome::RenameFailed, "Cannot replace " + Quoted(target) + ": " + ec.message()};
  }
  SyncFolder(target.parent_path());
  return {};
}

}  // namespace vellora
