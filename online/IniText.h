// A small reader for INI texts such as the update description file: "[section]" lines and
// "key=value" lines, names compared without regard to the case of A-Z.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vellora {

// A description file is a few lines; larger files are not read.
inline constexpr std::uint64_t kMaxIniFileSize = 1u << 20;

// The value of key in section, blanks around it removed; empty when the section or key is absent
// or the text is no INI text. The first matching key counts.
std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key);

// The same for a file; a missing, unreadable or oversized file reads as empty.
std::string ReadIniFileValue(const std::filesystem::path& file, std::string_view section,
                             std::string_view key, std::uint64_t maxSize = kMaxIniFileSize);

}  // namespace vellora
