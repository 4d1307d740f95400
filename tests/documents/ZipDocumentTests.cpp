// docx and odt read from zips built here: their text rules, and every damaged or hostile package.
#include <gtest/gtest.h>

#include "DocumentImport.h"
#include "DocxReader.h"
#include "ImportLimits.h"
#include "ImportTestFiles.h"
#include "OdtReader.h"
#include "PeakMemory.h"
#include "UPlainText.h"

namespace vellora {
namespace {

constexpr const char* kOdtMime = "application/vnd.oasis.opendocument.text";

ImportResult ImportDocx(const test::TempFolder& folder, const std::string& body) {
  const auto path =
      folder.Write("doc.docx", test::BuildZip({{"word/document.xml", test::DocxXml(body)}}));
  return ImportDocument(path);
}

ImportResult ImportOdt(const test::TempFolder& folder, const std::string& text) {
  const auto path =
      folder.Write("doc.odt.docx",  // the name only routes it; the content says odt
                   test::BuildZip({{"mimetype", kOdtMime}, {"content.xml", test::OdtXml(text)}}));
  return ImportDocument(path);
}

struct TextCase {
  const char* name;
  const char* xml;
  const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.name;
}

class DocxText : public ::testing::TestWithParam<TextCase> {};

TEST_P(DocxText, FollowsTheWordProcessingRules) {
  test::TempFolder folder;
  const ImportResult result = ImportDocx(folder, GetParam().xml);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), GetParam().expected);
  EXPECT_TRUE(result.Document.Runs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocxText,
    ::testing::Values(
        TextCase{"ParagraphsAreLinesWithoutTrailingBreak",
                 "<w:p><w:r><w:t>a</w:t></w:r></w:p><w:p><w:r><w:t>b</w:t></w:r></w:p>"
                 "<w:p><w:r><w:t>c</w:t></w:r></w:p>",
                 "a\nb\nc"},
        TextCase{"EmptyParagraphIsAnEmptyLine", "<w:p/><w:p><w:r><w:t>x</w:t></w:r></w:p>", "\nx"},
        TextCase{"TabBreakAndCarriageReturnInRuns",
                 "<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:cr/>"
                 "<w:t>d</w:t></w:r></w:p>",
                 "a\tb\nc\nd"},
        TextCase{"TabStopDefinitionsAreNotText",
                 "<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>"
                 "<w:r><w:t>x</w:t></w:r></w:p>",
                 "x"},
        TextCase{"HyphensAndSymbols",
                 "<w:p><w:r><w:t>co</w:t><w:noBreakHyphen/><w:t>op</w:t><w:softHyphen/>"
                 "<w:t>er</w:t><w:sym w:font=\"Wingdings\" w:char=\"F04A\"/></w:r></w:p>",
                 "co-oper"},
        TextCase{"SpacesInTextArePreserved",
                 "<w:p><w:r><w:t xml:space=\"preserve\"> two  spaces </w:t></w:r></w:p>",
                 " two  spaces "},
        TextCase{"DeletedTextIsLeftOutInsertedKept",
                 "<w:p><w:r><w:t>keep </w:t></w:r><w:del><w:r><w:delText>gone</w:delText>"
                 "</w:r></w:del><w:ins><w:r><w:t>new</w:t></w:r></w:ins></w:p>",
                 "keep new"},
        TextCase{"FieldCodesAreLeftOutResultsKept",
                 "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>"
                 " PAGE </w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
                 "<w:r><w:t>7</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>",
                 "7"},
        TextCase{"TableCellParagraphsAreLines",
                 "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a1</w:t></w:r></w:p></w:tc><w:tc><w:p>"
                 "<w:r><w:t>b1</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
                 "<w:p><w:r><w:t>after</w:t></w:r></w:p>",
                 "a1\nb1\nafter"},
        TextCase{"AlternateContentIsReadOnce",
                 "<w:p><w:r><w:t>x</w:t></w:r><mc:AlternateContent><mc:Choice Requires=\"w14\">"
                 "<w:r><w:t>y</w:t></w:r></mc:Choice><mc:Fallback><w:r><w:t>y</w:t></w:r>"
                 "</mc:Fallback></mc:AlternateContent></w:p>",
                 "xy"},
        TextCase{"EntitiesAndCdataAreText",
                 "<w:p><w:r><w:t>a &amp; b &#x20AC; <![CDATA[<c>]]></w:t></w:r></w:p>",
                 "a & b \u20ac <c>"},
        TextCase{"EmptyBody", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class OdtText : public ::testing::TestWithParam<TextCase> {};

TEST_P(OdtText, FollowsTheOpenDocumentRules) {
  test::TempFolder folder;
  const ImportResult result = ImportOdt(folder, GetParam().xml);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OdtText,
    ::testing::Values(
        TextCase{"ParagraphsAndHeadingsAreLines",
                 "<text:h>Title</text:h><text:p>a</text:p><text:p>b</text:p>", "Title\na\nb"},
        TextCase{"SpacesTabsAndLineBreaks",
                 "<text:p>a<text:s text:c=\"3\"/>b<text:s/>c<text:tab/>d<text:line-break/>e"
                 "</text:p>",
                 "a   b c\td\ne"},
        TextCase{"WhiteSpaceInMarkupCollapses",
                 "<text:p>\n   one\n   two  <text:span> three</text:span></text:p>",
                 "one two three"},
        TextCase{"NestedSpansAndLinks",
                 "<text:p>x<text:span>y<text:span>z</text:span></text:span><text:a>w</text:a>"
                 "</text:p>",
                 "xyzw"},
        TextCase{"ListsAndTables",
                 "<text:list><text:list-item><text:p>one</text:p></text:list-item><text:list-item>"
                 "<text:p>two</text:p></text:list-item></text:list><table:table><table:table-row>"
                 "<table:table-cell><text:p>c</text:p></table:table-cell></table:table-row>"
                 "</table:table>",
                 "one\ntwo\nc"},
        TextCase{"NotesCommentsAndDeletionsAreLeftOut",
                 "<text:tracked-changes><text:changed-region><text:deletion><text:p>gone</text:p>"
                 "</text:deletion></text:changed-region></text:tracked-changes><text:p>a"
                 "<text:note><text:note-citation>1</text:note-citation><text:note-body><text:p>"
                 "note</text:p></text:note-body></text:note>b</text:p>",
                 "ab"},
        TextCase{"NegativeSpaceCountAddsNothing", "<text:p>a<text:s text:c=\"-5\"/>b</text:p>",
                 "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

// What every damaged or hostile package gives: a failure naming the file and the cause.
void ExpectFailure(const ImportResult& result, const std::filesystem::path& path,
                   const std::string& cause) {
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(result.Document.Text.empty());
  EXPECT_NE(result.Error.find("Cannot read \"" + path.string() + "\""), std::string::npos)
      << result.Error;
  EXPECT_NE(result.Error.find(cause), std::string::npos) << result.Error;
}

TEST(ZipDocuments, HugeOdtSpaceCountIsRefusedNotAllocated) {
  test::TempFolder folder;
  const auto path = folder.Write(
      "spaces.docx",
      test::BuildZip({{"mimetype", kOdtMime},
                      {"content.xml", test::OdtXml("<text:p><text:s text:c=\"999999999999\"/>"
                                                   "</text:p>")}}));
  ExpectFailure(ImportDocument(path), path, "the text of the document is too long");
}

// Found by hand: a 394-byte .odt that read as 134,217,728 spaces (605 MB at its peak).
TEST(ZipDocuments, OdtSpaceRunPastTheCapIsRefusedWithoutAllocating) {
  test::TempFolder folder;
  const auto path = folder.Write(
      "spaces.odt",
      test::BuildZip({{"mimetype", kOdtMime},
                      {"content.xml", test::OdtXml("<text:p>a<text:s text:c=\"134217727\"/>"
                                                   "</text:p>")}}));
  ImportResult result;
  const std::uint64_t growth = test::PeakGrowth([&] { result = ImportDocument(path); });
  ExpectFailure(result, path,
                "the text of the document is too long: one run of spaces in content.xml stands "
                "for 134217727 spaces");
  EXPECT_LT(growth, 16u << 20);
}

TEST(ZipDocuments, OdtSpaceRunUpToTheCapIsRead) {
  const auto outcome = ExtractOdtText(test::OdtXml(
      "<text:p>a<text:s text:c=\"" + std::to_string(kMaxRepeatUnits) + "\"/>b</text:p>"));
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(outcome.Value, u"a" + std::u16string(kMaxRepeatUnits, u' ') + u"b");
}

TEST(ZipDocuments, ManySpaceRunsStopAtALimitProportionalToTheInput) {
  std::string runs;
  for (int i = 0; i < 200; ++i) runs += "<text:s text:c=\"60000\"/>";
  const std::string xml = test::OdtXml("<text:p>" + runs + "</text:p>");
  ASSERT_GT(200u * 60000u, ImportTextLimit(xml.size()));
  const auto outcome = ExtractOdtText(xml);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_EQ(outcome.Cause, "the text of the document is too long");
}

TEST(ZipDocuments, SpaceRunsWithinTheInputsLimitAreRead) {
  std::string runs;
  for (int i = 0; i < 20; ++i) runs += "x<text:s text:c=\"200\"/>";
  const auto outcome = ExtractOdtText(test::OdtXml("<text:p>" + runs + "</text:p>"));
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(outcome.Value.size(), 20u * 201u);
}

TEST(ZipDocuments, ImportTextLimitGrowsWithTheInputUpToTheImportLimit) {
  EXPECT_EQ(ImportTextLimit(0), kMaxRepeatUnits);
  EXPECT_EQ(ImportTextLimit(1000), 1000 * kMaxTextUnitsPerInputByte + kMaxRepeatUnits);
  EXPECT_EQ(ImportTextLimit(std::size_t{1} << 40), kMaxImportedTextUnits);
  EXPECT_LE(ImportTextLimit(kMaxImportedTextUnits / kMaxTextUnitsPerInputByte),
            kMaxImportedTextUnits);
}

TEST(ZipDocuments, DeclaredEntitiesAreRefusedInOdtToo) {
  const std::string xml =
      "<?xml version=\"1.0\"?><!DOCTYPE office:document-content [<!ENTITY e \"" +
      std::string(4000, 'x') +
      "\">]><office:document-content "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
      "<text:p>&e;&e;&e;</text:p></office:text></office:body></office:document-content>";
  const auto outcome = ExtractOdtText(xml);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_EQ(outcome.Cause,
            "the document part content.xml declares XML entities, which documents of word "
            "processors never hold");
}

TEST(ZipDocuments, DocumentTypeWithoutEntitiesIsRead) {
  const auto outcome = ExtractDocxText(
      "<?xml version=\"1.0\"?><!DOCTYPE w:document><w:document "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p><w:r>"
      "<w:t>kept</w:t></w:r></w:p></w:body></w:document>");
  ASSERT_TRUE(outcome.Ok()) << outcome.Cause;
  EXPECT_EQ(outcome.Value, u"kept");
}

TEST(ZipDocuments, MissingMainPartIsNamed) {
  test::TempFolder folder;
  const auto path = folder.Write("x.docx", test::BuildZip({{"[Content_Types].xml", "<Types/>"}}));
  const ImportResult result = ImportDocument(path);
  ExpectFailure(result, path, "the document part word/document.xml is missing");
  EXPECT_EQ(result.Error, "Cannot read \"" + path.string() +
                              "\": the document part word/document.xml is missing.");
}

TEST(ZipDocuments, OdtWithoutContentIsNamed) {
  test::TempFolder folder;
  const auto path = folder.Write("x.odt.doc", test::BuildZip({{"mimetype", kOdtMime}}));
  ExpectFailure(ImportDocument(path), path, "the document part content.xml is missing");
}

TEST(ZipDocuments, OtherOpenDocumentKindsAreRefused) {
  test::TempFolder folder;
  const auto path = folder.Write(
      "sheet.doc", test::BuildZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                   {"content.xml", test::OdtXml("")}}));
  ExpectFailure(ImportDocument(path), path, "not a text document");
}

TEST(ZipDocuments, PartThatInflatesPastTheCapIsRefused) {
  test::TempFolder folder;
  // A few hundred kilobytes of deflated spaces that would unpack past the per-part cap.
  const std::string inflated(static_cast<std::size_t>(kMaxZipPartBytes) + 4096, ' ');
  const std::string bomb = test::BuildZip({{"word/document.xml", inflated}});
  ASSERT_LT(bomb.size(), kMaxZipPartBytes / 64);
  const auto path = folder.Write("bomb.docx", bomb);
  ExpectFailure(ImportDocument(path), path, "unpacks to more than 64 MiB");
}

// Rewrites the uncompressed size of every entry in the local and central headers.
std::string UnderstateSizes(std::string zip, std::uint32_t size) {
  const auto put32 = [&](std::size_t at) {
    for (int i = 0; i < 4; ++i) zip[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
  };
  for (std::size_t i = 0; i + 46 <= zip.size(); ++i) {
    if (zip.compare(i, 4, "PK\x03\x04") == 0) put32(i + 22);
    if (zip.compare(i, 4, "PK\x01\x02") == 0) put32(i + 24);
  }
  return zip;
}

TEST(ZipDocuments, PartWhoseHeaderUnderstatesItsSizeIsStillCapped) {
  test::TempFolder folder;
  const std::string inflated(static_cast<std::size_t>(kMaxZipPartBytes) + 4096, ' ');
  const auto path = folder.Write(
      "liar.docx", UnderstateSizes(test::BuildZip({{"word/document.xml", inflated}}), 100));
  const ImportResult result = ImportDocument(path);
  ExpectFailure(result, path, "word/document.xml");
}

TEST(ZipDocuments, MalformedXmlIsRefusedWithItsLine) {
  test::TempFolder folder;
  const auto path = folder.Write(
      "bad.docx", test::BuildZip({{"word/document.xml",
                                   "<w:document xmlns:w=\"x\">\n<w:body><w:p></w:body>"}}));
  ExpectFailure(ImportDocument(path), path, "is not well-formed XML (line 2");
}

TEST(ZipDocuments, TruncatedXmlIsRefused) {
  test::TempFolder folder;
  const std::string xml = test::DocxXml("<w:p><w:r><w:t>cut</w:t></w:r></w:p>");
  const auto path = folder.Write(
      "cut.docx", test::BuildZip({{"word/document.xml", xml.substr(0, xml.size() / 2)}}));
  ExpectFailure(ImportDocument(path), path, "word/document.xml is not well-formed XML");
}

TEST(ZipDocuments, EmptyXmlPartIsRefused) {
  test::TempFolder folder;
  const auto path = folder.Write("empty.docx", test::BuildZip({{"word/document.xml", ""}}));
  ExpectFailure(ImportDocument(path), path, "is not well-formed XML");
}

TEST(ZipDocuments, DeeplyNestedXmlIsRefused) {
  test::TempFolder folder;
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<w:sdt>";
  for (int i = 0; i < 5000; ++i) deep += "</w:sdt>";
  const auto path =
      folder.Write("deep.docx", test::BuildZip({{"word/document.xml", test::DocxXml(deep)}}));
  ExpectFailure(ImportDocument(path), path, "nested too deeply");
}

TEST(ZipDocuments, EntityExpansionIsRefused) {
  test::TempFolder folder;
  // Each entity refers ten times to the one before it: five billion characters in the end.
  std::string dtd = "<?xml version=\"1.0\"?><!DOCTYPE w:document [<!ENTITY e0 \"laugh\">";
  for (int i = 1; i <= 9; ++i) {
    std::string refs;
    for (int k = 0; k < 10; ++k) refs += "&e" + std::to_string(i - 1) + ";";
    dtd += "<!ENTITY e" + std::to_string(i) + " \"" + refs + "\">";
  }
  dtd +=
      "]><w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:body><w:p><w:r><w:t>&e9;</w:t></w:r></w:p></w:body></w:document>";
  const auto path = folder.Write("laughs.docx", test::BuildZip({{"word/document.xml", dtd}}));
  ExpectFailure(ImportDocument(path), path, "word/document.xml");
}

TEST(ZipDocuments, TruncatedZipIsRefused) {
  test::TempFolder folder;
  const std::string docx = test::ReadBytes(test::SamplePath("three.docx"));
  const auto path = folder.Write("cut.docx", docx.substr(0, docx.size() / 2));
  ExpectFailure(ImportDocument(path), path, "the zip archive is damaged or truncated");
}

TEST(ZipDocuments, CorruptedDeflateDataIsRefused) {
  test::TempFolder folder;
  std::string zip = test::BuildZip(
      {{"word/document.xml",
        test::DocxXml("<w:p><w:r><w:t>" + std::string(5000, 'q') + "</w:t></w:r></w:p>")}});
  // Damage the compressed data right after the local header and the name.
  for (std::size_t i = 30 + 17 + 5; i < 30 + 17 + 25; ++i) zip[i] = static_cast<char>(~zip[i]);
  const auto path = folder.Write("crc.docx", zip);
  ExpectFailure(ImportDocument(path), path, "word/document.xml");
}

TEST(ZipDocuments, ZipMagicFollowedByRandomBytesIsRefused) {
  test::TempFolder folder;
  std::string bytes = "PK\x03\x04";
  unsigned state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(state >> 24));
  }
  const auto path = folder.Write("random.docx", bytes);
  ExpectFailure(ImportDocument(path), path, "damaged or truncated");
}

TEST(ZipDocuments, RegressionFilesNeverCrash) {
  for (const auto& entry : std::filesystem::directory_iterator(test::SamplePath("regressions"))) {
    const ImportResult word = ImportDocument(entry.path(), ImportRoute::Word);
    const ImportResult plain = ImportDocument(entry.path(), ImportRoute::Plain);
    for (const ImportResult* result : {&word, &plain}) {
      if (!result->Ok) {
        EXPECT_NE(result->Error.find(entry.path().string()), std::string::npos) << result->Error;
      }
    }
  }
}

}  // namespace
}  // namespace vellora
