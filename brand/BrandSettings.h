// The brand settings file dbsettings.dat next to the program: loading the brand (fields, random
// welcome page, banner and links, skin and icon) without any window, and the last news id.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "AesLib.h"
#include "AppVersion.h"
#include "BrandText.h"

namespace vellora {

inline constexpr char kSettingsFileName[] = "dbsettings.dat";
inline constexpr char kIconFileName[] = "main.ico";
inline constexpr char kDefaultMakeMoneyCaption[] = "Make Money";
// A settings text is a few kilobytes; anything far larger is not a settings file.
inline constexpr std::uint64_t kMaxSettingsTextSize = 16u << 20;

// The brand's fields (8-bit strings, empty when the file does not give them) and the chosen
// welcome page, banner and links.
struct BrandSettingsRecord {
  std::string ApplicationName, BranderCode, BranderType, AffiliateURL, AffiliateTYPE, AffiliateID;
  std::string MasterNewsBaseURL, PlatinumNewsBaseURL, GoldNewsBaseURL;
  std::string MasterPublID, PlatinumPublID, GoldPublID;
  std::string AppHelpURL, CopyrightYears, CopyrightCompany, AboutText;
  std::string WelcomeHtml;
  std::string BannerImage, BannerClickURL;
  std::string Link1Caption, Link1URL, Link2Caption, Link2URL;
};

// The process-wide record: filled once by the main window at start-up, read-only afterwards.
extern BrandSettingsRecord BrandSettings;

// The banner drawn for display: its file under its own name and the image format its record
// names, so nothing in the program folder is renamed to show it.
struct BannerChoice {
  int Number = 0;              // N of BannerN and banner<N>.dat
  std::filesystem::path File;  // <program folder>/banner<N>.dat
  std::string ImageName;       // file-name part of the record's image name
  std::string Format;          // lower-case extension without the dot ("gif", "png", ...)
  bool Animated = false;       // true for GIF: shown in the animated control
};

// What the main window applies after loading.
struct BrandLook {
  std::string Caption;  // ApplicationName + " v" + AppVersion
  bool NewsButtonVisible = false;
  std::string MakeMoneyCaption = kDefaultMakeMoneyCaption;
  bool BannerHandCursor = false;                  // BannerClickURL is not empty
  std::optional<BannerChoice> Banner;             // nothing: hide the banner panel
  bool LinksPanelVisible = false;                 // Link1Caption is not empty
  std::optional<std::string> SkinStyleSheet;      // mainskin.dat inflated; nothing: built-in skin
  std::optional<std::filesystem::path> IconPath;  // main.ico when present
};

struct BrandLoad {
  // False when dbsettings.dat is absent: the window then changes nothing at all.
  bool SettingsFilePresent = false;
  BrandSettingsRecord Settings;
  BrandLook Look;
  // Why the fields are empty although the file is present (not shown to the user).
  std::optional<CryptResult> DecryptionProblem;
};

// Draws an index uniformly from 0 to count - 1 (count > 0).
using IndexDraw = std::function<std::size_t(std::size_t count)>;
// A fresh generator seeded from the system's entropy and the clock.
IndexDraw DefaultIndexDraw();

// The news button rule: the level named by BranderType (exact case; "Free" uses the Master
// fields) shows the button when its publisher id and news base address are both set.
bool NewsButtonVisible(const BrandSettingsRecord& settings);

// AffiliateURL with every "%%AFFILIATEID%%" (exact case) replaced by the affiliate id, in one
// pass; nothing when the address would grow past kMaxShortFieldBytes (it is then dropped).
std::optional<std::string> AffiliateAddress(std::string_view url, std::string_view affiliateId);

struct BrandTextReading;
// The plain fields of a settings text read in loader order, the affiliate id put into the
// affiliate address; the drawn welcome page, banner and links stay empty.
BrandSettingsRecord SettingsFromReading(const BrandTextReading& reading);

// File-name part of a banner image name: what follows its last backslash, slash or colon.
std::string BannerFileNamePart(std::string_view imageName);
// Lower-case extension of that part, without the dot; empty when it has none.
std::string BannerImageFormat(std::string_view imageName);

// Step by step, for tests: the fields of a settings text with the affiliate substitution, then
// the draws and the files of the program folder.
BrandLoad BrandFromText(const std::string& plainText, const std::filesystem::path& programDir,
                        const IndexDraw& draw);

// Everything LoadBrandSettings needs: reads dbsettings.dat of programDir (decrypted in memory,
// nothing is written), draws welcome page, banner and links, and looks for skin and icon.
BrandLoad LoadBrandFromFolder(const std::filesystem::path& programDir, const IndexDraw& draw);
BrandLoad LoadBrandFromFolder(const std::filesystem::path& programDir);

// The stored last news id, or empty when the file, the field or a verified container is missing
// (an id longer than kMaxShortFieldBytes reads as missing).
std::string ReadLastNewsId(const std::filesystem::path& programDir);

// Stores id in the first line holding "<%%LastNewsId%%>" (exact case), replacing that line, or
// in a new last line. Writes nothing when the file is absent (Ok) or does not verify (error);
// the file is replaced atomically.
CryptResult WriteLastNewsId(const std::filesystem::path& programDir, std::string_view id);

}  // namespace vellora
