// Old binary .doc files through converter programs, and other content the Word route meets.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <cstdlib>

#include "BinaryDocReader.h"
#include "DocumentImport.h"
#include "ImportTestFiles.h"
#include "UPlainText.h"

namespace vellora {
namespace {

const std::string kOleMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

std::string FakeOleFile() {
  return kOleMagic + std::string(4096 - 8, '\0');
}

// Runs a test with PATH pointing at an empty folder, so that no converter can be found.
class EmptyPath {
 public:
  explicit EmptyPath(const std::filesystem::path& folder) {
    const char* old = std::getenv("PATH");
    saved_ = old != nullptr ? old : "";
    setenv("PATH", folder.c_str(), 1);
  }
  ~EmptyPath() { setenv("PATH", saved_.c_str(), 1); }

 private:
  std::string saved_;
};

TEST(BinaryDoc, WithoutAConverterTheErrorSaysHowToReadIt) {
  test::TempFolder folder;
  const auto path = folder.Write("old.doc", FakeOleFile());
  std::filesystem::create_directories(folder.Path() / "bin");
  ImportResult result;
  {
    EmptyPath noPrograms(folder.Path() / "bin");
    result = ImportDocument(path);
  }
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("Cannot read \"" + path.string() + "\": it is an old binary Word"),
            std::string::npos)
      << result.Error;
  EXPECT_NE(result.Error.find("install antiword"), std::string::npos) << result.Error;
  EXPECT_NE(result.Error.find("save the document as .docx"), std::string::npos) << result.Error;
}

TEST(BinaryDoc, ConvertersThatAreNotInstalledArePassedOver) {
  test::TempFolder folder;
  const auto path = folder.Write("old.doc", FakeOleFile());
  BinaryDocReaderOptions options;
  options.Converters = {{"vellora-no-such-converter", {}}, {"/nonexistent/antiword", {}}};
  const auto outcome = ReadBinaryDoc(path, options);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("neither is installed"), std::string::npos) << outcome.Cause;
}

TEST(BinaryDoc, ConverterOutputIsUtf8WithLineBreaksNormalised) {
  test::TempFolder folder;
  // cat stands in for a converter whose output is the file itself.
  const auto path = folder.Write("old.doc", "First\r\nSecond caf\xc3\xa9\rThird\n\n");
  BinaryDocReaderOptions options;
  options.Converters = {{"cat", {}}};
  const auto outcome = ReadBinaryDoc(path, options);
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(ToUtf8(outcome.Value), "First\nSecond caf\u00e9\nThird");
}

TEST(BinaryDoc, FailingConverterIsReportedAndTheNextOneTried) {
  test::TempFolder folder;
  const auto path = folder.Write("old.doc", "text");
  BinaryDocReaderOptions options;
  options.Converters = {{"sh", {"-c", "echo 'text stream too small' >&2; exit 3", "sh"}}};
  auto outcome = ReadBinaryDoc(path, options);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("sh: \"text stream too small\""), std::string::npos)
      << outcome.Cause;
  EXPECT_NE(outcome.Cause.find("save it as .docx"), std::string::npos) << outcome.Cause;

  options.Converters.push_back({"cat", {}});
  outcome = ReadBinaryDoc(path, options);
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(ToUtf8(outcome.Value), "text");
}

TEST(BinaryDoc, ConverterThatHangsIsStopped) {
  test::TempFolder folder;
  const auto path = folder.Write("old.doc", "x");
  BinaryDocReaderOptions options;
  options.Converters = {{"sh", {"-c", "sleep 600", "sh"}}};
  options.TimeoutMs = 200;
  const auto outcome = ReadBinaryDoc(path, options);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("did not finish within 200 milliseconds"), std::string::npos)
      << outcome.Cause;
}

TEST(BinaryDoc, ConverterWithEndlessOutputIsStopped) {
  test::TempFolder folder;
  const auto path = folder.Write("old.doc", "x");
  BinaryDocReaderOptions options;
  options.Converters = {{"yes", {}}};
  const auto outcome = ReadBinaryDoc(path, options);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("output was larger"), std::string::npos) << outcome.Cause;
}

