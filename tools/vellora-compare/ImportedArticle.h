// Reads an article for vellora-compare through the same document readers as Import; an http or
// https address is downloaded and read as a web page, as Import from address does. Plain text is
// read in the program itself; every other kind of file goes to the readers in
// vellora-compare-readers.so.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vellora {

std::optional<std::u16string> ReadImportedArticle(const std::filesystem::path& path,
                                                  std::string& error);

}  // namespace vellora
