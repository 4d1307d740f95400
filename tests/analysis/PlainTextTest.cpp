#include <gtest/gtest.h>

#include <random>

#include "UPlainText.h"

namespace {

// One code point at a time, straight from the rules: the bulk decoder must agree with it.
struct SlowStep {
  char32_t codePoint;
  std::size_t length;  // 0 when malformed
};
SlowStep SlowDecodeAt(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) return {b0, 1};
  std::size_t len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b0 >= 0xC0 && b0 < 0xE0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 < 0xF0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 < 0xF8) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return {0, 0};
  }
  if (i + len > s.size()) return {0, 0};
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if (b < 0x80 || b >= 0xC0) return {0, 0};
    cp = cp << 6 | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {cp, len};
}
void SlowAppend(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
  }
}
std::u16string SlowFromUtf8(std::string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const SlowStep step = SlowDecodeAt(s, i);
    SlowAppend(out, step.length == 0 ? U'\uFFFD' : step.codePoint);
    i += step.length == 0 ? 1 : step.length;
  }
  return out;
}
bool SlowIsValid(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const SlowStep step = SlowDecodeAt(s, i);
    if (step.length == 0) return false;
    i += step.length;
  }
  return true;
}
std::u16string SlowArticle(std::string_view bytes) {
  std::u16string text;
  if (SlowIsValid(bytes)) {
    text = SlowFromUtf8(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
  } else {
    for (const char c : bytes) text.push_back(vellora::DecodeWindows1252(std::string(1, c))[0]);
  }
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      out.push_back(u'\n');
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

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

// Long ASCII stretches (the bulk path) broken by every kind of sequence, well-formed or not, at
// every offset within a 16-byte chunk.
TEST(PlainText, BulkDecodingEqualsOneCodePointAtATime) {
  static const std::vector<std::string> pieces = {"abcdefghijklmnopqrstuvwxyz0123456789",
                                                  "a",
                                                  " ",
                                                  "\r\n",
                                                  "\r",
                                                  "\n",
                                                  "\xC3\xA9",
                                                  "\xE2\x80\x99",
                                                  "\xF0\x9F\x98\x80",
                                                  "\xEF\xBB\xBF",
                                                  "\xC0\xAF",
                                                  "\xED\xA0\x80",
                                                  "\xE2\x80",
                                                  "\x80",
                                                  "\xFF",
                                                  "\xF4\x90\x80\x80",
                                                  std::string(1, '\0')};
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    const int count = static_cast<int>(rng() % 12);
    const bool validOnly = round % 2 == 0;
    for (int i = 0; i < count; ++i) {
      const std::string& piece = pieces[rng() % (validOnly ? 10 : pieces.size())];
      bytes +=
          piece.substr(0, piece.size() > 1 && rng() % 7 == 0 ? rng() % piece.size() : piece.size());
    }
    ASSERT_EQ(vellora::IsValidUtf8(bytes), SlowIsValid(bytes)) << testing::PrintToString(bytes);
    ASSERT_EQ(vellora::FromUtf8(bytes), SlowFromUtf8(bytes)) << testing::PrintToString(bytes);
    ASSERT_EQ(vellora::DecodeArticleBytes(bytes), SlowArticle(bytes))
        << testing::PrintToString(bytes);
  }
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
