// Reads an article file for vellora-compare through the same document readers as Import.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vellora {

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error);

}  // namespace vellora
