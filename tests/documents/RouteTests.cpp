// Which route a chosen path takes, and that ImportDocument follows it.
#include <gtest/gtest.h>

#include "DocumentImport.h"
#include "ImportTestFiles.h"
#include "UPlainText.h"

namespace vellora {
namespace {

struct RouteCase {
  const char* path;
  ImportRoute route;
};

void PrintTo(const RouteCase& c, std::ostream* os) {
  *os << '"' << c.path << '"';
}

class RouteForPathTable : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteForPathTable, DotDocAnywhereInTheLowerCasedPathTakesTheWordRoute) {
  EXPECT_EQ(RouteForPath(GetParam().path), GetParam().route) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, RouteForPathTable,
                         ::testing::Values(RouteCase{"/home/ann/article.txt", ImportRoute::Plain},
                                           RouteCase{"/home/ann/article.rtf", ImportRoute::Plain},
                                           RouteCase{"/home/ann/ARTICLE.DOC", ImportRoute::Word},
                                           RouteCase{"/home/ann/article.docx", ImportRoute::Word},
                                           RouteCase{"/home/ann/my.docs/article.txt",
                                                     ImportRoute::Word},
                                           RouteCase{"/home/ann/Report.DocM", ImportRoute::Word},
                                           RouteCase{"/home/ann/article.odt", ImportRoute::Plain},
                                           RouteCase{"/home/ann/article.dot", ImportRoute::Plain},
                                           RouteCase{"/home/ann/mydoc.txt", ImportRoute::Plain},
                                           RouteCase{"/home/ann/article.do", ImportRoute::Plain},
                                           RouteCase{"", ImportRoute::Plain}));

TEST(ImportRouting, RtfFileLoadsWithItsFormattingOnThePlainRoute) {
  test::TempFolder folder;
  const auto path = folder.Write("note.rtf", "{\\rtf1\\ansi {\\b Bold} plain\\par}");
  const ImportResult result = ImportDocument(path);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "Bold plain");
  ASSERT_EQ(result.Document.Runs.size(), 2u);
  EXPECT_TRUE(result.Document.Runs[0].Bold);
  EXPECT_FALSE(result.Document.Runs[1].Bold);
}

TEST(ImportRouting, RtfContentInADocFileArrivesAsTextWithoutFormatting) {
  test::TempFolder folder;
  const auto path = folder.Write("note.DOC", "{\\rtf1\\ansi {\\b Bold} plain\\par}");
  const ImportResult result = ImportDocument(path);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "Bold plain");
  EXPECT_TRUE(result.Document.Runs.empty());
}

TEST(ImportRouting, TextFileInAFolderNamedMyDocsIsReadAsAWordDocument) {
  test::TempFolder folder;
  const std::string docx = test::ReadBytes(test::SamplePath("three.docx"));
  const auto path = folder.Write("my.docs/article.txt", docx);
  const ImportResult result = ImportDocument(path);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "First paragraph.\nSecond paragraph.\nThird paragraph.");
}

TEST(ImportRouting, TxtFileOutsideSuchFoldersIsReadAsPlainText) {
  test::TempFolder folder;
  const auto path = folder.Write("docs/article.txt", "line one\r\nline two");
  ASSERT_EQ(RouteForPath(path), ImportRoute::Plain);
  const ImportResult result = ImportDocument(path);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "line one\nline two");
  EXPECT_TRUE(result.Document.Runs.empty());
}

// The plain route would show the raw bytes of a zip or compound file; word-processor documents
// found by their content are read for their text instead.
TEST(ImportRouting, DocumentsWithoutDocInTheirPathAreStillReadAsDocuments) {
  test::TempFolder folder;
  int n = 0;
  for (const char* sample : {"three.odt", "three.docx"}) {
    const auto path = folder.Write("renamed-" + std::to_string(++n) + ".zip",
                                   test::ReadBytes(test::SamplePath(sample)));
    ASSERT_EQ(RouteForPath(path), ImportRoute::Plain);
    const ImportResult result = ImportDocument(path);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(ToUtf8(result.Document.Text), "First paragraph.\nSecond paragraph.\nThird paragraph.")
        << sample;
  }
  const auto odt = folder.Write("plain.odt", test::ReadBytes(test::SamplePath("three.odt")));
  const ImportResult result = ImportDocument(odt);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "First paragraph.\nSecond paragraph.\nThird paragraph.");
}

TEST(ImportRouting, ZipThatIsNoDocumentIsRefusedOnThePlainRoute) {
  test::TempFolder folder;
  const auto path =
      folder.Write("archive.zip", std::string("PK\x03\x04", 4) + std::string(200, '\0'));
  const ImportResult result = ImportDocument(path);
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find(path.string()), std::string::npos) << result.Error;
}

}  // namespace
}  // namespace vellora
