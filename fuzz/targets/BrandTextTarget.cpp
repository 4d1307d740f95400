// Brand settings text: every field read stays within its cap, a value is exactly what stands
// between its tags, the affiliate address equals the plain replacement whenever it is kept,
// and the lint report names every field dropped for its length.
#include <filesystem>

#include "BrandLint.h"
#include "BrandSettings.h"
#include "BrandText.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"

namespace vellora::fuzz {

namespace {

// The replacement as the rule reads, step by step; only called on short addresses.
std::string ReplaceEveryPlaceholder(std::string text, std::string_view id) {
  const std::string_view placeholder = "%%AFFILIATEID%%";
  for (std::size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + id.size())) {
    text.replace(at, placeholder.size(), id);
  }
  return text;
}

void CheckTrace(const std::string& text, const FieldTrace& f) {
  FUZZ_REQUIRE(f.Value.size() <= FieldCap(f.Name), f.Name + " stays within its cap");
  if (f.DroppedLength > 0) {
    FUZZ_REQUIRE(f.DroppedLength > FieldCap(f.Name) && f.Value.empty(),
                 f.Name + " is dropped only when over its cap");
  }
  if (!f.Value.empty()) {
    const std::size_t after = f.OpeningOffset + OpeningTag(f.Name).size();
    FUZZ_REQUIRE(
        f.OpeningFound && f.ClosingFound && text.compare(after, f.Value.size(), f.Value) == 0,
        f.Name + "'s value is what stands after its opening tag");
    FUZZ_REQUIRE(FindIgnoringCase(f.Value, ClosingTag(f.Name)) == std::string::npos,
                 f.Name + "'s value cannot hold its own closing tag");
  }
}

}  // namespace

int FuzzBrandText(const std::uint8_t* data, std::size_t size) {
  const std::string plain(reinterpret_cast<const char*>(data), size);
  const std::string text = NormalizeSettingsText(plain);
  const BrandTextReading reading = ReadBrandText(text);
  std::size_t dropped = 0;
  for (const FieldTrace& f : reading.Fields) {
    CheckTrace(text, f);
    if (f.DroppedLength > 0) ++dropped;
  }
  for (const FieldTrace& f : reading.SeriesTrace) {
    CheckTrace(text, f);
    if (f.DroppedLength > 0) ++dropped;
  }

  const BrandSettingsRecord settings = SettingsFromReading(reading);
  FUZZ_REQUIRE(settings.AffiliateURL.size() <= kMaxShortFieldBytes,
               "the affiliate address stays within its cap");
  const std::string& url = reading.Value("AffiliateURL");
  if (!settings.AffiliateURL.empty() && url.size() <= 4096) {
    FUZZ_REQUIRE(settings.AffiliateURL == ReplaceEveryPlaceholder(url, settings.AffiliateID),
                 "the one-pass replacement equals replacing placeholder after placeholder");
  }

  const LintReport report = LintBrandText(plain, std::filesystem::path("/nonexistent-fuzz-folder"));
  std::size_t reported = 0;
  for (const std::string& line : report.Lines) {
    if (line.find(" kept for it; it is read as absent") != std::string::npos &&
        line.find("AffiliateURL with") == std::string::npos &&
        line.find("LastNewsId is") == std::string::npos)
      ++reported;
  }
  FUZZ_REQUIRE(reported == dropped, "lint names every field dropped for its length");
  return 0;
}

}  // namespace vellora::fuzz
