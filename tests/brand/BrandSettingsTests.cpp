// Loading the brand from a real program folder, the draws, the banner and link choice, skin and
// icon, and the last news id stored in the encrypted settings file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <deque>
#include <functional>

#include "BrandSettings.h"
#include "PeakMemory.h"
#include "SkinFile.h"
#include "TestSupport.h"
#include "UUtils.h"

namespace vellora {
namespace {

namespace fs = std::filesystem;
using test::ListFolder;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

std::string Field(const std::string& name, const std::string& value) {
  return OpeningTag(name) + value + ClosingTag(name) + "\r\n";
}

void WriteSettings(const fs::path& dir, const std::string& plain) {
  ASSERT_TRUE(EncryptStringToFile(plain, dir / kSettingsFileName, kBrandPassword).Ok());
}

std::string DecryptedSettings(const fs::path& dir) {
  std::string plain;
  EXPECT_TRUE(DecryptFileToString(dir / kSettingsFileName, kBrandPassword, 1 << 20, plain).Ok());
  return plain;
}

// Answers the draws from a script and records the counts it was asked for.
struct ScriptedDraw {
  std::deque<std::size_t> Answers;
  std::vector<std::size_t> Counts;
  IndexDraw Fn() {
    return [this](std::size_t count) {
      Counts.push_back(count);
      std::size_t a = Answers.empty() ? 0 : Answers.front();
      if (!Answers.empty()) Answers.pop_front();
      return a;
    };
  }
};

BrandLoad LoadText(const TempFolder& dir, const std::string& plain, ScriptedDraw& draw) {
  WriteSettings(dir.Path(), plain);
  return LoadBrandFromFolder(dir.Path(), draw.Fn());
}

TEST(BrandLoadTest, AbsentSettingsFileChangesNothingEvenWithSkinAndIcon) {
  TempFolder dir;
  WriteFile(dir / kSkinFileName, DeflateSkin("QWidget { color: red; }"));
  WriteFile(dir / kIconFileName, "icon");
  const BrandLoad load = LoadBrandFromFolder(dir.Path());
  EXPECT_FALSE(load.SettingsFilePresent);
  EXPECT_FALSE(load.Look.SkinStyleSheet.has_value());
  EXPECT_FALSE(load.Look.IconPath.has_value());
  EXPECT_EQ(load.Settings.ApplicationName, "");
}

TEST(BrandLoadTest, FullBrandFillsRecordAndLook) {
  TempFolder dir;
  ScriptedDraw draw;
  const std::string plain =
      Field("ApplicationName", "Acme Checker") + Field("BranderCode", "AC1") +
      Field("BranderType", "Gold") + Field("AffiliateURL", "http://a.example/?id=%%AFFILIATEID%%") +
      Field("AffiliateTYPE", "t") + Field("AffiliateID", "77") +
      Field("GoldNewsBaseURL", "http://news.example/") + Field("GoldPublID", "9") +
      Field("MakeMoneyButton", "Earn") + Field("AppHelpURL", "http://help.example/") +
      Field("CopyrightYears", "2001-2024") + Field("CopyrightCompany", "Acme") +
      Field("AboutText", "About");
  const BrandLoad load = LoadText(dir, plain, draw);
  const auto& s = load.Settings;
  EXPECT_TRUE(load.SettingsFilePresent);
  EXPECT_FALSE(load.DecryptionProblem.has_value());
  EXPECT_EQ(s.ApplicationName, "Acme Checker");
  EXPECT_EQ(s.BranderCode, "AC1");
  EXPECT_EQ(s.AffiliateURL, "http://a.example/?id=77");
  EXPECT_EQ(s.AffiliateTYPE, "t");
  EXPECT_EQ(s.GoldPublID, "9");
  EXPECT_EQ(s.AppHelpURL, "http://help.example/");
  EXPECT_EQ(s.CopyrightYears, "2001-2024");
  EXPECT_EQ(s.CopyrightCompany, "Acme");
  EXPECT_EQ(s.AboutText, "About");
  EXPECT_EQ(load.Look.Caption, "Acme Checker v2.0");
  EXPECT_TRUE(load.Look.NewsButtonVisible);
  EXPECT_EQ(load.Look.MakeMoneyCaption, "Earn");
  EXPECT_TRUE(draw.Counts.empty());  // nothing to draw from
}

TEST(BrandLoadTest, AffiliatePlaceholderIsReplacedEverywhereButOnlyInExactCase) {
  TempFolder dir;
  ScriptedDraw draw;
  const BrandLoad load =
      LoadText(dir,
               Field("AffiliateURL", "x=%%AFFILIATEID%%&y=%%AFFILIATEID%%&z=%%affiliateid%%") +
                   Field("AffiliateID", "A1"),
               draw);
  EXPECT_EQ(load.Settings.AffiliateURL, "x=A1&y=A1&z=%%affiliateid%%");
  const BrandLoad noId = LoadText(dir, Field("AffiliateURL", "x=%%AFFILIATEID%%"), draw);
  EXPECT_EQ(noId.Settings.AffiliateURL, "x=");
}

// Found by hand: one-byte ids over 80k placeholders took 13 s, and a 320 KB text made a 400 MB
// address. The address is built in one pass and capped.
TEST(BrandLoadTest, AffiliateAddressThatWouldPassItsCapIsDroppedWithoutBeingBuilt) {
  TempFolder dir;
  ScriptedDraw draw;
  std::string placeholders;
  for (int i = 0; i < 4000; ++i) placeholders += "%%AFFILIATEID%%";  // 60,000 bytes: within cap
  const std::string id(4096, '7');  // 4000 x 4096 bytes once put in
  BrandLoad load;
  const std::uint64_t growth = test::PeakGrowth([&] {
    load = LoadText(dir,
                    Field("ApplicationName", "Brand") + Field("AffiliateURL", placeholders) +
                        Field("AffiliateID", id) + Field("AppHelpURL", "help"),
                    draw);
  });
  EXPECT_EQ(load.Settings.AffiliateURL, "");
  EXPECT_EQ(load.Settings.AffiliateID, id);
  EXPECT_EQ(load.Settings.ApplicationName, "Brand");
  EXPECT_EQ(load.Settings.AppHelpURL, "help");
  EXPECT_LT(growth, 16u << 20);
}

TEST(BrandLoadTest, AffiliateAddressUpToItsCapIsKept) {
  std::string url;
  for (int i = 0; i < 4000; ++i) url += "%%AFFILIATEID%%";
  const auto address = AffiliateAddress(url, "1234567890123456");  // 64,000 bytes
  ASSERT_TRUE(address.has_value());
  EXPECT_EQ(address->size(), 64000u);
  EXPECT_EQ(address->substr(0, 20), "12345678901234561234");
  EXPECT_FALSE(AffiliateAddress(url, std::string(17, 'x')).has_value());  // 68,000 bytes
  EXPECT_EQ(AffiliateAddress("a%%AFFILIATEID%b%%AFFILIATEID%%%%AFFILIATEID%%c", "<>"),
            "a%%AFFILIATEID%b<><>c");
  EXPECT_EQ(AffiliateAddress("", "x"), "");
}

TEST(BrandLoadTest, FieldsOverTheirCapReadAsAbsent) {
  TempFolder dir;
  ScriptedDraw draw;
  const std::string longPage(kMaxPageFieldBytes + 1, 'p');
  const std::string page(kMaxShortFieldBytes + 1, 'q');  // too long for an address, fine as a page
  const BrandLoad load =
      LoadText(dir,
               Field("ApplicationName", std::string(kMaxShortFieldBytes + 1, 'n')) +
                   Field("BranderCode", "BC") + Field("AboutText", page) +
                   Field("Welcome1", longPage) + Field("Welcome2", "second") +
                   Field("Link1", "cap^" + std::string(kMaxShortFieldBytes, 'u')) +
                   Field("Link2", "ok^http://x"),
               draw);
  EXPECT_EQ(load.Settings.ApplicationName, "");
  EXPECT_EQ(load.Look.Caption, std::string(" v") + AppVersion);
  EXPECT_EQ(load.Settings.BranderCode, "BC");
  EXPECT_EQ(load.Settings.AboutText, page);
  // Welcome1 is read as absent, which ends the series before Welcome2.
  EXPECT_EQ(load.Settings.WelcomeHtml, "");
  // Link1 is over its cap too: no links at all.
  EXPECT_EQ(load.Settings.Link1Caption, "");
  EXPECT_FALSE(load.Look.LinksPanelVisible);
}

TEST(BrandLoadTest, NewsButtonRule) {
  struct Row {
    const char* Type;
    bool Master, Platinum, Gold;
    bool Visible;
  };
  const Row rows[] = {
      {"Master", true, false, false, true},   {"Master", false, true, true, false},
      {"Platinum", false, true, false, true}, {"Platinum", true, false, true, false},
      {"Gold", false, false, true, true},     {"Gold", true, true, false, false},
      {"Free", true, false, false, true},     {"Free", false, true, true, false},
      {"master", true, true, true, false},    {"", true, true, true, false},
      {"Silver", true, true, true, false},
  };
  for (const auto& r : rows) {
    BrandSettingsRecord s;
    s.BranderType = r.Type;
    if (r.Master) s.MasterPublID = s.MasterNewsBaseURL = "m";
    if (r.Platinum) s.PlatinumPublID = s.PlatinumNewsBaseURL = "p";
    if (r.Gold) s.GoldPublID = s.GoldNewsBaseURL = "g";
    EXPECT_EQ(NewsButtonVisible(s), r.Visible) << r.Type << r.Master << r.Platinum << r.Gold;
  }
  BrandSettingsRecord half;
  half.BranderType = "Gold";
  half.GoldPublID = "1";
  EXPECT_FALSE(NewsButtonVisible(half));
}

TEST(BrandLoadTest, FreeWithMasterFieldsShowsNewsButtonThroughTheFile) {
  TempFolder dir;
  ScriptedDraw draw;
  const std::string fields = Field("MasterNewsBaseURL", "http://n/") + Field("MasterPublID", "5");
  EXPECT_TRUE(LoadText(dir, Field("BranderType", "Free") + fields, draw).Look.NewsButtonVisible);
  EXPECT_FALSE(LoadText(dir, Field("BranderType", "master") + fields, draw).Look.NewsButtonVisible);
}

TEST(BrandLoadTest, EmptyFieldsGiveDefaults) {
  TempFolder dir;
  ScriptedDraw draw;
  const BrandLoad load = LoadText(dir, "no tags at all\r\n", draw);
  EXPECT_EQ(load.Look.Caption, " v2.0");
  EXPECT_EQ(load.Look.MakeMoneyCaption, "Make Money");
  EXPECT_FALSE(load.Look.NewsButtonVisible);
  EXPECT_FALSE(load.Look.Banner.has_value());
  EXPECT_FALSE(load.Look.LinksPanelVisible);
  EXPECT_EQ(load.Settings.WelcomeHtml, "");
}

TEST(BrandLoadTest, DrawsAreWelcomeBannerThenTwoDifferentLinks) {
  TempFolder dir;
  ScriptedDraw draw;
  draw.Answers = {2, 1, 0, 0};
  WriteFile(dir / "banner2.dat", "png bytes");
  const std::string plain = Field("Welcome1", "<p>1</p>") + Field("Welcome2", "<p>2</p>") +
                            Field("Welcome3", "<p>3</p>") + Field("Banner1", "one.png^http://1/") +
                            Field("Banner2", "two.png^http://2/") +
                            Field("Link1", "L1^http://l1/") + Field("Link2", "L2^http://l2/") +
                            Field("Link3", "L3^http://l3/");
  const BrandLoad load = LoadText(dir, plain, draw);
  EXPECT_EQ(draw.Counts, (std::vector<std::size_t>{3, 2, 3, 2}));
  EXPECT_EQ(load.Settings.WelcomeHtml, "<p>3</p>");
  EXPECT_EQ(load.Settings.BannerImage, "two.png");
  EXPECT_EQ(load.Settings.BannerClickURL, "http://2/");
  EXPECT_TRUE(load.Look.BannerHandCursor);
  ASSERT_TRUE(load.Look.Banner.has_value());
  EXPECT_EQ(load.Look.Banner->File, dir / "banner2.dat");
  // The first link is taken out before the second draw: index 0 then gives Link2.
  EXPECT_EQ(load.Settings.Link1Caption, "L1");
  EXPECT_EQ(load.Settings.Link1URL, "http://l1/");
  EXPECT_EQ(load.Settings.Link2Caption, "L2");
  EXPECT_EQ(load.Settings.Link2URL, "http://l2/");
  EXPECT_TRUE(load.Look.LinksPanelVisible);
}

TEST(BrandLoadTest, OneLinkShowsThePanelWithAnEmptySecondLink) {
  TempFolder dir;
  ScriptedDraw draw;
  const BrandLoad load = LoadText(dir, Field("Link1", "Only^http://only/"), draw);
  EXPECT_TRUE(load.Look.LinksPanelVisible);
  EXPECT_EQ(load.Settings.Link1Caption, "Only");
  EXPECT_EQ(load.Settings.Link2Caption, "");
  EXPECT_EQ(load.Settings.Link2URL, "");
  EXPECT_EQ(draw.Counts, std::vector<std::size_t>{1});
}

TEST(BrandLoadTest, NoLinkHidesThePanel) {
  TempFolder dir;
  ScriptedDraw draw;
  EXPECT_FALSE(LoadText(dir, Field("ApplicationName", "x"), draw).Look.LinksPanelVisible);
}

TEST(BrandLoadTest, RecordsWithFewerThanTwoFieldsGiveEmptyFields) {
  TempFolder dir;
  ScriptedDraw draw;
  WriteFile(dir / "banner1.dat", "gif bytes");
  const BrandLoad load = LoadText(
      dir, Field("Banner1", "solo.gif") + Field("Link1", "caption only") + Field("Link2", "^"),
      draw);
  EXPECT_EQ(load.Settings.BannerImage, "solo.gif");
  EXPECT_EQ(load.Settings.BannerClickURL, "");
  EXPECT_FALSE(load.Look.BannerHandCursor);
  EXPECT_TRUE(load.Look.Banner.has_value());
  EXPECT_EQ(load.Settings.Link1Caption, "caption only");
  EXPECT_EQ(load.Settings.Link1URL, "");
  EXPECT_EQ(load.Settings.Link2Caption, "");
  EXPECT_EQ(load.Settings.Link2URL, "");
}

TEST(BrandLoadTest, BannerEntryThreeUsesBanner3AndCapitalGifIsAnimated) {
  TempFolder dir;
  ScriptedDraw draw;
  draw.Answers = {2};
  WriteFile(dir / "banner3.dat", "GIF89a");
  const std::string plain = Field("Banner1", "a.png^u1") + Field("Banner2", "b.png^u2") +
                            Field("Banner3", "C:\\Images\\Promo.GIF^http://promo/");
  WriteSettings(dir.Path(), plain);
  const auto before = ListFolder(dir.Path());
  const BrandLoad load = LoadBrandFromFolder(dir.Path(), draw.Fn());
  ASSERT_TRUE(load.Look.Banner.has_value());
  EXPECT_EQ(load.Look.Banner->Number, 3);
  EXPECT_EQ(load.Look.Banner->File, dir / "banner3.dat");
  EXPECT_EQ(load.Look.Banner->ImageName, "Promo.GIF");
  EXPECT_EQ(load.Look.Banner->Format, "gif");
  EXPECT_TRUE(load.Look.Banner->Animated);
  // Shown under its own name: nothing in the folder was renamed or added.
  EXPECT_EQ(ListFolder(dir.Path()), before);
}

TEST(BrandLoadTest, StillBannerFormatComesFromTheImageName) {
  EXPECT_EQ(BannerImageFormat("pics/Top.JPG"), "jpg");
  EXPECT_EQ(BannerImageFormat("d:top.png"), "png");
  EXPECT_EQ(BannerImageFormat("noext"), "");
  EXPECT_EQ(BannerImageFormat("dir.gif\\banner"), "");
  EXPECT_EQ(BannerFileNamePart("C:\\a\\b:c.bmp"), "c.bmp");
}

TEST(BrandLoadTest, MissingBannerFileOrImageNameHidesThePanel) {
  TempFolder dir;
  ScriptedDraw draw;
  const BrandLoad load = LoadText(dir, Field("Banner1", "x.png^http://x/"), draw);
  EXPECT_FALSE(load.Look.Banner.has_value());
  EXPECT_TRUE(load.Look.BannerHandCursor);
  WriteFile(dir / "banner1.dat", "x");
  const BrandLoad noName = LoadText(dir, Field("Banner1", "^http://x/"), draw);
  EXPECT_FALSE(noName.Look.Banner.has_value());
}

TEST(BrandLoadTest, SkinAndIconAreTakenFromTheFolder) {
  TempFolder dir;
  ScriptedDraw draw;
  WriteFile(dir / kSkinFileName, DeflateSkin("QPushButton { color: blue; }"));
  WriteFile(dir / kIconFileName, "ico");
  const BrandLoad load = LoadText(dir, Field("ApplicationName", "S"), draw);
  ASSERT_TRUE(load.Look.SkinStyleSheet.has_value());
  EXPECT_EQ(*load.Look.SkinStyleSheet, "QPushButton { color: blue; }");
  EXPECT_EQ(load.Look.IconPath, dir / kIconFileName);
}

TEST(BrandLoadTest, UndecryptableFileGivesEmptyFieldsButKeepsSkinAndIcon) {
  TempFolder dir;
  WriteFile(dir / kSettingsFileName, "this is not a container at all, just text");
  WriteFile(dir / kSkinFileName, DeflateSkin("QWidget {}"));
  WriteFile(dir / kIconFileName, "ico");
  const BrandLoad load = LoadBrandFromFolder(dir.Path());
  EXPECT_TRUE(load.SettingsFilePresent);
  ASSERT_TRUE(load.DecryptionProblem.has_value());
  EXPECT_NE(load.DecryptionProblem->Message.find(kSettingsFileName), std::string::npos);
  EXPECT_EQ(load.Look.Caption, " v2.0");
  EXPECT_EQ(load.Look.MakeMoneyCaption, "Make Money");
  EXPECT_FALSE(load.Look.NewsButtonVisible);
  EXPECT_FALSE(load.Look.Banner.has_value());
  EXPECT_FALSE(load.Look.LinksPanelVisible);
  EXPECT_TRUE(load.Look.SkinStyleSheet.has_value());
  EXPECT_TRUE(load.Look.IconPath.has_value());
}

TEST(BrandLoadTest, DamagedContainerIsNotReadEvenPartly) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("ApplicationName", "Brand"));
  std::string box = ReadFile(dir / kSettingsFileName);
  box[box.size() - 1] ^= 1;  // the code no longer matches
  WriteFile(dir / kSettingsFileName, box);
  const BrandLoad load = LoadBrandFromFolder(dir.Path());
  EXPECT_EQ(load.Settings.ApplicationName, "");
  ASSERT_TRUE(load.DecryptionProblem.has_value());
  EXPECT_EQ(load.DecryptionProblem->Status, CryptStatus::AuthenticationFailed);
}

