// Reading a whole file into memory, refusing anything that is not a regular file or is too large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "ReadOutcome.h"

namespace vellora {

// Bytes in a buffer of their own, which reading fills without writing zeros into it first.
struct ByteBuffer {
  std::unique_ptr<char[]> Data;
  std::size_t Size = 0;

  std::string_view View() const { return {Data.get(), Size}; }
};

// The file's bytes, or why they could not be read (missing, a folder, unreadable, over the limit).
ReadOutcome<ByteBuffer> ReadFileBytes(const std::filesystem::path& path, std::uint64_t limit);

// "256 MiB", "12 KiB": a byte count as a user reads it.
std::string DescribeByteCount(std::uint64_t bytes);

}  // namespace vellora
