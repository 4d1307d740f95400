// RTF: the runs spell the text exactly, neighbouring runs differ in format, and the text stays
// within the limit the input's size allows.
#include "DocumentImport.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "ImportLimits.h"
#include "RtfReader.h"

namespace vellora::fuzz {

namespace {

bool SameFormat(const FormattedRun& a, const FormattedRun& b) {
  return a.Bold == b.Bold && a.Italic == b.Italic && a.Underline == b.Underline &&
         a.Color == b.Color && a.PointSize == b.PointSize;
}

}  // namespace

int FuzzRtf(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto outcome = ReadRtf(bytes);
  if (!outcome.Ok()) {
    FUZZ_REQUIRE(outcome.Cause == "its text is too long" ||
                     outcome.Cause.find("nested more than") != std::string::npos,
                 "an RTF failure is one of the documented causes: " + outcome.Cause);
    FUZZ_REQUIRE(outcome.Value.Text.empty() && outcome.Value.Runs.empty(),
                 "a failed read hands back no text");
    return 0;
  }
  const ImportedDocument& document = outcome.Value;
  FUZZ_REQUIRE(document.Text.size() <= ImportTextLimit(size),
               "the text stays within the limit for the input's size");
  std::u16string spelled;
  for (std::size_t i = 0; i < document.Runs.size(); ++i) {
    FUZZ_REQUIRE(!document.Runs[i].Text.empty(), "no run is empty");
    if (i > 0)
      FUZZ_REQUIRE(!SameFormat(document.Runs[i - 1], document.Runs[i]),
                   "neighbouring runs of the same format are one run");
    spelled += document.Runs[i].Text;
  }
  FUZZ_REQUIRE(spelled == document.Text, "the runs spell the text exactly");
  return 0;
}

}  // namespace vellora::fuzz
