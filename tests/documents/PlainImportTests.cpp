// Import's first step: reading a file's bytes, choosing its reader from its name and first bytes,
// and decoding plain text, with the same outcome as the whole of ImportDocument.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "DocumentImport.h"
#include "FileBytes.h"
#include "ImportLimits.h"
#include "ImportTestFiles.h"
#include "PlainImport.h"

namespace vellora {
namespace {

struct ReaderCase {
  const char* name;
  const char* path;
  ImportRoute route;
  std::string bytes;
  ImportReader reader;
};

void PrintTo(const ReaderCase& c, std::ostream* os) {
  *os << c.name;
}

const std::string kZip("PK\x03\x04rest", 8);
const std::string kEmptyZip("PK\x05\x06", 4);
const std::string kOle("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12);

class ChooseReaderTable : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ChooseReaderTable, NameAndFirstBytesPickTheReader) {
  const ReaderCase& c = GetParam();
  EXPECT_EQ(ChooseImportReader(c.path, c.route, c.bytes), c.reader);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseReaderTable,
    ::testing::Values(
        ReaderCase{"PlainText", "a.txt", ImportRoute::Plain, "hello", ImportReader::Text},
        ReaderCase{"EmptyFile", "a.txt", ImportRoute::Plain, "", ImportReader::Text},
        ReaderCase{"DoctypeInATxt", "a.txt", ImportRoute::Plain, "<!DOCTYPE html><p>x",
                   ImportReader::WebPage},
        ReaderCase{"HtmlAfterCommentAndBom", "a.txt", ImportRoute::Plain,
                   "\xEF\xBB\xBF <!-- c --> <HTML lang=en>", ImportReader::WebPage},
        ReaderCase{"HtmlPrefixOfAnotherWord", "a.txt", ImportRoute::Plain, "<htmlish>",
                   ImportReader::Text},
        ReaderCase{"PageByNameWhateverItHolds", "a.HTM", ImportRoute::Plain, "plain words",
                   ImportReader::WebPage},
        ReaderCase{"PageByNameOnTheWordRoute", "my.docs/a.xhtml", ImportRoute::Word, "x",
                   ImportReader::WebPage},
        ReaderCase{"MarkupOnTheWordRouteIsText", "a.doc", ImportRoute::Word, "<html>",
                   ImportReader::WordText},
        ReaderCase{"ZipInATxt", "a.txt", ImportRoute::Plain, kZip, ImportReader::WordDocument},
        ReaderCase{"EmptyZipInATxt", "a.txt", ImportRoute::Plain, kEmptyZip,
                   ImportReader::WordDocument},
        ReaderCase{"CompoundFileInATxt", "a.txt", ImportRoute::Plain, kOle,
                   ImportReader::WordDocument},
        ReaderCase{"TooShortForAZip", "a.txt", ImportRoute::Plain, "PK", ImportReader::Text},
        ReaderCase{"RtfInATxt", "a.txt", ImportRoute::Plain, "{\\rtf1 x}", ImportReader::Rtf},
        ReaderCase{"RtfSignatureIsCaseSensitive", "a.txt", ImportRoute::Plain, "{\\RTF1 x}",
                   ImportReader::Text},
        ReaderCase{"RtfOnTheWordRoute", "a.doc", ImportRoute::Word, "{\\rtf1 x}",
                   ImportReader::WordDocument},
        ReaderCase{"ZipOnTheWordRoute", "a.docx", ImportRoute::Word, kZip,
                   ImportReader::WordDocument},
        ReaderCase{"TextOnTheWordRoute", "a.doc", ImportRoute::Word, "hello",
                   ImportReader::WordText}),
    [](const auto& info) { return std::string(info.param.name); });

// Every kind of file: the first step either finishes the import itself, with exactly
// ImportDocument's result, or hands over bytes from which ImportDocumentBytes gives that result.
TEST(PlainImport, FirstStepThenReadersGiveImportDocumentsResult) {
  test::TempFolder folder;
  const std::string docx = test::ReadBytes(test::SamplePath("three.docx"));
  const std::string odt = test::ReadBytes(test::SamplePath("three.odt"));
  const std::string rtf = test::ReadBytes(test::SamplePath("three.rtf"));
  struct File {
    std::filesystem::path path;
    bool plain;  // finished by the first step
  };
  std::filesystem::create_directories(folder / "folder.txt");
  const std::vector<File> files = {
      {folder.Write("a.txt", "caf\xc3\xa9\r\nline"), true},
      {folder.Write("w.txt", "caf\xe9 \x93q\x94"), true},
      {folder.Write("my.docs/a.txt", "plain in a Word folder"), true},
      {folder.Write("u.doc", std::string("\xFF\xFEh\0i\0", 6)), true},
      {folder.Write("nul.doc", std::string("a\0b", 3)), true},
      {folder.Write("nul.txt", std::string("a\0b", 3)), true},
      {folder / "missing.txt", true},
      {folder / "folder.txt", true},
      {folder.Write("page.txt", "<!doctype html><title>T</title><p>Body"), false},
      {folder.Write("page.html", "just words"), false},
      {folder.Write("docx.txt", docx), false},
      {folder.Write("odt.odt", odt), false},
      {folder.Write("three.docx", docx), false},
      {folder.Write("rtf.txt", rtf), false},
      {folder.Write("rtf.doc", rtf), false},
      {folder.Write("broken.docx", "PK\x03\x04 not really a zip"), false},
  };
  for (const File& file : files) {
    const ImportResult whole = ImportDocument(file.path);
    PlainImport first = ImportPlainText(file.path);
    EXPECT_EQ(first.NeedsReader, !file.plain) << file.path;
    EXPECT_EQ(first.Route, RouteForPath(file.path)) << file.path;
    const ImportResult result =
        first.NeedsReader ? ImportDocumentBytes(file.path, first.Route, first.Bytes.View())
                          : first.Result;
    EXPECT_EQ(result.Ok, whole.Ok) << file.path;
    EXPECT_EQ(result.Error, whole.Error) << file.path;
    EXPECT_EQ(result.Document.Text, whole.Document.Text) << file.path;
    EXPECT_EQ(result.Document.Runs.size(), whole.Document.Runs.size()) << file.path;
  }
}

TEST(FileBytes, WholeFileIsReadByteForByte) {
  test::TempFolder folder;
  std::mt19937 random(7);
  std::string bytes(3 * 1024 * 1024 + 17, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  const auto read = ReadFileBytes(folder.Write("random.bin", bytes), kMaxImportFileBytes);
  ASSERT_TRUE(read.Ok()) << read.Cause;
  EXPECT_EQ(read.Value.View(), bytes);
}

TEST(FileBytes, FileOfExactlyTheLimitIsReadAndOneByteMoreIsRefused) {
  test::TempFolder folder;
  const auto atLimit = ReadFileBytes(folder.Write("ten.txt", "0123456789"), 10);
  ASSERT_TRUE(atLimit.Ok()) << atLimit.Cause;
  EXPECT_EQ(atLimit.Value.View(), "0123456789");
  const auto over = ReadFileBytes(folder.Write("eleven.txt", "0123456789A"), 10);
  EXPECT_FALSE(over.Ok());
  EXPECT_EQ(over.Cause, "the file is larger than the 10 bytes that can be imported");
}

// Such files say they are empty and still have content: it is read to its end, within the limit.
TEST(FileBytes, FileLongerThanItsStatedSizeIsReadToItsEndWithinTheLimit) {
  const std::filesystem::path status = "/proc/self/status";
  ASSERT_EQ(std::filesystem::file_size(status), 0u);
  const auto read = ReadFileBytes(status, kMaxImportFileBytes);
  ASSERT_TRUE(read.Ok()) << read.Cause;
  EXPECT_EQ(read.Value.View().substr(0, 5), "Name:");
  const auto limited = ReadFileBytes(status, 16);
  EXPECT_FALSE(limited.Ok());
  EXPECT_EQ(limited.Cause, "the file is larger than the 16 bytes that can be imported");
}

// A stated size of zero and megabytes of content: the buffer grows many times on the way.
TEST(FileBytes, FileFarLongerThanItsStatedSizeIsReadIntact) {
  const std::filesystem::path symbols = "/proc/kallsyms";
  std::ifstream in(symbols, std::ios::binary);
  if (!in) GTEST_SKIP() << "no " << symbols << " here";
  const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_GT(expected.size(), 1024u * 1024u);
  const auto read = ReadFileBytes(symbols, kMaxImportFileBytes);
  ASSERT_TRUE(read.Ok()) << read.Cause;
  EXPECT_EQ(read.Value.View(), expected);
}

TEST(FileBytes, PipeIsRefusedWithoutWaitingForAWriter) {
  test::TempFolder folder;
  const auto pipe = folder / "pipe.txt";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const auto read = ReadFileBytes(pipe, kMaxImportFileBytes);
  EXPECT_FALSE(read.Ok());
  EXPECT_EQ(read.Cause, "it is not an ordinary file");
}

TEST(FileBytes, PathThroughAFileCannotBeExamined) {
  test::TempFolder folder;
  const auto file = folder.Write("file.txt", "x");
  const auto read = ReadFileBytes(file / "inside.txt", kMaxImportFileBytes);
  EXPECT_FALSE(read.Ok());
  EXPECT_EQ(read.Cause, "the file cannot be examined (Not a directory)");
}

TEST(FileBytes, SavedPageHasTheLowerLimit) {
  test::TempFolder folder;
  const auto page = folder.Write("big.html", "");
  std::filesystem::resize_file(page, kMaxPageBytes + 1);
  const ImportResult result = ImportDocument(page);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Error, "Cannot read \"" + page.string() +
                              "\": the file is larger than the 32 MiB that can be imported.");
  EXPECT_EQ(ImportByteLimit("a.TXT"), kMaxImportFileBytes);
  EXPECT_EQ(ImportByteLimit("a.XHTML"), kMaxPageBytes);
}

}  // namespace
}  // namespace vellora
