// Reading a whole file into memory, refusing anything that is not a regular file or is too large.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "ReadOutcome.h"

namespace vellora {

// The file's bytes, or why they could not be read (missing, a folder, unreadable, over the limit).
ReadOutcome<std::string> ReadFileBytes(const std::filesystem::path& path, std::uint64_t limit);

// "256 MiB", "12 KiB": a byte count as a user reads it.
std::string DescribeByteCount(std::uint64_t bytes);

}  // namespace vellora
