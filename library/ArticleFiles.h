// Which files a folder contributes to a library, and the list of files behind the paths given.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vellora {

// Extensions the import readers understand (lower case, with the dot).
bool IsArticleFile(const std::filesystem::path& file);

struct FileListing {
  std::vector<std::filesystem::path> Files;                   // sorted, each once
  std::vector<std::pair<std::string, std::string>> Failures;  // path, message naming it
};

// Files are taken as they are; folders are searched recursively for article files, skipping
// hidden names.
FileListing ListArticleFiles(const std::vector<std::filesystem::path>& paths);

}  // namespace vellora
