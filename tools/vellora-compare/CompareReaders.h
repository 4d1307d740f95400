// The readers of every file that is not plain text (Word and OpenDocument documents, RTF, web
// pages), with the zip and HTML libraries they need, behind one table of functions, so that a
// comparison of plain text files loads none of them: the program loads them from the module
// vellora-compare-readers.so beside it only when a file needs them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "PlainImport.h"

namespace vellora {

struct CompareReaders {
  // Reads the bytes of a file that Import's first step (ImportPlainText) sent on to a document
  // reader, as Import does; nothing, with error set (naming the file), on failure.
  std::optional<std::u16string> (*ReadDocument)(const std::filesystem::path& path,
                                                ImportRoute route, std::string_view bytes,
                                                std::string& error);
};

// The readers, or null with error set when they cannot be loaded (a message for the user). Linked
// into the program either as the loader of the module or directly (for the tests).
const CompareReaders* LoadCompareReaders(std::string& error);

// The name of the module's entry point, which returns the table.
inline constexpr const char* kCompareReadersEntry = "vellora_compare_readers_v1";

}  // namespace vellora