TEST(BrandLoadTest, LoadingLeavesNoPlainCopyInTheFolder) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("ApplicationName", "Quiet"));
  const auto before = ListFolder(dir.Path());
  EXPECT_EQ(LoadBrandFromFolder(dir.Path()).Settings.ApplicationName, "Quiet");
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "");
  EXPECT_EQ(ListFolder(dir.Path()), before);
  EXPECT_FALSE(fs::exists(dir / "dbsettings.sim"));
}

// True when the folder really refuses new files (it does not for root).
bool FolderRefusesWrites(const fs::path& dir) {
  const fs::path probe = dir / "probe";
  FILE* f = std::fopen(probe.c_str(), "w");
  if (f == nullptr) return true;
  std::fclose(f);
  fs::remove(probe);
  return false;
}

// Runs check in a child process; as root the child first becomes the unprivileged user
// "nobody", for whom permission bits hold. Returns the child's exit status.
int RunWithoutPrivileges(const std::function<int()>& check) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
    ::_exit(check());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST(BrandLoadTest, ReadOnlyProgramFolderStillLoadsAndRefusesTheNewsIdCleanly) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("ApplicationName", "RO") + Field("LastNewsId", "4"));
  const std::string before = ReadFile(dir / kSettingsFileName);
  fs::permissions(dir / kSettingsFileName, fs::perms::owner_read | fs::perms::owner_write |
                                               fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  const int status = RunWithoutPrivileges([&] {
    if (!FolderRefusesWrites(dir.Path())) return 2;  // cannot simulate here
    if (LoadBrandFromFolder(dir.Path()).Settings.ApplicationName != "RO") return 3;
    if (ReadLastNewsId(dir.Path()) != "4") return 4;
    if (WriteLastNewsId(dir.Path(), "5").Ok()) return 5;
    return 0;
  });
  fs::permissions(dir.Path(), fs::perms::owner_all);
  if (status == 2 || status == 100) GTEST_SKIP() << "no way to make the folder read-only here";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(dir / kSettingsFileName), before);
  EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{kSettingsFileName});
}

