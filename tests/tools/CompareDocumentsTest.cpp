// vellora-compare reads documents through Import's readers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CompareTool.h"
#include "ImportedArticle.h"

namespace {

std::filesystem::path Sample(const char* name) {
  const char* root = std::getenv("VELLORA_TEST_DATA");
  return std::filesystem::path(root ? root : "tests/data") / "import" / name;
}

int RunTool(const std::vector<std::string>& args, std::string& out, std::string& err) {
  std::ostringstream o, e;
  const int code = vellora::RunCompareTool(args, o, e, vellora::ReadImportedArticle);
  out = o.str();
  err = e.str();
  return code;
}

TEST(CompareDocuments, WordOpenDocumentAndRtfGiveTheSameText) {
  std::string error;
  const auto docx = vellora::ReadImportedArticle(Sample("three.docx"), error);
  ASSERT_TRUE(docx) << error;
  for (const char* other : {"three.odt", "three.rtf"}) {
    const auto text = vellora::ReadImportedArticle(Sample(other), error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, *docx) << other;
  }
  std::string out, err;
  ASSERT_EQ(
      RunTool({"--json", Sample("three.docx").string(), Sample("three.odt").string()}, out, err), 0)
      << err;
  EXPECT_NE(out.find("\"duplicate_shown\": 100"), std::string::npos) << out;
  EXPECT_NE(out.find("\"paragraphs\": 3"), std::string::npos) << out;
}

TEST(CompareDocuments, BrokenDocumentIsNamedWithExitOne) {
  const auto dir = std::filesystem::temp_directory_path() / "vellora-compare-broken";
  std::filesystem::create_directories(dir);
  const auto broken = dir / "broken.docx";
  std::ofstream(broken, std::ios::binary) << "PK\x03\x04 not really a zip";
  std::string out, err;
  EXPECT_EQ(RunTool({broken.string(), Sample("three.docx").string()}, out, err), 1);
  EXPECT_NE(err.find(broken.string()), std::string::npos) << err;
  EXPECT_EQ(out, "");
  std::filesystem::remove_all(dir);
}

}  // namespace
