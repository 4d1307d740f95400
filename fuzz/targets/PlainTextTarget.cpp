// Plain text and the code pages RTF names: no byte is lost or multiplied, line breaks become LF,
// and a line feed after any input decodes to exactly one more line feed (it ends whatever
// character was cut short, which must already have given U+FFFD).
#include <array>

#include "CodePages.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "UPlainText.h"

namespace vellora::fuzz {

namespace {

constexpr std::array<int, 20> kCodePages = {1252, 437,  850,   874,   932,  936,  949,
                                            950,  1250, 1251,  1253,  1254, 1255, 1256,
                                            1257, 1258, 10000, 65001, 0,    12345};

bool IsSingleBytePage(int codePage) {
  return codePage != 932 && codePage != 936 && codePage != 949 && codePage != 950 &&
         codePage != 65001;
}

}  // namespace

int FuzzPlainText(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const int codePage = kCodePages[input.Byte() % kCodePages.size()];
  const std::string_view bytes = input.Rest();

  const std::u16string article = DecodeArticleBytes(bytes);
  FUZZ_REQUIRE(article.size() <= bytes.size(), "a plain text has no more units than bytes");
  FUZZ_REQUIRE(article.find(u'\r') == std::u16string::npos, "every line break becomes LF");
  FUZZ_REQUIRE(article.empty() == (bytes.empty() || bytes == "\xEF\xBB\xBF"),
               "only an empty file, or one holding just a byte order mark, reads as empty");

  const std::u16string decoded = DecodeCodePage(bytes, codePage);
  const std::string what = "code page " + std::to_string(codePage);
  FUZZ_REQUIRE(decoded.size() <= bytes.size(), what + ": no more units than bytes");
  FUZZ_REQUIRE(bytes.empty() == decoded.empty(), what + ": no input is lost whole");
  if (IsSingleBytePage(codePage))
    FUZZ_REQUIRE(decoded.size() == bytes.size(), what + ": one unit per byte");
  const std::u16string withLineFeed = DecodeCodePage(std::string(bytes) + "\n", codePage);
  FUZZ_REQUIRE(withLineFeed == decoded + u"\n",
               what + ": a line feed after the input adds exactly a line feed");
  return 0;
}

}  // namespace vellora::fuzz
