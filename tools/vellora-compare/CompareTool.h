// vellora-compare: compares two article files without a window and prints the counts, the
// duplicate share and, on request, keyword density, as text or JSON.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vellora {

// Reads one article file into the text a pane would hold (before normalisation); on failure
// returns nothing and sets error to a message for the user that names the file.
using ArticleReader =
    std::function<std::optional<std::u16string>(const std::filesystem::path&, std::string& error)>;

// Plain text: UTF-8 when valid, otherwise Windows-1252; files over the size limit are refused.
std::optional<std::u16string> ReadPlainArticle(const std::filesystem::path& path,
                                               std::string& error);

inline constexpr std::uintmax_t kMaxArticleFileBytes = 256u * 1024 * 1024;

// args excludes the program name. Exit codes: 0 done, 1 a file could not be read, 2 usage.
int RunCompareTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const ArticleReader& reader = ReadPlainArticle);

}  // namespace vellora
