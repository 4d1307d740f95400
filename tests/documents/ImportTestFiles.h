// Helpers of the import tests: a temporary folder per test, files written into it, zips built
// with libzip, and the committed sample documents.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"

namespace vellora::test {

struct ZipEntry {
  std::string Name;
  std::string Bytes;
};

// The bytes of a zip archive holding the entries, deflated.
std::string BuildZip(const std::vector<ZipEntry>& entries);

// A committed file under tests/data/import.
std::filesystem::path SamplePath(const std::string& name);
std::string ReadBytes(const std::filesystem::path& path);

// A minimal word/document.xml around the given body content.
std::string DocxXml(const std::string& body);
// A minimal content.xml around the given office:text content.
std::string OdtXml(const std::string& text);

}  // namespace vellora::test
