// docx and odt: the main XML parts read directly (first byte chooses the reader) and whole zip
// packages. The text is bounded by the input, reading is deterministic, a failure has a cause.
#include <string>

#include "DocxReader.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "ImportLimits.h"
#include "OdtReader.h"
#include "WordDocumentReader.h"
#include "ZipPart.h"

namespace vellora::fuzz {

namespace {

void CheckXmlOutcome(const ReadOutcome<std::u16string>& outcome, std::size_t inputSize) {
  if (!outcome.Ok()) {
    FUZZ_REQUIRE(outcome.Value.empty(), "a failed read hands back no text");
    return;
  }
  FUZZ_REQUIRE(outcome.Value.size() <= ImportTextLimit(inputSize),
               "the text stays within the limit for the part's size");
}

}  // namespace

int FuzzWordXml(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::uint8_t choice = input.Byte();
  const std::string_view bytes = input.Rest();
  switch (choice % 3) {
    case 0: {
      const auto first = ExtractDocxText(bytes);
      CheckXmlOutcome(first, bytes.size());
      const auto again = ExtractDocxText(bytes);
      FUZZ_REQUIRE(first.Value == again.Value && first.Cause == again.Cause,
                   "reading the same docx part twice gives the same result");
      break;
    }
    case 1: {
      const auto first = ExtractOdtText(bytes);
      CheckXmlOutcome(first, bytes.size());
      if (first.Ok()) {
        // Runs of white space in the markup count as one space.
        FUZZ_REQUIRE(first.Value.find(u"\r") == std::u16string::npos,
                     "an odt text holds no carriage return");
      }
      const auto again = ExtractOdtText(bytes);
      FUZZ_REQUIRE(first.Value == again.Value && first.Cause == again.Cause,
                   "reading the same odt part twice gives the same result");
      break;
    }
    default: {
      if (!LooksLikeZip(bytes)) return 0;  // other formats have targets of their own
      const auto outcome = ReadWordDocument("fuzz.odt", bytes);
      if (outcome.Ok())
        FUZZ_REQUIRE(outcome.Value.size() <= ImportTextLimit(kMaxZipPartBytes),
                     "a package's text stays within the limit for its largest part");
      else
        FUZZ_REQUIRE(!outcome.Cause.empty() && outcome.Value.empty(),
                     "a failed package read names its cause and hands back no text");
      break;
    }
  }
  return 0;
}

}  // namespace vellora::fuzz
