// Reads an article for vellora-compare through the same document readers as Import; an http or
// https address is downloaded and read as a web page, as Import from address does.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vellora {

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error);

}  // namespace vellora
