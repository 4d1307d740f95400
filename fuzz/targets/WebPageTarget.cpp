// Web pages: any bytes give readable text or a cause, never both; the text never holds a tab, a
// carriage return or a run of spaces, stays within a fixed multiple of the input, and the same
// bytes always read the same.
#include <string>

#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "WebPage.h"

namespace vellora::fuzz {

int FuzzWebPage(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ReadOutcome<std::u16string> page = ReadWebPage(bytes);
  if (!page.Ok()) {
    FUZZ_REQUIRE(page.Value.empty(), "a refused page gives no text");
    return 0;
  }
  const std::u16string& text = page.Value;
  FUZZ_REQUIRE(text.find(u'\t') == std::u16string::npos, "a tab never separates words");
  FUZZ_REQUIRE(text.find(u'\r') == std::u16string::npos, "lines end with LF only");
  FUZZ_REQUIRE(text.find(u"  ") == std::u16string::npos, "runs of spaces collapse");
  // The title may stand once before the content; everything else comes from the input.
  FUZZ_REQUIRE(text.size() <= 2 * size + 16, "the text stays within twice the input");
  FUZZ_REQUIRE(ReadWebPage(bytes).Value == text, "the same page always reads the same");
  return 0;
}

}  // namespace vellora::fuzz
