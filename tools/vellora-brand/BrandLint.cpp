#include "BrandLint.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "BrandSettings.h"
#include "BrandText.h"

namespace vellora {

namespace {

// Where each line starts, so that naming the line of an offset costs a search, not a walk.
std::vector<std::size_t> LineStarts(const std::string& text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '\r' && text[i + 1] == '\n') starts.push_back(i + 2);
  }
  return starts;
}

// Every opening tag "<%%" + prefix + digits + "%%>" in the text: number text -> first offset.
std::map<std::string, std::size_t> NumberedTags(const std::string& text,
                                                const std::string& prefix) {
  std::map<std::string, std::size_t> found;
  const std::string head = "<%%" + prefix;
  std::size_t pos = 0;
  while ((pos = FindIgnoringCase(text, head, pos)) != std::string::npos) {
    std::size_t i = pos + head.size();
    std::size_t digitsEnd = i;
    while (digitsEnd < text.size() && text[digitsEnd] >= '0' && text[digitsEnd] <= '9') ++digitsEnd;
    if (digitsEnd > i && text.compare(digitsEnd, 3, "%%>") == 0) {
      found.emplace(text.substr(i, digitsEnd - i), pos);
    }
    pos += head.size();
  }
  return found;
}

class Linter {
 public:
  Linter(const std::string& plain, std::filesystem::path folder)
      : text_(NormalizeSettingsText(plain)),
        lineStarts_(LineStarts(text_)),
        reading_(ReadBrandText(text_)),
        folder_(std::move(folder)) {}

  LintReport Run() {
    const FieldTrace* lastFound = nullptr;
    for (const FieldTrace& f : reading_.Fields) Check(f, lastFound);
    CheckAffiliateAddress();
    CheckSeries();
    CheckNewsButton();
    std::string id = text_;
    const std::string lastNewsId =
        ExtractTagValue(OpeningTag("LastNewsId"), ClosingTag("LastNewsId"), id);
    if (lastNewsId.size() > kMaxShortFieldBytes) {
      Fault("LastNewsId is " + std::to_string(lastNewsId.size()) + " bytes, more than the " +
            std::to_string(kMaxShortFieldBytes) + " kept for it; it is read as absent");
    } else if (FindIgnoringCase(text_, OpeningTag("LastNewsId")) != std::string::npos) {
      Info("found LastNewsId: " + std::to_string(lastNewsId.size()) + " bytes (\"" + lastNewsId +
           "\")");
    }
    report_.Lines.push_back(report_.Faults == 0 ? "no faults"
                                                : std::to_string(report_.Faults) + " fault(s)");
    return std::move(report_);
  }

 private:
  std::string At(std::size_t offset) const {
    const auto line = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    return "line " + std::to_string(line - lineStarts_.begin());
  }

  void Info(std::string line) { report_.Lines.push_back(std::move(line)); }
  void Fault(std::string line) {
    report_.Lines.push_back("fault: " + std::move(line));
    ++report_.Faults;
  }

  // One search of the loader: found, dangling, missed because of the order, or simply absent.
  void Check(const FieldTrace& f, const FieldTrace*& lastFound) {
    if (f.DroppedLength > 0) {
      Fault(f.Name + " at " + At(f.OpeningOffset) + " is " + std::to_string(f.DroppedLength) +
            " bytes, more than the " + std::to_string(FieldCap(f.Name)) +
            " kept for it; it is read as absent");
      lastFound = &f;
      return;
    }
    if (f.OpeningFound && f.ClosingFound) {
      Info("found " + f.Name + ": " + std::to_string(f.Value.size()) + " bytes");
      lastFound = &f;
      return;
    }
    if (f.OpeningFound) {
      Fault(f.Name + ": opening tag at " + At(f.OpeningOffset) + " has no closing tag " +
            ClosingTag(f.Name) + "; its value is read as empty");
      lastFound = &f;
      return;
    }
    const std::size_t anywhere = FindIgnoringCase(text_, OpeningTag(f.Name));
    if (anywhere != std::string::npos) {
      std::string why = "it stands before fields the loader reads first";
      if (lastFound != nullptr) {
        why = "it stands before " + lastFound->Name + " (" + At(lastFound->OpeningOffset) +
              "), which the loader reads first";
      }
      Fault(f.Name + " at " + At(anywhere) + " will be missed: " + why);
    }
  }

