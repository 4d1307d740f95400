// Shared helpers of the brand tests: temporary folders, whole-file reads and writes, hex bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "TempFolder.h"

namespace vellora::test {

std::filesystem::path TestDataDir();  // tests/data/brand
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::vector<std::uint8_t> FromHex(std::string_view hex);
std::string ToHex(std::string_view bytes);
std::string Bytes(const std::vector<std::uint8_t>& bytes);
// Names of the entries in a folder, sorted.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);
// Runs a shell command, returning its exit status and standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
bool ProgramOnPath(const std::string& name);

}  // namespace vellora::test
