#include "FileBytes.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace vellora {

std::string DescribeByteCount(std::uint64_t bytes) {
  constexpr std::uint64_t kKiB = 1024;
  constexpr std::uint64_t kMiB = kKiB * 1024;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  if (bytes >= kKiB && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
  return std::to_string(bytes) + " bytes";
}

ReadOutcome<std::string> ReadFileBytes(const std::filesystem::path& path, std::uint64_t limit) {
  using Outcome = ReadOutcome<std::string>;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    if (ec && ec != std::errc::no_such_file_or_directory)
      return Outcome::Failure("the file cannot be examined (" + ec.message() + ")");
    return Outcome::Failure("the file does not exist");
  }
  if (fs::is_directory(status)) return Outcome::Failure("it is a folder, not a file");
  // Devices and pipes could block or never end, so only ordinary files are read.
  if (!fs::is_regular_file(status)) return Outcome::Failure("it is not an ordinary file");
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return Outcome::Failure("the file size cannot be read (" + ec.message() + ")");
  const std::string tooLarge =
      "the file is larger than the " + DescribeByteCount(limit) + " that can be imported";
  if (size > limit) return Outcome::Failure(tooLarge);

  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int err = errno;
    return Outcome::Failure("the file cannot be opened (" +
                            std::string(err != 0 ? std::strerror(err) : "access denied") + ")");
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  // The file may grow while it is read, so the limit is enforced on what arrives too.
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    if (static_cast<std::uint64_t>(got) > limit - bytes.size()) return Outcome::Failure(tooLarge);
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  if (in.bad()) return Outcome::Failure("reading the file failed");
  return Outcome::Success(std::move(bytes));
}

}  // namespace vellora
