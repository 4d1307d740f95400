// The Word route's reader: the plain text of a document a word processor opens, whatever its
// format (docx, odt, RTF, old binary .doc, plain text), recognised by content, not by name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "BinaryDocReader.h"
#include "PlainImport.h"
#include "ReadOutcome.h"

namespace vellora {

// bytes are the whole file at path; the path is needed by the converters of binary .doc files.
ReadOutcome<std::u16string> ReadWordDocument(
    const std::filesystem::path& path, std::string_view bytes,
    const BinaryDocReaderOptions& binaryDocOptions = DefaultBinaryDocReaderOptions());

}  // namespace vellora
