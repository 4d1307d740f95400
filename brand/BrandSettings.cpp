#include "BrandSettings.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <system_error>

#include "SkinFile.h"
#include "UUtils.h"

namespace vellora {
namespace fs = std::filesystem;

BrandSettingsRecord BrandSettings;

namespace {

constexpr char kAffiliatePlaceholder[] = "%%AFFILIATEID%%";
constexpr char kLastNewsIdField[] = "LastNewsId";

// The first two fields of a caret-separated record; a missing field is empty.
std::pair<std::string, std::string> FirstTwoFields(std::string_view record) {
  std::vector<std::string> fields;
  SplitByChar('^', record, fields);
  return {fields.size() > 0 ? fields[0] : std::string(),
          fields.size() > 1 ? fields[1] : std::string()};
}

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

std::size_t Draw(const IndexDraw& draw, std::size_t count) {
  const std::size_t i = draw(count);
  return i < count ? i : count - 1;  // a generator out of range must not index past the list
}

// Decrypts the settings file into memory; the plain text never touches the disk.
CryptResult DecryptSettings(const fs::path& programDir, std::string& plain) {
  return DecryptFileToString(programDir / kSettingsFileName, kBrandPassword, kMaxSettingsTextSize,
                             plain);
}

}  // namespace

IndexDraw DefaultIndexDraw() {
  std::random_device rd;
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::seed_seq seed{rd(), rd(), static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
  auto engine = std::make_shared<std::mt19937_64>(seed);
  return [engine](std::size_t count) {
    std::uniform_int_distribution<std::size_t> pick(0, count - 1);
    return pick(*engine);
  };
}

bool NewsButtonVisible(const BrandSettingsRecord& s) {
  auto both = [](const std::string& a, const std::string& b) { return !a.empty() && !b.empty(); };
  if (s.BranderType == "Master" || s.BranderType == "Free") {
    return both(s.MasterPublID, s.MasterNewsBaseURL);
  }
  if (s.BranderType == "Platinum") return both(s.PlatinumPublID, s.PlatinumNewsBaseURL);
  if (s.BranderType == "Gold") return both(s.GoldPublID, s.GoldNewsBaseURL);
  return false;
}

std::string BannerFileNamePart(std::string_view imageName) {
  const std::size_t cut = imageName.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? imageName : imageName.substr(cut + 1));
}

std::string BannerImageFormat(std::string_view imageName) {
  const std::string name = BannerFileNamePart(imageName);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

std::optional<std::string> AffiliateAddress(std::string_view url, std::string_view affiliateId) {
  const std::string_view placeholder = kAffiliatePlaceholder;
  std::size_t count = 0;
  for (std::size_t at = url.find(placeholder); at != std::string_view::npos;
       at = url.find(placeholder, at + placeholder.size())) {
    ++count;
  }
  // The length is known before anything is built: a crafted file cannot make it huge. The
  // first test divides so that no product can overflow.
  const std::size_t kept = url.size() - count * placeholder.size();
  if (count != 0 &&
      affiliateId.size() > (kMaxShortFieldBytes - std::min(kept, kMaxShortFieldBytes)) / count)
    return std::nullopt;
  if (kept + count * affiliateId.size() > kMaxShortFieldBytes) return std::nullopt;
  std::string address;
  address.reserve(kept + count * affiliateId.size());
  std::size_t from = 0;
  for (std::size_t at = url.find(placeholder); at != std::string_view::npos;
       at = url.find(placeholder, from)) {
    address.append(url, from, at - from);
    address.append(affiliateId);
    from = at + placeholder.size();
  }
  address.append(url, from);
  return address;
}

BrandSettingsRecord SettingsFromReading(const BrandTextReading& reading) {
  BrandSettingsRecord s;
  s.ApplicationName = reading.Value("ApplicationName");
  s.BranderCode = reading.Value("BranderCode");
  s.BranderType = reading.Value("BranderType");
  s.AffiliateURL = reading.Value("AffiliateURL");
  s.AffiliateTYPE = reading.Value("AffiliateTYPE");
  s.AffiliateID = reading.Value("AffiliateID");
  s.AffiliateURL = AffiliateAddress(s.AffiliateURL, s.AffiliateID).value_or(std::string());
  s.MasterNewsBaseURL = reading.Value("MasterNewsBaseURL");
  s.PlatinumNewsBaseURL = reading.Value("PlatinumNewsBaseURL");
  s.GoldNewsBaseURL = reading.Value("GoldNewsBaseURL");
  s.MasterPublID = reading.Value("MasterPublID");
  s.PlatinumPublID = reading.Value("PlatinumPublID");
  s.GoldPublID = reading.Value("GoldPublID");
  s.AppHelpURL = reading.Value("AppHelpURL");
  s.CopyrightYears = reading.Value("CopyrightYears");
  s.CopyrightCompany = reading.Value("CopyrightCompany");
  s.AboutText = reading.Value("AboutText");
  return s;
}

BrandLoad BrandFromText(const std::string& plainText, const fs::path& programDir,
                        const IndexDraw& draw) {
  BrandLoad load;
  load.SettingsFilePresent = true;
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(plainText));
  BrandSettingsRecord& s = load.Settings;
  BrandLook& look = load.Look;

  s = SettingsFromReading(r);

  look.Caption = s.ApplicationName + " v" + AppVersion;
  look.NewsButtonVisible = NewsButtonVisible(s);
  const std::string& makeMoney = r.Value("MakeMoneyButton");
  look.MakeMoneyCaption = makeMoney.empty() ? std::string(kDefaultMakeMoneyCaption) : makeMoney;

  if (!r.Welcome.empty()) s.WelcomeHtml = r.Welcome[Draw(draw, r.Welcome.size())];

  if (!r.Banners.empty()) {
    const std::size_t index = Draw(draw, r.Banners.size());
    std::tie(s.BannerImage, s.BannerClickURL) = FirstTwoFields(r.Banners[index]);
    look.BannerHandCursor = !s.BannerClickURL.empty();
    const int number = static_cast<int>(index) + 1;
    const fs::path file = programDir / ("banner" + std::to_string(number) + ".dat");
    if (!s.BannerImage.empty() && IsFile(file)) {
      BannerChoice banner;
      banner.Number = number;
      banner.File = file;
      banner.ImageName = BannerFileNamePart(s.BannerImage);
      banner.Format = BannerImageFormat(s.BannerImage);
      banner.Animated = banner.Format == "gif";
      look.Banner = std::move(banner);
    }
  }

  std::vector<std::string> links = r.Links;
  if (!links.empty()) {
    const std::size_t first = Draw(draw, links.size());
    std::tie(s.Link1Caption, s.Link1URL) = FirstTwoFields(links[first]);
    links.erase(links.begin() + static_cast<std::ptrdiff_t>(first));
    if (!links.empty()) {
      std::tie(s.Link2Caption, s.Link2URL) = FirstTwoFields(links[Draw(draw, links.size())]);
    }
  }
  look.LinksPanelVisible = !s.Link1Caption.empty();

  if (auto skin = LoadSkinFile(programDir / kSkinFileName)) look.SkinStyleSheet = std::move(skin);
  if (IsFile(programDir / kIconFileName)) look.IconPath = programDir / kIconFileName;
  return load;
}

BrandLoad LoadBrandFromFolder(const fs::path& programDir, const IndexDraw& draw) {
  std::error_code ec;
  if (!fs::exists(programDir / kSettingsFileName, ec)) return BrandLoad{};
  std::string plain;
  CryptResult decrypted = DecryptSettings(programDir, plain);
  // A file that does not verify gives every field empty; skin and icon still apply.
  if (!decrypted.Ok()) plain.clear();
  BrandLoad load = BrandFromText(plain, programDir, draw);
  if (!decrypted.Ok()) load.DecryptionProblem = std::move(decrypted);
  return load;
}

BrandLoad LoadBrandFromFolder(const fs::path& programDir) {
  return LoadBrandFromFolder(programDir, DefaultIndexDraw());
}

std::string ReadLastNewsId(const fs::path& programDir) {
  std::error_code ec;
  if (!fs::exists(programDir / kSettingsFileName, ec)) return {};
  std::string plain;
  if (!DecryptSettings(programDir, plain).Ok()) return {};
  std::string text = NormalizeSettingsText(plain);
  std::string id =
      ExtractTagValue(OpeningTag(kLastNewsIdField), ClosingTag(kLastNewsIdField), text);
  if (id.size() > kMaxShortFieldBytes) id.clear();  // over its cap: read as absent
  return id;
}

CryptResult WriteLastNewsId(const fs::path& programDir, std::string_view id) {
  std::error_code ec;
  const fs::path file = programDir / kSettingsFileName;
  if (!fs::exists(file, ec)) return CryptResult::Success();
  std::string plain;
  // Rewriting from a text that did not verify would replace the brand with nothing.
  if (CryptResult decrypted = DecryptSettings(programDir, plain); !decrypted.Ok()) return decrypted;

  std::vector<std::string> lines = SplitSettingsLines(plain);
  const std::string open = OpeningTag(kLastNewsIdField);
  const std::string field = open + std::string(id) + ClosingTag(kLastNewsIdField);
  bool replaced = false;
  for (auto& line : lines) {
    if (line.find(open) != std::string::npos) {
      line = field;
      replaced = true;
      break;
    }
  }
  if (!replaced) lines.push_back(field);
  return EncryptStringToFile(JoinSettingsLines(lines), file, kBrandPassword);
}

}  // namespace vellora
