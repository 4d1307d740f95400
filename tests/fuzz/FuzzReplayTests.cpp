// Replays the seed corpus and the regression inputs of every fuzz target through its entry
// function; each input is a test of its own, named by target, folder and file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "FuzzCheck.h"

namespace vellora::fuzz {
namespace {

namespace fs = std::filesystem;

const fs::path kFuzzDir = VELLORA_FUZZ_DIR;
constexpr const char* kFolders[] = {"corpus", "regressions"};

struct ReplayInput {
  fuzz::Target Target;
  std::string Folder;  // "corpus" or "regressions"
  fs::path File;
};

void PrintTo(const ReplayInput& input, std::ostream* os) {
  *os << input.File.string();
}

std::vector<ReplayInput> AllInputs() {
  std::vector<ReplayInput> inputs;
  for (const Target& target : AllTargets()) {
    for (const char* folder : kFolders) {
      const fs::path dir = kFuzzDir / folder / target.Name;
      std::error_code ec;
      if (!fs::is_directory(dir, ec)) continue;
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const fs::path& file : files) inputs.push_back({target, folder, file});
    }
  }
  return inputs;
}

std::string TestName(const ReplayInput& input) {
  std::string name =
      std::string(input.Target.Name) + "_" + input.Folder + "_" + input.File.filename().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct PropertyBroken : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Throw(const std::string& description) {
  throw PropertyBroken(description);
}

class FuzzReplay : public ::testing::TestWithParam<ReplayInput> {
 protected:
  void SetUp() override { SetFailureHandler(Throw); }
  void TearDown() override { SetFailureHandler(nullptr); }
};

TEST_P(FuzzReplay, PropertiesHold) {
  const ReplayInput& input = GetParam();
  const std::string bytes = ReadAll(input.File);
  try {
    input.Target.Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  } catch (const PropertyBroken& broken) {
    FAIL() << input.File << ": " << broken.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzReplay, ::testing::ValuesIn(AllInputs()),
                         [](const auto& info) { return TestName(info.param); });

TEST(FuzzCorpus, EveryTargetHasSeedsAndARegressionFolder) {
  for (const Target& target : AllTargets()) {
    const fs::path seeds = kFuzzDir / "corpus" / target.Name;
    ASSERT_TRUE(fs::is_directory(seeds)) << seeds;
    EXPECT_FALSE(fs::is_empty(seeds)) << seeds;
    EXPECT_TRUE(fs::is_directory(kFuzzDir / "regressions" / target.Name)) << target.Name;
  }
}

TEST(FuzzCorpus, EveryFolderBelongsToATarget) {
  for (const char* folder : kFolders) {
    for (const auto& entry : fs::directory_iterator(kFuzzDir / folder)) {
      const std::string name = entry.path().filename().string();
      const auto targets = AllTargets();
      EXPECT_TRUE(std::any_of(targets.begin(), targets.end(),
                              [&](const Target& t) { return t.Name == name; }))
          << entry.path() << " names no fuzz target";
    }
  }
}

TEST(FuzzCorpus, ABrokenPropertyIsReported) {
  SetFailureHandler(Throw);
  EXPECT_THROW(FUZZ_REQUIRE(1 + 1 == 3, "arithmetic"), PropertyBroken);
  SetFailureHandler(nullptr);
}

}  // namespace
}  // namespace vellora::fuzz
