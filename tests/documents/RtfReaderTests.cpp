// The RTF reader: body text, formatting on the runs, skipped destinations and hostile input.
#include <gtest/gtest.h>

#include "DocumentImport.h"
#include "ImportLimits.h"
#include "ImportTestFiles.h"
#include "RtfReader.h"
#include "UPlainText.h"

namespace vellora {
namespace {

ImportedDocument Read(const std::string& rtf) {
  const auto outcome = ReadRtf(rtf);
  EXPECT_TRUE(outcome.Ok()) << outcome.Cause;
  return outcome.Value;
}

std::string TextOf(const std::string& rtf) {
  return ToUtf8(Read(rtf).Text);
}

const FormattedRun* RunWith(const ImportedDocument& document, const std::string& text) {
  for (const FormattedRun& run : document.Runs)
    if (ToUtf8(run.Text) == text) return &run;
  ADD_FAILURE() << "no run \"" << text << "\"";
  return nullptr;
}

TEST(RtfFormatting, BoldItalicUnderlineOnTheirRuns) {
  const ImportedDocument doc = Read(
      "{\\rtf1\\ansi plain {\\b bold} {\\i italic} {\\ul under}{\\b\\i\\ul all}"
      "\\b on\\b0 off\\uldb dbl\\ulnone none}");
  EXPECT_EQ(ToUtf8(doc.Text), "plain bold italic underallonoffdblnone");
  const FormattedRun* bold = RunWith(doc, "bold");
  ASSERT_NE(bold, nullptr);
  EXPECT_TRUE(bold->Bold);
  EXPECT_FALSE(bold->Italic);
  const FormattedRun* italic = RunWith(doc, "italic");
  ASSERT_NE(italic, nullptr);
  EXPECT_TRUE(italic->Italic);
  EXPECT_FALSE(italic->Bold);
  const FormattedRun* under = RunWith(doc, "under");
  ASSERT_NE(under, nullptr);
  EXPECT_TRUE(under->Underline);
  const FormattedRun* all = RunWith(doc, "all");
  ASSERT_NE(all, nullptr);
  EXPECT_TRUE(all->Bold && all->Italic && all->Underline);
  const FormattedRun* on = RunWith(doc, "on");
  ASSERT_NE(on, nullptr);
  EXPECT_TRUE(on->Bold);
  const FormattedRun* off = RunWith(doc, "off");
  ASSERT_NE(off, nullptr);
  EXPECT_FALSE(off->Bold);
  const FormattedRun* dbl = RunWith(doc, "dbl");
  ASSERT_NE(dbl, nullptr);
  EXPECT_TRUE(dbl->Underline);
  const FormattedRun* none = RunWith(doc, "none");
  ASSERT_NE(none, nullptr);
  EXPECT_FALSE(none->Underline);
}

TEST(RtfFormatting, ColoursComeFromTheColourTable) {
  const ImportedDocument doc = Read(
      "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}"
      "{\\cf1 red}{\\cf2 blue}{\\cf0 auto}{\\cf9 unknown}}");
  EXPECT_EQ(ToUtf8(doc.Text), "redblueautounknown");
  ASSERT_NE(RunWith(doc, "red"), nullptr);
  EXPECT_EQ(RunWith(doc, "red")->Color, std::optional<std::uint32_t>(0xFF0000));
  EXPECT_EQ(RunWith(doc, "blue")->Color, std::optional<std::uint32_t>(0x0080FF));
  ASSERT_NE(RunWith(doc, "autounknown"), nullptr);
  EXPECT_FALSE(RunWith(doc, "autounknown")->Color.has_value());
}

TEST(RtfFormatting, FontSizesInHalfPoints) {
  const ImportedDocument doc = Read("{\\rtf1 default {\\fs36 big}{\\fs17 odd}\\fs20 ten\\plain p}");
  EXPECT_EQ(RunWith(doc, "default ")->PointSize, 0.0);
  EXPECT_EQ(RunWith(doc, "big")->PointSize, 18.0);
  EXPECT_EQ(RunWith(doc, "odd")->PointSize, 8.5);
  EXPECT_EQ(RunWith(doc, "ten")->PointSize, 10.0);
  EXPECT_EQ(RunWith(doc, "p")->PointSize, 0.0);
}

TEST(RtfFormatting, PlainResetsCharacterFormatting) {
  const ImportedDocument doc =
      Read("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\b\\i\\ul\\cf1 x\\plain y}");
  const FormattedRun* y = RunWith(doc, "y");
  ASSERT_NE(y, nullptr);
  EXPECT_FALSE(y->Bold || y->Italic || y->Underline || y->Color.has_value());
  EXPECT_EQ(RunWith(doc, "x")->Color, std::optional<std::uint32_t>(0x010203));
}

TEST(RtfFormatting, GroupsRestoreFormattingWhenTheyClose) {
  const ImportedDocument doc = Read("{\\rtf1 {\\b a{\\i b}c}d}");
  EXPECT_EQ(ToUtf8(doc.Text), "abcd");
  ASSERT_EQ(doc.Runs.size(), 4u);
  EXPECT_TRUE(doc.Runs[1].Bold && doc.Runs[1].Italic);
  EXPECT_TRUE(doc.Runs[2].Bold && !doc.Runs[2].Italic);
  EXPECT_FALSE(doc.Runs[3].Bold);
}

TEST(RtfFormatting, RunsSpellOutTheWholeText) {
  const ImportedDocument doc = Read(test::ReadBytes(test::SamplePath("features.rtf")));
  std::u16string joined;
  for (const FormattedRun& run : doc.Runs) joined += run.Text;
  EXPECT_EQ(joined, doc.Text);
  EXPECT_TRUE(RunWith(doc, "Bold words")->Bold);
  EXPECT_TRUE(RunWith(doc, "italic words")->Italic);
  EXPECT_TRUE(RunWith(doc, "underlined words")->Underline);
}

struct TextCase {
  const char* name;
  const char* rtf;
  const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.name;
}

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsTheBodyText) {
  EXPECT_EQ(TextOf(GetParam().rtf), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfText,
    ::testing::Values(
        TextCase{"ParagraphsAreLines", "{\\rtf1 a\\par b\\par c\\par}", "a\nb\nc"},
        TextCase{"LineTabAndBackslashNewline", "{\\rtf1 a\\line b\\tab c\\\nd}", "a\nb\tc\nd"},
        TextCase{"FileLineBreaksAreNotText", "{\\rtf1 one\r\ntwo\rthree\nfour}", "onetwothreefour"},
        TextCase{"HexCharactersInWindows1252", "{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}",
                 "caf\u00e9 \u20ac \u201cq\u201d"},
        TextCase{"HexCharactersInTheDocumentCodePage", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0}",
                 "\u041f\u0440"},
        TextCase{"HexCharactersInTheFontCharset",
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Greek;}}"
                 "\\f0 \\'e9{\\f1 \\'e1}}",
                 "\u00e9\u03b1"},
        TextCase{"UnicodeWithFallbackSkipped", "{\\rtf1 \\u8364?5 \\uc2\\u20013\\'3f\\'3fx}",
                 "\u20ac5 \u4e2dx"},
        TextCase{"NegativeUnicodeValues", "{\\rtf1 \\u-3913?}", "\uf0b7"},
        TextCase{"SurrogatePairs", "{\\rtf1 \\u-10179?\\u-8704?}", "\U0001f600"},
        TextCase{"FallbackSkipEndsAtAGroup", "{\\rtf1\\uc3 \\u233{x}y}", "\u00e9xy"},
        TextCase{"ZeroFallback", "{\\rtf1\\uc0 \\u233 x}", "\u00e9x"},
        TextCase{"EscapedSpecials", "{\\rtf1 \\{a\\}\\\\b\\~c\\-d\\_e}", "{a}\\b\u00a0cd-e"},
        TextCase{"NamedCharacters",
                 "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
                 "\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
        TextCase{"TablesAndStyleSheetsAreSkipped",
                 "{\\rtf1{\\fonttbl{\\f0 Times;}}{\\colortbl;\\red1\\green1\\blue1;}"
                 "{\\stylesheet{\\s1 Heading;}}{\\info{\\title T}{\\author A}}body}",
                 "body"},
        TextCase{"StarredDestinationsAreSkipped",
                 "{\\rtf1 a{\\*\\generator Writer;}{\\*\\unknownthing x{y}z}b}", "ab"},
        TextCase{"HeadersFootersNotesAndPicturesAreSkipped",
                 "{\\rtf1{\\header h}{\\footer f}a{\\footnote n}{\\pict\\pngblip 89504e47}b}",
                 "ab"},
        TextCase{"FieldResultKeptInstructionSkipped",
                 "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} now}",
                 "see link now"},
        TextCase{"HiddenTextIsSkipped", "{\\rtf1 a{\\v hidden}b\\v c\\v0 d}", "abd"},
        TextCase{"BinaryDataIsSkipped", "{\\rtf1 a{\\pict\\bin6 }{\\\x01x}}b\\bin3 {{{c}", "abc"},
        TextCase{"CellsEndLinesOnce", "{\\rtf1\\intbl a\\cell b\\par\\cell\\row{\\pard x\\par}}",
                 "a\nb\nx"},
        TextCase{"TextAfterTheOutermostGroupIsIgnored", "{\\rtf1 a}}}} b", "a"},
        TextCase{"UnterminatedDocumentKeepsItsText", "{\\rtf1 {\\b hello", "hello"},
        TextCase{"TruncatedControlWord", "{\\rtf1 abc\\", "abc"},
        TextCase{"TruncatedHexCharacter", "{\\rtf1 abc\\'4", "abc"},
        TextCase{"InvalidHexCharacter", "{\\rtf1 a\\'zzb}", "azzb"},
        TextCase{"HugeParameters",
                 "{\\rtf1 \\fs99999999999999999999 a\\uc99999999999 \\u-99999999999 bcd"
                 "\\cf4294967296 c\\bin99999999999999}",
                 "a\u8000"},
        TextCase{"LongControlWords",
                 "{\\rtf1 x\\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa y}", "xy"},
        TextCase{"DoubleByteCharacterCutShortAtAGroupEnd", "{\\rtf1\\ansi\\ansicpg932 x{\\'82}y}",
                 "x\ufffdy"},
        TextCase{"DoubleByteCharacterCutShortAtTheEnd", "{\\rtf1\\ansi\\ansicpg932 x\\'82",
                 "x\ufffd"},
        TextCase{"DoubleByteCharacterWhole", "{\\rtf1\\ansi\\ansicpg932 x\\'82\\'a0}", "x\u3042"},
        TextCase{"EmptyDocument", "{\\rtf1}", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfHostileInput, DeeplyNestedGroupsAreRefused) {
  const std::string rtf = "{\\rtf1 " + std::string(100000, '{') + "x";
  const auto outcome = ReadRtf(rtf);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_NE(outcome.Cause.find("nested more than 1000 deep"), std::string::npos) << outcome.Cause;
}

TEST(RtfHostileInput, NestingUpToTheLimitIsRead) {
  const int depth = kMaxNestingDepth - 1;
  const std::string rtf =
      "{\\rtf1 " + std::string(depth - 1, '{') + "deep" + std::string(depth, '}');
  EXPECT_EQ(TextOf(rtf), "deep");
}

TEST(RtfHostileInput, DeepNestingThroughImportNamesTheFile) {
  test::TempFolder folder;
  const auto path = folder.Write("deep.rtf", "{\\rtf1 " + std::string(5000, '{'));
  const ImportResult result = ImportDocument(path);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Error, "Cannot read \"" + path.string() +
                              "\": it is a damaged RTF document: its groups are nested more than "
                              "1000 deep.");
}

TEST(RtfHostileInput, EveryPrefixOfARealDocumentReadsWithoutFailing) {
  const std::string rtf = test::ReadBytes(test::SamplePath("features.rtf"));
  for (std::size_t length = 5; length <= rtf.size(); ++length) {
    const auto outcome = ReadRtf(std::string_view(rtf).substr(0, length));
    ASSERT_TRUE(outcome.Ok()) << length;
    ASSERT_LE(outcome.Value.Text.size(), length) << length;
  }
}

TEST(RtfHostileInput, RandomBytesAfterTheHeaderNeverFail) {
  unsigned state = 99;
  for (int round = 0; round < 200; ++round) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 2000; ++i) {
      state = state * 1103515245u + 12345u;
      static const char kAlphabet[] = "{}\\'uc0123456789-abfinpr *;\x80\xff\x00 ";
      rtf.push_back(kAlphabet[(state >> 16) % (sizeof kAlphabet - 1)]);
    }
    const auto outcome = ReadRtf(rtf);
    if (!outcome.Ok()) {
      EXPECT_NE(outcome.Cause.find("nested"), std::string::npos) << outcome.Cause;
    }
  }
}

}  // namespace
}  // namespace vellora
