// Checks a brand settings text the way the loader will read it and reports, one line each, what
// it finds and what the loader would miss or break.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vellora {

struct LintReport {
  std::vector<std::string> Lines;
  int Faults = 0;  // things present that would be missed or broken
};

// plain is the decrypted text (any line ends); bannerFolder is where banner<N>.dat must be.
LintReport LintBrandText(const std::string& plain, const std::filesystem::path& bannerFolder);

}  // namespace vellora