TEST(BrandLoadTest, DefaultDrawStaysInRangeAndReachesEveryIndex) {
  IndexDraw draw = DefaultIndexDraw();
  std::vector<int> seen(5, 0);
  for (int i = 0; i < 2000; ++i) {
    const std::size_t k = draw(5);
    ASSERT_LT(k, 5u);
    ++seen[k];
  }
  for (int n : seen) EXPECT_GT(n, 0);
  EXPECT_EQ(draw(1), 0u);
}

TEST(BrandLoadTest, OutOfRangeDrawIsClamped) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("Welcome1", "a") + Field("Welcome2", "b"));
  const BrandLoad load = LoadBrandFromFolder(dir.Path(), [](std::size_t) { return 99; });
  EXPECT_EQ(load.Settings.WelcomeHtml, "b");
}

// --- Last news id ----------------------------------------------------------------------------

TEST(LastNewsIdTest, AbsentFileReadsEmptyAndWritesNothing) {
  TempFolder dir;
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "");
  EXPECT_TRUE(WriteLastNewsId(dir.Path(), "3").Ok());
  EXPECT_TRUE(ListFolder(dir.Path()).empty());
}

TEST(LastNewsIdTest, MissingFieldIsAppendedAsTheLastLine) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("ApplicationName", "A"));
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "");
  ASSERT_TRUE(WriteLastNewsId(dir.Path(), "42").Ok());
  EXPECT_EQ(DecryptedSettings(dir.Path()),
            Field("ApplicationName", "A") + "<%%LastNewsId%%>42<%%/LastNewsId%%>\r\n");
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "42");
}

