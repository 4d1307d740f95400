// Reading an article from a file for import: the Word route (documents whose path contains
// ".doc") and the plain route (RTF with its formatting, web pages as their readable text, anything
// else as text); saved web pages (.html, .htm, .xhtml) are read as pages on both routes.
#pragma once

#include <filesystem>
#include <string_view>

#include "PlainImport.h"

namespace vellora {

// Reads the file along the given route. Never throws; every failure is a clear Error.
ImportResult ImportDocument(const std::filesystem::path& path, ImportRoute route);

// The route chosen by RouteForPath.
ImportResult ImportDocument(const std::filesystem::path& path);

// The second step of ImportDocument, for bytes the first (ImportPlainText) has read: whatever the
// file is, the reader ChooseImportReader names reads it. Never throws.
ImportResult ImportDocumentBytes(const std::filesystem::path& path, ImportRoute route,
                                 std::string_view bytes);

}  // namespace vellora
