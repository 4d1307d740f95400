// Time of the crafted inputs that once cost far more than their size: many affiliate
// placeholders, an ODT run of spaces, and a long keyword that nearly matches everywhere.
#include <benchmark/benchmark.h>

#include <string>

#include "BrandSettings.h"
#include "BrandText.h"
#include "OdtReader.h"
#include "UKeyword.h"

namespace {

std::string AffiliateText(std::int64_t placeholders, std::size_t idLength) {
  std::string url;
  for (std::int64_t i = 0; i < placeholders; ++i) url += "%%AFFILIATEID%%";
  return "<%%AffiliateURL%%>" + url + "<%%/AffiliateURL%%><%%AffiliateID%%>" +
         std::string(idLength, '1') + "<%%/AffiliateID%%>";
}

// Reading the fields of a settings text with n placeholders and a one-byte id, as the program
// does at start-up. Past 4,369 placeholders the address alone passes its 64 KiB cap.
void BM_AffiliatePlaceholders(benchmark::State& state) {
  const std::string text = vellora::NormalizeSettingsText(AffiliateText(state.range(0), 1));
  std::size_t length = 0;
  for (auto _ : state) {
    const auto settings = vellora::SettingsFromReading(vellora::ReadBrandText(text));
    length = settings.AffiliateURL.size();
    benchmark::DoNotOptimize(length);
  }
  state.counters["address bytes"] = static_cast<double>(length);
}
BENCHMARK(BM_AffiliatePlaceholders)
    ->Arg(4000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond);

// The replacement itself within the cap: 4,000 placeholders, a 16-byte id, 64,000 bytes out.
void BM_AffiliateAddressAtTheCap(benchmark::State& state) {
  std::string url;
  for (int i = 0; i < 4000; ++i) url += "%%AFFILIATEID%%";
  for (auto _ : state) benchmark::DoNotOptimize(vellora::AffiliateAddress(url, "1234567890123456"));
}
BENCHMARK(BM_AffiliateAddressAtTheCap)->Unit(benchmark::kMicrosecond);

// The content.xml of the 394-byte .odt that read as 134,217,727 spaces.
void BM_OdtSpaceRun(benchmark::State& state) {
  const std::string xml =
      "<office:document-content "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
      "<text:p><text:s text:c=\"134217727\"/></text:p></office:text></office:body>"
      "</office:document-content>";
  for (auto _ : state) benchmark::DoNotOptimize(vellora::ExtractOdtText(xml));
}
BENCHMARK(BM_OdtSpaceRun)->Unit(benchmark::kMicrosecond);

// Every occurrence of a keyword of k units "a" in 80,000 units "a": the search that was
// text x keyword.
void BM_LongKeyword(benchmark::State& state) {
  const std::u16string text(80000, u'a');
  const std::u16string keyword(static_cast<std::size_t>(state.range(0)), u'A');
  std::size_t count = 0;
  for (auto _ : state) {
    count = vellora::FindAllKeywordOccurrences(text, keyword).size();
    benchmark::DoNotOptimize(count);
  }
  state.counters["occurrences"] = static_cast<double>(count);
}
BENCHMARK(BM_LongKeyword)->Arg(8)->Arg(800)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace
