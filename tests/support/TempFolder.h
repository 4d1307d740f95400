// A temporary folder for one test: created fresh and exclusively, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vellora::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Writes bytes to a file under the folder (creating subfolders) and returns its path.
  std::filesystem::path Write(const std::string& relative, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

}  // namespace vellora::test
