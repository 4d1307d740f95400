// vellora-brand run in-process: encrypt, decrypt and lint with real files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "BrandSettings.h"
#include "BrandTool.h"
#include "TestSupport.h"
#include "UUtils.h"

namespace vellora {
namespace {

namespace fs = std::filesystem;
using test::ListFolder;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

struct ToolRun {
  int Status;
  std::string Out, Err;
  bool Says(const std::string& s) const { return Out.find(s) != std::string::npos; }
  bool Complains(const std::string& s) const { return Err.find(s) != std::string::npos; }
};

ToolRun Tool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunBrandTool(args, out, err);
  return {status, out.str(), err.str()};
}

std::string Field(const std::string& name, const std::string& value) {
  return OpeningTag(name) + value + ClosingTag(name) + "\r\n";
}

std::string CompleteBrand() {
  std::string text;
  for (const char* name : kBrandFieldOrder) text += Field(name, std::string("value of ") + name);
  text += Field("Welcome1", "<h1>Hi</h1>") + Field("Banner1", "top.gif^http://b/") +
          Field("Link1", "Home^http://h/") + Field("Link2", "Shop^http://s/");
  return text;
}

TEST(BrandToolTest, EncryptThenDecryptRoundTrips) {
  TempFolder dir;
  WriteFile(dir / "plain.txt", CompleteBrand());
  const ToolRun enc = Tool({"encrypt", (dir / "plain.txt").string(), (dir / "box.dat").string()});
  EXPECT_EQ(enc.Status, 0) << enc.Err;
  EXPECT_TRUE(enc.Says("encrypted"));
  EXPECT_EQ(fs::file_size(dir / "box.dat"), CompleteBrand().size() + 20);
  const ToolRun dec = Tool({"decrypt", (dir / "box.dat").string(), (dir / "back.txt").string()});
  EXPECT_EQ(dec.Status, 0) << dec.Err;
  EXPECT_EQ(ReadFile(dir / "back.txt"), CompleteBrand());
}

TEST(BrandToolTest, DefaultPasswordIsTheProgramsOwn) {
  TempFolder dir;
  WriteFile(dir / "plain.txt", Field("ApplicationName", "Made by the tool"));
  ASSERT_EQ(
      Tool({"encrypt", (dir / "plain.txt").string(), (dir / kSettingsFileName).string()}).Status,
      0);
  EXPECT_EQ(LoadBrandFromFolder(dir.Path()).Settings.ApplicationName, "Made by the tool");
}

TEST(BrandToolTest, OwnPasswordIsUsedBothWays) {
  TempFolder dir;
  WriteFile(dir / "plain.txt", "x");
  const std::string pw(40, 'k');
  ASSERT_EQ(
      Tool({"encrypt", "--password", pw, (dir / "plain.txt").string(), (dir / "b.dat").string()})
          .Status,
      0);
  EXPECT_EQ(fs::file_size(dir / "b.dat"), 1u + 12 + 12);  // AES-192: 12-byte salt
  EXPECT_EQ(
      Tool({"decrypt", (dir / "b.dat").string(), (dir / "o.txt").string(), "--password=" + pw})
          .Status,
      0);
  EXPECT_EQ(ReadFile(dir / "o.txt"), "x");
}

TEST(BrandToolTest, WrongPasswordFailsClearlyAndWritesNothing) {
  TempFolder dir;
  WriteFile(dir / "plain.txt", "secret");
  ASSERT_EQ(Tool({"encrypt", (dir / "plain.txt").string(), (dir / "box.dat").string()}).Status, 0);
  const ToolRun r = Tool(
      {"decrypt", "--password", "other", (dir / "box.dat").string(), (dir / "out.txt").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("wrong password")) << r.Err;
  EXPECT_TRUE(r.Complains("was not written"));
  EXPECT_FALSE(fs::exists(dir / "out.txt"));
}

TEST(BrandToolTest, DamagedContainerFailsOnTheCodeAndWritesNothing) {
  TempFolder dir;
  WriteFile(dir / "plain.txt", std::string(5000, 'p'));
  ASSERT_EQ(Tool({"encrypt", (dir / "plain.txt").string(), (dir / "box.dat").string()}).Status, 0);
  std::string box = ReadFile(dir / "box.dat");
  box[2000] ^= 4;
  WriteFile(dir / "box.dat", box);
  const ToolRun r = Tool({"decrypt", (dir / "box.dat").string(), (dir / "out.txt").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("authentication code")) << r.Err;
  EXPECT_FALSE(fs::exists(dir / "out.txt"));
  EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{"box.dat", "plain.txt"}));
}

TEST(BrandToolTest, MissingInputIsReported) {
  TempFolder dir;
  const ToolRun r = Tool({"encrypt", (dir / "nope.txt").string(), (dir / "box.dat").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("nope.txt"));
}

TEST(BrandToolTest, WrongUsageExitsWithTwo) {
  EXPECT_EQ(Tool({}).Status, 2);
  EXPECT_EQ(Tool({"frobnicate", "a"}).Status, 2);
  EXPECT_EQ(Tool({"encrypt", "only-one"}).Status, 2);
  EXPECT_EQ(Tool({"lint"}).Status, 2);
  EXPECT_EQ(Tool({"lint", "f", "--password"}).Status, 2);
  EXPECT_EQ(Tool({"lint", "f", "--bogus"}).Status, 2);
  EXPECT_EQ(Tool({"lint", "f", "--password", std::string(129, 'x')}).Status, 2);
  const ToolRun help = Tool({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_TRUE(help.Says("usage"));
}

// --- lint ------------------------------------------------------------------------------------

ToolRun Lint(const TempFolder& dir, const std::string& plain, bool encrypt = false) {
  if (encrypt) {
    EXPECT_TRUE(EncryptStringToFile(plain, dir / "settings.dat", kBrandPassword).Ok());
  } else {
    WriteFile(dir / "settings.dat", plain);
  }
  return Tool({"lint", (dir / "settings.dat").string()});
}

TEST(BrandLintTest, CompleteBrandInOrderHasNoFaults) {
  TempFolder dir;
  WriteFile(dir / "banner1.dat", "GIF89a");
  for (bool encrypted : {false, true}) {
    const ToolRun r = Lint(dir, CompleteBrand(), encrypted);
    EXPECT_EQ(r.Status, 0) << r.Out;
    EXPECT_TRUE(r.Says(encrypted ? "encrypted settings file" : "plain settings text"));
    EXPECT_TRUE(r.Says("found ApplicationName: 24 bytes")) << r.Out;
    EXPECT_TRUE(r.Says("found AboutText: 18 bytes"));
    EXPECT_TRUE(r.Says("found Link2: 14 bytes"));
    EXPECT_TRUE(r.Says("no faults"));
  }
}

TEST(BrandLintTest, AbsentFieldsAreNoFault) {
  TempFolder dir;
  const ToolRun r = Lint(dir, Field("ApplicationName", "Only this"));
  EXPECT_EQ(r.Status, 0) << r.Out;
  EXPECT_FALSE(r.Says("BranderCode"));
}

TEST(BrandLintTest, FieldBeforeAnEarlierTableFieldIsReportedAsMissed) {
  TempFolder dir;
  const ToolRun r = Lint(dir, Field("BranderType", "Gold") + Field("BranderCode", "C"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(
      r.Says("fault: BranderType at line 1 will be missed: it stands before BranderCode "
             "(line 2)"))
      << r.Out;
}

TEST(BrandLintTest, EveryOrderingTrapIsFound) {
  TempFolder dir;
  // ApplicationName (read first) last in the file: every other field and the link in front of
  // it are passed over.
  std::string text = Field("Link1", "a^b");
  for (const char* name : kBrandFieldOrder) {
    if (std::string(name) != "ApplicationName") text += Field(name, "v");
  }
  text += Field("ApplicationName", "last");
  const ToolRun r = Lint(dir, text);
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Says("found ApplicationName: 4 bytes"));
  EXPECT_TRUE(
      r.Says("fault: BranderCode at line 2 will be missed: it stands before "
             "ApplicationName (line 18)"))
      << r.Out;
  EXPECT_TRUE(r.Says("fault: AboutText at line 17 will be missed"));
  EXPECT_TRUE(r.Says("fault: Link1 at line 1 will be missed: it stands before ApplicationName"));
  EXPECT_TRUE(r.Says("17 fault(s)")) << r.Out;
}

TEST(BrandLintTest, OpeningTagWithoutClosingTag) {
  TempFolder dir;
  const ToolRun r = Lint(dir, "<%%AppHelpURL%%>http://help/\r\n" + Field("CopyrightYears", "2024"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Says("fault: AppHelpURL: opening tag at line 1 has no closing tag")) << r.Out;
  EXPECT_TRUE(r.Says("found CopyrightYears: 4 bytes"));
}

TEST(BrandLintTest, SeriesGapsAndEntriesPast16) {
  TempFolder dir;
  std::string text = Field("Welcome1", "a") + Field("Welcome2", "") + Field("Welcome3", "c") +
                     Field("Link1", "x^y") + Field("Link3", "z^w") + Field("Link01", "q^r");
  for (int n = 1; n <= 17; ++n) text += Field("Banner" + std::to_string(n), "b.png^u");
  for (int n = 1; n <= 16; ++n) WriteFile(dir / ("banner" + std::to_string(n) + ".dat"), "b");
  // The series are read Welcome, Banner, Link: the links in front of the banners are passed over.
  const ToolRun r = Lint(dir, text);
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(
      r.Says("fault: Welcome3 at line 3 is ignored: the Welcome series ends at Welcome2, "
             "which is empty"))
      << r.Out;
  EXPECT_TRUE(r.Says("found Banner16"));
  EXPECT_TRUE(r.Says("fault: Banner17 at line 23 is never read: only Banner1 to Banner16 are"));
  EXPECT_TRUE(r.Says("fault: Link1 at line 4 will be missed"));
  EXPECT_TRUE(r.Says("fault: Link3 at line 5 is ignored"));
  EXPECT_TRUE(r.Says("fault: Link01 at line 6 is never read"));
}

TEST(BrandLintTest, RecordsWithoutCaretAndMissingBannerFiles) {
  TempFolder dir;
  WriteFile(dir / "banner1.dat", "b");
  const ToolRun r = Lint(dir, Field("Banner1", "one.png") + Field("Banner2", "two.png^u") +
                                  Field("Link1", "caption only"));
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Says("fault: Banner1 has no \"^\": its click address is missing")) << r.Out;
  EXPECT_FALSE(r.Says("banner1.dat is missing"));
  EXPECT_TRUE(r.Says("fault: Banner2: banner2.dat is missing next to the settings file"));
  EXPECT_TRUE(r.Says("fault: Link1 has no \"^\": its address is missing"));
}

TEST(BrandLintTest, ReportsTheNewsButton) {
  TempFolder dir;
  const std::string shown = Field("BranderType", "Platinum") +
                            Field("PlatinumNewsBaseURL", "http://n/") +
                            Field("PlatinumPublID", "3");
  EXPECT_TRUE(Lint(dir, shown).Says("news button: shown (BranderType \"Platinum\")"));
  EXPECT_TRUE(Lint(dir, Field("BranderType", "Gold")).Says("news button: hidden"));
}

TEST(BrandLintTest, ReportsTheLastNewsId) {
  TempFolder dir;
  const ToolRun r = Lint(dir, Field("ApplicationName", "A") + Field("LastNewsId", "12"));
  EXPECT_EQ(r.Status, 0);
  EXPECT_TRUE(r.Says("found LastNewsId: 2 bytes"));
}

TEST(BrandLintTest, ReportsFieldsDroppedForTheirLength) {
  TempFolder dir;
  const ToolRun r = Lint(dir, Field("ApplicationName", "A") +
                                  Field("AppHelpURL", std::string(kMaxShortFieldBytes + 1, 'h')) +
                                  Field("AboutText", std::string(kMaxShortFieldBytes + 1, 'a')) +
                                  Field("Welcome1", std::string(kMaxPageFieldBytes + 5, 'w')) +
                                  Field("Welcome2", "<p>never read</p>"));
  EXPECT_EQ(r.Status, 1) << r.Out;
  EXPECT_TRUE(
      r.Says("fault: AppHelpURL at line 2 is 65537 bytes, more than the 65536 kept for "
             "it; it is read as absent"))
      << r.Out;
  EXPECT_TRUE(r.Says("found AboutText: 65537 bytes")) << r.Out;
  EXPECT_TRUE(r.Says("fault: Welcome1 at line 4 is 1048581 bytes, more than the 1048576 kept"))
      << r.Out;
  EXPECT_TRUE(
      r.Says("Welcome2 at line 5 is ignored: the Welcome series ends at Welcome1, which "
             "is too long"))
      << r.Out;
  EXPECT_TRUE(r.Says("3 fault(s)")) << r.Out;
}

TEST(BrandLintTest, ReportsAnAffiliateAddressThatWouldPassItsCap) {
  TempFolder dir;
  std::string url;
  for (int i = 0; i < 1000; ++i) url += "%%AFFILIATEID%%";
  const ToolRun r =
      Lint(dir, Field("AffiliateURL", url) + Field("AffiliateID", std::string(100, 'i')));
  EXPECT_EQ(r.Status, 1) << r.Out;
  EXPECT_TRUE(
      r.Says("fault: AffiliateURL with AffiliateID (100 bytes) put in for its "
             "placeholders is more than the 65536 bytes kept for it; it is read as absent"))
      << r.Out;
  const ToolRun fine = Lint(dir, Field("AffiliateURL", url) + Field("AffiliateID", "i"));
  EXPECT_EQ(fine.Status, 0) << fine.Out;
}

TEST(BrandLintTest, UnreadableInputsFailWithAMessage) {
  TempFolder dir;
  // Random bytes: neither a container nor a text with tags.
  std::string junk(3000, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 97 + 13);
  WriteFile(dir / "junk.dat", junk);
  ToolRun r = Tool({"lint", (dir / "junk.dat").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("holds no settings tags")) << r.Err;

  // A container cut short, and one with a damaged code.
  ASSERT_TRUE(EncryptStringToFile(CompleteBrand(), dir / "box.dat", kBrandPassword).Ok());
  const std::string box = ReadFile(dir / "box.dat");
  WriteFile(dir / "cut.dat", box.substr(0, box.size() / 2));
  r = Tool({"lint", (dir / "cut.dat").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("cut.dat"));

  // Huge: refused before reading.
  { std::ofstream(dir / "huge.dat").put('x'); }
  fs::resize_file(dir / "huge.dat", kMaxSettingsTextSize + 100);
  r = Tool({"lint", (dir / "huge.dat").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("too large")) << r.Err;

  r = Tool({"lint", (dir / "absent.dat").string()});
  EXPECT_EQ(r.Status, 1);
  EXPECT_TRUE(r.Complains("absent.dat"));

  WriteFile(dir / "empty.dat", "");
  r = Tool({"lint", (dir / "empty.dat").string()});
  EXPECT_EQ(r.Status, 1);
}

}  // namespace
}  // namespace vellora