TEST(LastNewsIdTest, TheWholeLineIsReplacedLosingOtherText) {
  TempFolder dir;
  WriteSettings(dir.Path(), "before <%%LastNewsId%%>1<%%/LastNewsId%%> after\nnext line");
  ASSERT_TRUE(WriteLastNewsId(dir.Path(), "2").Ok());
  EXPECT_EQ(DecryptedSettings(dir.Path()), "<%%LastNewsId%%>2<%%/LastNewsId%%>\r\nnext line\r\n");
}

TEST(LastNewsIdTest, IdOverItsCapReadsAsMissing) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("LastNewsId", std::string(kMaxShortFieldBytes + 1, '9')));
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "");
  WriteSettings(dir.Path(), Field("LastNewsId", std::string(kMaxShortFieldBytes, '9')));
  EXPECT_EQ(ReadLastNewsId(dir.Path()).size(), kMaxShortFieldBytes);
}

TEST(LastNewsIdTest, OtherCaseIsReadButNotReplaced) {
  TempFolder dir;
  WriteSettings(dir.Path(), "<%%lastnewsid%%>7<%%/LASTNEWSID%%>\r\n");
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "7");
  ASSERT_TRUE(WriteLastNewsId(dir.Path(), "8").Ok());
  EXPECT_EQ(DecryptedSettings(dir.Path()),
            "<%%lastnewsid%%>7<%%/LASTNEWSID%%>\r\n<%%LastNewsId%%>8<%%/LastNewsId%%>\r\n");
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "7");
}

