// Old binary Word documents (.doc, an OLE compound file) read through an installed converter
// program, antiword or catdoc, since there is no reader of that format of our own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "PlainImport.h"
#include "ReadOutcome.h"

namespace vellora {

// A program that writes a document's text as UTF-8 to its standard output; the document's path
// is given after the arguments.
struct DocConverter {
  std::string Program;  // a name looked up on PATH, or a path
  std::vector<std::string> Arguments;
  // The converter marks paragraph spacing with empty lines, which are dropped from its output.
  bool DropsBlankLines = false;
};

struct BinaryDocReaderOptions {
  std::vector<DocConverter> Converters;  // tried in order; missing programs are passed over
  int TimeoutMs = 60000;
};

// antiword, then catdoc.
BinaryDocReaderOptions DefaultBinaryDocReaderOptions();

// The document's text, lines separated by "\n". Fails, saying how the document can still be
// read, when no converter is installed or none manages it.
ReadOutcome<std::u16string> ReadBinaryDoc(
    const std::filesystem::path& path,
    const BinaryDocReaderOptions& options = DefaultBinaryDocReaderOptions());

}  // namespace vellora
