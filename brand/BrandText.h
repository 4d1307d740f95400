// The tagged plain text of the brand settings file: line handling, tag search and the fixed
// order in which the loader reads the fields, with a trace of where each field was found.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellora {

// Lines end at CR, LF or CR LF; an empty text has no lines and a final line break adds none.
std::vector<std::string> SplitSettingsLines(std::string_view raw);
// Every line followed by CR LF.
std::string JoinSettingsLines(const std::vector<std::string>& lines);
// Both steps: the text the loader works on.
std::string NormalizeSettingsText(std::string_view raw);

// Position of needle in text at or after from, comparing the letters A-Z regardless of case;
// npos when absent.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from = 0);

std::string OpeningTag(std::string_view name);  // "<%%Name%%>"
std::string ClosingTag(std::string_view name);  // "<%%/Name%%>"

// The value between the first opening tag of text and the closing tag after it. text is cut to
// begin at the closing tag (or right after the opening tag when there is no closing tag, the
// value then being empty); it is left unchanged when the opening tag is absent.
std::string ExtractTagValue(std::string_view openingTag, std::string_view closingTag,
                            std::string& text);

// The fields 1 to 17, in the order the loader reads them.
inline constexpr const char* kBrandFieldOrder[] = {
    "ApplicationName", "BranderCode",  "BranderType",       "AffiliateURL",
    "AffiliateTYPE",   "AffiliateID",  "MasterNewsBaseURL", "PlatinumNewsBaseURL",
    "GoldNewsBaseURL", "MasterPublID", "PlatinumPublID",    "GoldPublID",
    "MakeMoneyButton", "AppHelpURL",   "CopyrightYears",    "CopyrightCompany",
    "AboutText"};
// The numbered series, read after the fields, each from 1 to kMaxSeriesEntries.
inline constexpr const char* kBrandSeries[] = {"Welcome", "Banner", "Link"};
inline constexpr int kMaxSeriesEntries = 16;

// Longest value kept for a field, in bytes: welcome pages and the about text may be long, every
// other field is a name, an address or a short record. A longer value is dropped, read as absent.
inline constexpr std::size_t kMaxShortFieldBytes = 64u * 1024;
inline constexpr std::size_t kMaxPageFieldBytes = 1u << 20;
// The cap of a field or numbered entry by its name ("AboutText", "Welcome3", "Link1", ...).
std::size_t FieldCap(std::string_view name);

// What one tag search of the loader found, with offsets into the whole text.
struct FieldTrace {
  std::string Name;  // e.g. "BranderCode" or "Banner3"
  bool OpeningFound = false;
  bool ClosingFound = false;
  std::size_t OpeningOffset = 0;  // valid when OpeningFound
  std::string Value;              // empty when the value was dropped for its length
  std::size_t DroppedLength = 0;  // length of a value over FieldCap(Name), else 0
};

// The loader's reading of a whole text: the 17 fields and the three series. A value over its
// field's cap reads as empty, so a numbered entry over its cap ends its series; the search still
// goes on after its closing tag.
struct BrandTextReading {
  std::vector<FieldTrace> Fields;  // one per entry of kBrandFieldOrder, in that order
  std::vector<std::string> Welcome, Banners, Links;
  std::vector<FieldTrace> SeriesTrace;  // every series search, in order, the ending one included

  const std::string& Value(std::string_view name) const;  // empty for an unknown name
};

BrandTextReading ReadBrandText(const std::string& text);

}  // namespace vellora