bool Installed(const char* program) {
  return !QStandardPaths::findExecutable(program).isEmpty();
}

DocConverter DefaultConverter(const std::string& program) {
  for (const DocConverter& converter : DefaultBinaryDocReaderOptions().Converters)
    if (converter.Program == program) return converter;
  ADD_FAILURE() << program << " is not a default converter";
  return {};
}

std::string LongSampleText() {
  std::string text;
  for (int i = 1; i <= 12; ++i) {
    if (i > 1) text += "\n";
    text += "Paragraph " + std::to_string(i) +
            " of the long sample, with enough words to make a real text stream.";
  }
  return text;
}

// The real .doc samples are made by LibreOffice (tests/data/import/make-samples.sh).
TEST(BinaryDoc, CatdocReadsARealDocumentAsOneLinePerParagraph) {
  if (!Installed("catdoc")) GTEST_SKIP() << "catdoc is not installed";
  BinaryDocReaderOptions options;
  options.Converters = {DefaultConverter("catdoc")};
  const auto outcome = ReadBinaryDoc(test::SamplePath("three.doc"), options);
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(ToUtf8(outcome.Value), "First paragraph.\nSecond paragraph.\nThird paragraph.");
}

TEST(BinaryDoc, AntiwordReadsARealDocumentAsOneLinePerParagraph) {
  if (!Installed("antiword")) GTEST_SKIP() << "antiword is not installed";
  BinaryDocReaderOptions options;
  options.Converters = {DefaultConverter("antiword")};
  const auto outcome = ReadBinaryDoc(test::SamplePath("long.doc"), options);
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(ToUtf8(outcome.Value), LongSampleText());
}

TEST(BinaryDoc, AntiwordRefusingATinyDocumentIsReportedWithItsWords) {
  if (!Installed("antiword")) GTEST_SKIP() << "antiword is not installed";
  BinaryDocReaderOptions options;
  options.Converters = {DefaultConverter("antiword")};
  const auto outcome = ReadBinaryDoc(test::SamplePath("three.doc"), options);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("antiword: \"I'm afraid the text stream of this file is too small"),
            std::string::npos)
      << outcome.Cause;
}

TEST(BinaryDoc, RealDocumentArrivesThroughImportWhenAConverterIsInstalled) {
  if (!Installed("antiword") && !Installed("catdoc"))
    GTEST_SKIP() << "neither antiword nor catdoc is installed";
  const auto path = test::SamplePath("long.doc");
  ASSERT_EQ(RouteForPath(path), ImportRoute::Word);
  const ImportResult result = ImportDocument(path);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), LongSampleText());
  EXPECT_TRUE(result.Document.Runs.empty());
}

TEST(WordRouteContent, RandomBytesWithADocxNameAreRefused) {
  test::TempFolder folder;
  std::string bytes;
  unsigned state = 7;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(state >> 24));
  }
  bytes[0] = '\0';
  const auto path = folder.Write("random.docx", bytes);
  const ImportResult result = ImportDocument(path);
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("is neither a Word document"), std::string::npos) << result.Error;
}

TEST(WordRouteContent, Utf16TextWithAByteOrderMarkIsRead) {
  test::TempFolder folder;
  const std::string le(
      "\xFF\xFE"
      "a\0\r\0\n\0\xAC\x20",
      10);
  const std::string be(
      "\xFE\xFF"
      "\0a\0\r\0b",
      8);
  const ImportResult little = ImportDocument(folder.Write("le.doc", le));
  const ImportResult big = ImportDocument(folder.Write("be.doc", be));
  ASSERT_TRUE(little.Ok) << little.Error;
  ASSERT_TRUE(big.Ok) << big.Error;
  EXPECT_EQ(ToUtf8(little.Document.Text), "a\n\u20ac");
  EXPECT_EQ(ToUtf8(big.Document.Text), "a\nb");
}

}  // namespace
}  // namespace vellora