TEST(LastNewsIdTest, EachWriteMakesANewContainerChangingOnlyTheIdLineAndLineEnds) {
  TempFolder dir;
  WriteSettings(
      dir.Path(),
      "<%%ApplicationName%%>A<%%/ApplicationName%%>\n<%%LastNewsId%%>1<%%/LastNewsId%%>\nz");
  const std::string box0 = ReadFile(dir / kSettingsFileName);
  ASSERT_TRUE(WriteLastNewsId(dir.Path(), "1").Ok());
  const std::string box1 = ReadFile(dir / kSettingsFileName);
  ASSERT_TRUE(WriteLastNewsId(dir.Path(), "1").Ok());
  const std::string box2 = ReadFile(dir / kSettingsFileName);
  EXPECT_NE(box0.substr(0, 8), box1.substr(0, 8));
  EXPECT_NE(box1.substr(0, 8), box2.substr(0, 8));
  EXPECT_NE(box1, box2);
  EXPECT_EQ(DecryptedSettings(dir.Path()),
            "<%%ApplicationName%%>A<%%/ApplicationName%%>\r\n<%%LastNewsId%%>1<%%/"
            "LastNewsId%%>\r\nz\r\n");
  EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{kSettingsFileName});
}

TEST(LastNewsIdTest, UnverifiedFileIsNeverRewritten) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("ApplicationName", "Keep") + Field("LastNewsId", "1"));
  std::string box = ReadFile(dir / kSettingsFileName);
  box[12] ^= 0x20;  // damaged data: the code fails
  WriteFile(dir / kSettingsFileName, box);
  const CryptResult r = WriteLastNewsId(dir.Path(), "2");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.Status, CryptStatus::AuthenticationFailed);
  EXPECT_EQ(ReadFile(dir / kSettingsFileName), box);
  EXPECT_EQ(ReadLastNewsId(dir.Path()), "");

  WriteFile(dir / kSettingsFileName, "short");
  EXPECT_FALSE(WriteLastNewsId(dir.Path(), "2").Ok());
  EXPECT_EQ(ReadFile(dir / kSettingsFileName), "short");
}

TEST(LastNewsIdTest, FullDiskLeavesTheSettingsFileWhole) {
  TempFolder dir;
  WriteSettings(dir.Path(), Field("AboutText", std::string(20000, 'a')));
  const std::string before = ReadFile(dir / kSettingsFileName);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 8192;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const CryptResult r = WriteLastNewsId(dir.Path(), "9");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(ReadFile(dir / kSettingsFileName), before);
  EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{kSettingsFileName});
}

}  // namespace
}  // namespace vellora
