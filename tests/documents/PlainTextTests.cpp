// Plain text on both routes, and the file-level limits every import goes through.
#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentImport.h"
#include "ImportLimits.h"
#include "ImportTestFiles.h"
#include "UPlainText.h"

namespace vellora {
namespace {

struct PlainCase {
  const char* name;
  const char* bytes;
  std::size_t size;
  const char* expected;
};

void PrintTo(const PlainCase& c, std::ostream* os) {
  *os << c.name;
}

class PlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainText, DecodesAndNormalisesLineBreaksOnBothRoutes) {
  test::TempFolder folder;
  const std::string bytes(GetParam().bytes, GetParam().size);
  for (const char* name : {"article.txt", "article.doc"}) {
    const auto path = folder.Write(name, bytes);
    const ImportResult result = ImportDocument(path);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(ToUtf8(result.Document.Text), GetParam().expected) << name;
    EXPECT_TRUE(result.Document.Runs.empty());
  }
}

#define PLAIN(name, bytes, expected)         \
  PlainCase {                                \
    name, bytes, sizeof(bytes) - 1, expected \
  }

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainText,
    ::testing::Values(PLAIN("Empty", "", ""),
                      PLAIN("Utf8", "caf\xc3\xa9 \xe2\x82\xac", "caf\u00e9 \u20ac"),
                      PLAIN("Utf8BomDropped", "\xef\xbb\xbfhi", "hi"),
                      PLAIN("Windows1252WhenNotUtf8", "caf\xe9 \x80 \x93q\x94",
                            "caf\u00e9 \u20ac \u201cq\u201d"),
                      PLAIN("CrLfAndLoneCrBecomeLf", "a\r\nb\rc\nd\r\n", "a\nb\nc\nd\n"),
                      PLAIN("TabsKept", "a\tb", "a\tb")),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlainText, BinaryBytesOnThePlainRouteAreReadAsCharacters) {
  test::TempFolder folder;
  const auto path = folder.Write("data.bin", std::string("A\0B\xff", 4));
  const ImportResult result = ImportDocument(path);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(result.Document.Text, std::u16string(u"A\0B\u00ff", 4));
}

TEST(FileLimits, MissingFileNamesTheFile) {
  test::TempFolder folder;
  const auto path = folder.Path() / "gone.docx";
  const ImportResult result = ImportDocument(path);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Error, "Cannot read \"" + path.string() + "\": the file does not exist.");
}

TEST(FileLimits, FolderIsRefused) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder.Path() / "sub.txt");
  const ImportResult result = ImportDocument(folder.Path() / "sub.txt");
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("it is a folder, not a file"), std::string::npos) << result.Error;
}

TEST(FileLimits, FileOverTheLimitIsRefusedWithoutReadingIt) {
  test::TempFolder folder;
  for (const char* name : {"huge.txt", "huge.docx"}) {
    const auto path = folder.Write(name, "");
    // Sparse: no disk space is used.
    std::filesystem::resize_file(path, kMaxImportFileBytes + 1);
    const ImportResult result = ImportDocument(path);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, "Cannot read \"" + path.string() +
                                "\": the file is larger than the 256 MiB that can be imported.");
  }
}

TEST(FileLimits, EmptyFileGivesAnEmptyDocumentWhateverItsName) {
  test::TempFolder folder;
  for (const char* name : {"empty.txt", "empty.docx", "empty.rtf", "empty.odt", "empty.DOC"}) {
    const ImportResult result = ImportDocument(folder.Write(name, ""));
    EXPECT_TRUE(result.Ok) << name << ": " << result.Error;
    EXPECT_TRUE(result.Document.Text.empty()) << name;
    EXPECT_TRUE(result.Document.Runs.empty()) << name;
  }
}

}  // namespace
}  // namespace vellora
