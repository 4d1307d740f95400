// The skin file: a zlib-compressed Qt style sheet that replaces the built-in look.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vellora {

inline constexpr char kSkinFileName[] = "mainskin.dat";
// Limits that keep a hostile skin file (a "zip bomb") from exhausting memory.
inline constexpr std::size_t kMaxSkinTextSize = 16u << 20;
inline constexpr std::size_t kMaxSkinFileSize = 16u << 20;

// The style sheet text in compressed bytes (zlib or gzip framing), or nothing when they do not
// inflate completely, inflate beyond maxText, or are not UTF-8 text.
std::optional<std::string> InflateSkin(std::string_view compressed,
                                       std::size_t maxText = kMaxSkinTextSize);
// The same for a file; nothing when it cannot be read or exceeds kMaxSkinFileSize.
std::optional<std::string> LoadSkinFile(const std::filesystem::path& path);

// Compresses a style sheet the way skin files are stored (used by the brand tool and tests).
std::string DeflateSkin(std::string_view styleSheet);

}  // namespace vellora
