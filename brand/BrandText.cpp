#include "BrandText.h"

namespace vellora {

namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// One search of the loader on the whole text from pos, moving pos as ExtractTagValue cuts.
FieldTrace ExtractAt(const std::string& text, std::string_view name, std::size_t& pos) {
  FieldTrace trace;
  trace.Name = std::string(name);
  const std::string open = OpeningTag(name);
  const std::string close = ClosingTag(name);
  const std::size_t at = FindIgnoringCase(text, open, pos);
  if (at == std::string::npos) return trace;
  trace.OpeningFound = true;
  trace.OpeningOffset = at;
  const std::size_t after = at + open.size();
  const std::size_t end = FindIgnoringCase(text, close, after);
  if (end == std::string::npos) {
    pos = after;
    return trace;
  }
  trace.ClosingFound = true;
  if (end - after > FieldCap(name)) {
    trace.DroppedLength = end - after;
  } else {
    trace.Value = text.substr(after, end - after);
  }
  pos = end;
  return trace;
}

}  // namespace

std::size_t FieldCap(std::string_view name) {
  const bool page = name == "AboutText" || name.substr(0, 7) == "Welcome";
  return page ? kMaxPageFieldBytes : kMaxShortFieldBytes;
}

std::vector<std::string> SplitSettingsLines(std::string_view raw) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < raw.size()) {
    const char c = raw[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(raw.substr(start, i - start));
      i += (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < raw.size()) lines.emplace_back(raw.substr(start));
  return lines;
}

std::string JoinSettingsLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string NormalizeSettingsText(std::string_view raw) {
  return JoinSettingsLines(SplitSettingsLines(raw));
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.size() > text.size() || from > text.size() - needle.size()) {
    return needle.empty() && from <= text.size() ? from : std::string_view::npos;
  }
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && LowerAscii(text[i + k]) == LowerAscii(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

std::string OpeningTag(std::string_view name) {
  return "<%%" + std::string(name) + "%%>";
}
std::string ClosingTag(std::string_view name) {
  return "<%%/" + std::string(name) + "%%>";
}

std::string ExtractTagValue(std::string_view openingTag, std::string_view closingTag,
                            std::string& text) {
  const std::size_t at = FindIgnoringCase(text, openingTag);
  if (at == std::string::npos) return {};
  const std::size_t after = at + openingTag.size();
  const std::size_t end = FindIgnoringCase(text, closingTag, after);
  if (end == std::string::npos) {
    text.erase(0, after);
    return {};
  }
  std::string value = text.substr(after, end - after);
  text.erase(0, end);
  return value;
}

const std::string& BrandTextReading::Value(std::string_view name) const {
  static const std::string kEmpty;
  for (const auto& f : Fields) {
    if (f.Name == name) return f.Value;
  }
  return kEmpty;
}

BrandTextReading ReadBrandText(const std::string& text) {
  BrandTextReading reading;
  std::size_t pos = 0;
  for (const char* name : kBrandFieldOrder) reading.Fields.push_back(ExtractAt(text, name, pos));
  std::vector<std::string>* lists[] = {&reading.Welcome, &reading.Banners, &reading.Links};
  for (std::size_t s = 0; s < std::size(kBrandSeries); ++s) {
    for (int n = 1; n <= kMaxSeriesEntries; ++n) {
      FieldTrace trace = ExtractAt(text, std::string(kBrandSeries[s]) + std::to_string(n), pos);
      const bool ends = trace.Value.empty();
      if (!ends) lists[s]->push_back(trace.Value);
      reading.SeriesTrace.push_back(std::move(trace));
      if (ends) break;
    }
  }
  return reading;
}

}  // namespace vellora
