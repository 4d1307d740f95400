// Decoding the code pages RTF documents name: whole characters, undecodable bytes and a
// double-byte character cut short at the end.
#include <gtest/gtest.h>

#include "CodePages.h"
#include "UPlainText.h"

namespace vellora {
namespace {

struct CodePageCase {
  const char* name;
  int codePage;
  std::string bytes;
  std::u16string expected;
};

void PrintTo(const CodePageCase& c, std::ostream* os) {
  *os << c.name;
}

class CodePageDecoding : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageDecoding, GivesTheCharacters) {
  EXPECT_EQ(ToUtf8(DecodeCodePage(GetParam().bytes, GetParam().codePage)),
            ToUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageDecoding,
    ::testing::Values(
        CodePageCase{"ShiftJisWholeCharacter", 932, "x\x82\xa0", u"x\u3042"},
        CodePageCase{"ShiftJisLeadByteCutShort", 932, "x\x82", u"x\ufffd"},
        CodePageCase{"ShiftJisOnlyALeadByte", 932, "\x82", u"\ufffd"},
        CodePageCase{"ShiftJisUndecodableBytesInTheMiddle", 932, "x\xff\xffy", u"x\ufffd\ufffdy"},
        CodePageCase{"ShiftJisSubstituteControlIsKept", 932,
                     std::string("a\x1a"
                                 "b\x82\x1a",
                                 5),
                     u"a\u001ab\ufffd\u001a"},
        CodePageCase{"GbkLeadByteCutShort", 936, "x\x81", u"x\ufffd"},
        CodePageCase{"Big5LeadByteCutShort", 950, "x\xa4", u"x\ufffd"},
        CodePageCase{"KoreanLeadByteCutShort", 949, "x\xb0", u"x\ufffd"},
        CodePageCase{"KoreanWholeCharacter", 949, "\xb0\xa1", u"\uac00"},
        CodePageCase{"Utf8SequenceCutShort", 65001, "x\xe2\x82", u"x\ufffd\ufffd"},
        CodePageCase{"SingleBytePageKeepsEveryByte", 1251, "\xcf\xf0", u"\u041f\u0440"},
        CodePageCase{"EmptyInput", 932, "", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePages, EveryByteOfADoubleBytePageGivesSomething) {
  // No byte is lost silently: alone, each gives a character or U+FFFD, never nothing.
  for (const int codePage : {932, 936, 949, 950}) {
    for (int b = 1; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      EXPECT_EQ(DecodeCodePage(one, codePage).size(), 1u) << codePage << " byte " << b;
    }
  }
}

}  // namespace
}  // namespace vellora