  void CheckSeries() {
    const std::vector<std::string>* lists[] = {&reading_.Welcome, &reading_.Banners,
                                               &reading_.Links};
    const FieldTrace* lastFound = nullptr;
    for (const FieldTrace& f : reading_.Fields) {
      if (f.OpeningFound) lastFound = &f;
    }
    std::size_t traceAt = 0;
    for (std::size_t s = 0; s < std::size(kBrandSeries); ++s) {
      const std::string series = kBrandSeries[s];
      // The searches of this series: entries read, then possibly the one that ended it.
      std::vector<const FieldTrace*> searches;
      for (; traceAt < reading_.SeriesTrace.size(); ++traceAt) {
        const FieldTrace& t = reading_.SeriesTrace[traceAt];
        if (t.Name.compare(0, series.size(), series) != 0 ||
            !std::all_of(t.Name.begin() + static_cast<long>(series.size()), t.Name.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
          break;
        }
        searches.push_back(&t);
      }
      const std::size_t read = lists[s]->size();
      std::string endedBy;
      const FieldTrace* passedBy = nullptr;  // what the loader had read when an entry was missed
      for (const FieldTrace* t : searches) {
        if (t->DroppedLength > 0) {
          Check(*t, lastFound);
          endedBy = t->Name + ", which is too long";
          continue;
        }
        if (!t->Value.empty()) {
          Check(*t, lastFound);
          CheckRecord(series, *t);
          continue;
        }
        if (t->OpeningFound && !t->ClosingFound) {
          Check(*t, lastFound);
          endedBy = t->Name + ", which has no closing tag";
        } else if (t->OpeningFound) {
          lastFound = t;
          endedBy = t->Name + ", which is empty";
        } else {
          endedBy = t->Name + ", which the loader does not find";
          passedBy = lastFound;
        }
      }
      for (const auto& [number, offset] : NumberedTags(text_, series)) {
        const std::string name = series + number;
        const bool canonical = number[0] != '0' && number.size() <= 2;
        const int n = canonical ? std::stoi(number) : 0;
        if (canonical && n >= 1 && n <= static_cast<int>(read)) continue;  // read
        if (!canonical || n < 1 || n > kMaxSeriesEntries) {
          Fault(name + " at " + At(offset) + " is never read: only " + series + "1 to " + series +
                std::to_string(kMaxSeriesEntries) + " are");
        } else if (searches.empty() || static_cast<std::size_t>(n) > read + 1) {
          Fault(name + " at " + At(offset) + " is ignored: the " + series + " series ends at " +
                endedBy);
        } else if (static_cast<std::size_t>(n) == read + 1 && !(searches.back()->OpeningFound)) {
          Fault(name + " at " + At(offset) + " will be missed: it stands before " +
                (passedBy ? passedBy->Name + " (" + At(passedBy->OpeningOffset) +
                                "), which the loader reads first"
                          : std::string("fields the loader reads first")));
        }
      }
    }
  }

  void CheckRecord(const std::string& series, const FieldTrace& t) {
    if (series == "Welcome") return;
    if (t.Value.find('^') == std::string::npos) {
      Fault(t.Name + " has no \"^\": its " +
            std::string(series == "Banner" ? "click address" : "address") + " is missing");
    }
    if (series == "Banner") {
      const std::string file = "banner" + t.Name.substr(series.size()) + ".dat";
      std::error_code ec;
      if (!std::filesystem::is_regular_file(folder_ / file, ec)) {
        Fault(t.Name + ": " + file + " is missing next to the settings file");
      }
    }
  }

  void CheckAffiliateAddress() {
    const std::string& url = reading_.Value("AffiliateURL");
    const std::string& id = reading_.Value("AffiliateID");
    if (url.empty() || AffiliateAddress(url, id)) return;
    Fault("AffiliateURL with AffiliateID (" + std::to_string(id.size()) +
          " bytes) put in for its placeholders is more than the " +
          std::to_string(kMaxShortFieldBytes) + " bytes kept for it; it is read as absent");
  }

  void CheckNewsButton() {
    const BrandSettingsRecord s = SettingsFromReading(reading_);
    Info(std::string("news button: ") + (NewsButtonVisible(s) ? "shown" : "hidden") +
         " (BranderType \"" + s.BranderType + "\")");
  }

  std::string text_;
  std::vector<std::size_t> lineStarts_;
  BrandTextReading reading_;
  std::filesystem::path folder_;
  LintReport report_;
};

}  // namespace

LintReport LintBrandText(const std::string& plain, const std::filesystem::path& bannerFolder) {
  return Linter(plain, bannerFolder).Run();
}

}  // namespace vellora
