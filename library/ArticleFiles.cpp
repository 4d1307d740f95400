#include "ArticleFiles.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "Library.h"

namespace vellora {

bool IsArticleFile(const std::filesystem::path& file) {
  static constexpr std::array<std::string_view, 8> kExtensions = {
      ".txt", ".rtf", ".docx", ".odt", ".doc", ".html", ".htm", ".xhtml"};
  std::string ext = file.extension().string();
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

namespace {

// Walks one folder and those below it; a folder that cannot be read is reported and skipped.
void WalkFolder(const std::filesystem::path& folder, FileListing& listing, int depth) {
  namespace fs = std::filesystem;
  constexpr int kMaxDepth = 256;  // against symbolic link loops
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec || depth > kMaxDepth) {
    listing.Failures.emplace_back(folder.string(), "cannot read folder \"" + folder.string() +
                                                       "\": " + (ec ? ec.message() : "too deep"));
    return;
  }
  std::vector<fs::path> folders;
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    const fs::path entry = it->path();
    if (entry.filename().string().starts_with(".")) continue;
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      folders.push_back(entry);
    } else if (it->is_regular_file(typeError) && IsArticleFile(entry)) {
      listing.Files.push_back(SourceKey(entry));
    }
  }
  if (ec) {
    listing.Failures.emplace_back(
        folder.string(), "cannot read folder \"" + folder.string() + "\": " + ec.message());
  }
  for (const fs::path& sub : folders) WalkFolder(sub, listing, depth + 1);
}

}  // namespace

FileListing ListArticleFiles(const std::vector<std::filesystem::path>& paths) {
  namespace fs = std::filesystem;
  FileListing listing;
  for (const fs::path& path : paths) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
      listing.Failures.emplace_back(
          path.string(), "cannot read \"" + path.string() + "\": no such file or folder");
    } else if (fs::is_directory(status)) {
      WalkFolder(path, listing, 0);
    } else {
      listing.Files.push_back(SourceKey(path));
    }
  }
  std::sort(listing.Files.begin(), listing.Files.end());
  listing.Files.erase(std::unique(listing.Files.begin(), listing.Files.end()), listing.Files.end());
  return listing;
}

}  // namespace vellora
