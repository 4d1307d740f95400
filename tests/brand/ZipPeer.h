// Bridges to AES-encrypted ZIP entries: reading the raw bytes of an entry, and wrapping one of
// our containers as a stored AES entry so that an archiver can check it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vellora::test {

struct RawZipEntry {
  std::string Name;
  std::string Raw;  // salt, verifier, encrypted data and code, exactly as stored
  int AesStrength = 0;
};

// Every entry of the archive, read without a password.
std::vector<RawZipEntry> ReadRawAesEntries(const std::filesystem::path& zipPath);

// A one-entry archive (AE-2, stored) holding container as the entry's data.
void WriteAesZip(const std::filesystem::path& zipPath, const std::string& entryName,
                 const std::string& container, std::uint64_t plainSize, int aesStrength);

}  // namespace vellora::test
