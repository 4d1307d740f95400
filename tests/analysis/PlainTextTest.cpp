#include <gtest/gtest.h>

#include "UPlainText.h"

namespace {

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::u16string text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class DecodeTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, ReadsAsAPaneWouldHoldIt) {
  EXPECT_EQ(vellora::DecodeArticleBytes(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    PlainText, DecodeTable,
    testing::Values(
        DecodeCase{"Ascii", "plain", u"plain"},
        DecodeCase{"Utf8", "caf\xC3\xA9 \xE2\x80\x99", u"caf\u00e9 \u2019"},
        DecodeCase{"Utf8WithBom", "\xEF\xBB\xBFhi", u"hi"},
        DecodeCase{"Utf8Astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
        DecodeCase{"Windows1252", "caf\xE9 \x92 \x96 \x80", u"caf\u00e9 \u2019 \u2013 \u20ac"},
        DecodeCase{"UnassignedWindows1252BytesKeepTheirValue", "\x81\x8D\x8F\x90\x9D",
                   u"\u0081\u008d\u008f\u0090\u009d"},
        DecodeCase{"OverlongUtf8IsNotUtf8", "\xC0\xAF", u"\u00c0\u00af"},
        DecodeCase{"EncodedSurrogateIsNotUtf8", "\xED\xA0\x80", u"\u00ed\u00a0\u20ac"},
        DecodeCase{"TruncatedUtf8IsNotUtf8", "ab\xE2\x80", u"ab\u00e2\u20ac"},
        DecodeCase{"BeyondUnicodeIsNotUtf8", "\xF4\x90\x80\x80", u"\u00f4\u0090\u20ac\u20ac"},
        DecodeCase{"CrLfAndLoneCrBecomeLf", "a\r\nb\rc\n\rd", u"a\nb\nc\n\nd"},
        DecodeCase{"NulBytesSurvive", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        DecodeCase{"Empty", "", u""}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(PlainText, Utf8RoundTrips) {
  const std::u16string text = u"\u00e9\u4e2d\U0001F600 x";
  EXPECT_EQ(vellora::FromUtf8(vellora::ToUtf8(text)), text);
  EXPECT_EQ(vellora::ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD") << "lone surrogate";
}

TEST(PlainText, RandomBytesAlwaysDecode) {
  std::uint32_t seed = 1;
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    for (int i = 0; i < round * 7; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes.push_back(static_cast<char>(seed >> 16));
    }
    const std::u16string text = vellora::DecodeArticleBytes(bytes);
    EXPECT_EQ(text.find(u'\r'), std::u16string::npos);
    EXPECT_LE(text.size(), bytes.size());
  }
}

}  // namespace
