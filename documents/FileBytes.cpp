#include "FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace vellora {
namespace {

struct OpenFile {
  int fd;
  ~OpenFile() { ::close(fd); }
};

ssize_t ReadSome(int fd, char* into, std::size_t count) {
  for (;;) {
    const ssize_t got = ::read(fd, into, count);
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace

std::string DescribeByteCount(std::uint64_t bytes) {
  constexpr std::uint64_t kKiB = 1024;
  constexpr std::uint64_t kMiB = kKiB * 1024;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
  return std::to_string(bytes) + " bytes";
}

ReadOutcome<ByteBuffer> ReadFileBytes(const std::filesystem::path& path, std::uint64_t limit) {
  using Outcome = ReadOutcome<ByteBuffer>;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    const int err = errno;
    if (err != ENOENT)
      return Outcome::Failure("the file cannot be examined (" +
                              std::generic_category().message(err) + ")");
    return Outcome::Failure("the file does not exist");
  }
  if (S_ISDIR(info.st_mode)) return Outcome::Failure("it is a folder, not a file");
  // Devices and pipes could block or never end, so only ordinary files are read.
  if (!S_ISREG(info.st_mode)) return Outcome::Failure("it is not an ordinary file");
  const std::string tooLarge =
      "the file is larger than the " + DescribeByteCount(limit) + " that can be imported";
  if (static_cast<std::uint64_t>(info.st_size) > limit) return Outcome::Failure(tooLarge);

  // Not blocking: should the name now stand for a pipe, opening it must not wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    const int err = errno;
    return Outcome::Failure("the file cannot be opened (" +
                            std::string(err != 0 ? std::strerror(err) : "access denied") + ")");
  }
  const OpenFile file{fd};
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
    return Outcome::Failure("it is not an ordinary file");
  if (static_cast<std::uint64_t>(opened.st_size) > limit) return Outcome::Failure(tooLarge);
  // The whole file in one read into a buffer of its size.
  ByteBuffer bytes;
  std::size_t capacity = static_cast<std::size_t>(opened.st_size);
  bytes.Data = std::make_unique_for_overwrite<char[]>(capacity);
  while (bytes.Size < capacity) {
    const ssize_t got = ReadSome(fd, bytes.Data.get() + bytes.Size, capacity - bytes.Size);
    if (got < 0) return Outcome::Failure("reading the file failed");
    if (got == 0) break;
    bytes.Size += static_cast<std::size_t>(got);
  }
  // The file may have grown meanwhile: it is read to its end, the limit enforced on what arrives.
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t got = ReadSome(fd, chunk, sizeof chunk);
    if (got < 0) return Outcome::Failure("reading the file failed");
    if (got == 0) break;
    const auto more = static_cast<std::size_t>(got);
    if (more > limit - bytes.Size) return Outcome::Failure(tooLarge);
    if (more > capacity - bytes.Size) {
      capacity = static_cast<std::size_t>(
          std::min<std::uint64_t>(limit, std::max(bytes.Size + more, 2 * capacity)));
      auto larger = std::make_unique_for_overwrite<char[]>(capacity);
      std::memcpy(larger.get(), bytes.Data.get(), bytes.Size);
      bytes.Data = std::move(larger);
    }
    std::memcpy(bytes.Data.get() + bytes.Size, chunk, more);
    bytes.Size += more;
  }
  return Outcome::Success(std::move(bytes));
}

}  // namespace vellora
