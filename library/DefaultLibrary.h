// Where the library lives when no other file is chosen: library.sqlite in the user's data folder.
#pragma once

#include <filesystem>

namespace vellora {

std::filesystem::path DefaultLibraryFile();

}  // namespace vellora
