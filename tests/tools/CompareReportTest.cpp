// vellora-compare --report: the format by extension, usage errors and unwritable files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CompareTool.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

class CompareReport : public testing::Test {
 protected:
  void SetUp() override {
    file1_ = folder_.Write("Erster Artikel.txt",
                           "The quick brown fox jumps over the lazy dog. Alpha beta gamma.\n");
    file2_ =
        folder_.Write("zweiter <Text>.txt",
                      "Alpha beta gamma delta. The quick brown fox jumps over the lazy dog.\n");
  }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    args.push_back(file1_.string());
    args.push_back(file2_.string());
    return vellora::RunCompareTool(args, out_, err_);
  }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  vellora::test::TempFolder folder_;
  fs::path file1_;
  fs::path file2_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(CompareReport, HtmlReportNamesBothFilesAndLinksTheBlocks) {
  const fs::path report = folder_ / "Bericht über Ä.html";
  ASSERT_EQ(
      Run({"--match", "anywhere", "--min", "3", "--keyword", "fox", "--report", report.string()}),
      0)
      << err_.str();
  const std::string page = Read(report);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<h1>Vellora 2.0"), std::string::npos);
  EXPECT_NE(page.find("Erster Artikel.txt"), std::string::npos);
  EXPECT_NE(page.find("zweiter &lt;Text&gt;.txt"), std::string::npos);
  EXPECT_NE(page.find("<dd>Anywhere</dd>"), std::string::npos);
  EXPECT_NE(page.find("id=\"a1-b1\""), std::string::npos);
  EXPECT_NE(page.find("href=\"#a1-b2\""), std::string::npos);
  EXPECT_NE(page.find("<dt>Keyword phrase</dt><dd>fox</dd>"), std::string::npos);
  // The usual text report is still printed.
  EXPECT_NE(out_.str().find("Duplicate Content:"), std::string::npos);
}

TEST_F(CompareReport, HtmExtensionAlsoGivesAWebPage) {
  const fs::path report = folder_ / "r.HTM";
  ASSERT_EQ(Run({"--report=" + report.string()}), 0) << err_.str();
  EXPECT_EQ(Read(report).rfind("<!DOCTYPE html>", 0), 0u);
}

TEST_F(CompareReport, PdfExtensionGivesAPdf) {
  const fs::path report = folder_ / "report 1.pdf";
  ASSERT_EQ(Run({"--report", report.string()}), 0) << err_.str();
  const std::string bytes = Read(report);
  EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
  EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
}

TEST_F(CompareReport, OtherExtensionIsAUsageError) {
  for (const char* name : {"report.txt", "report", "report.html.gz"}) {
    const fs::path report = folder_ / name;
    EXPECT_EQ(Run({"--report", report.string()}), 2) << name;
    EXPECT_NE(err_.str().find("--report must name a .html, .htm or .pdf file"), std::string::npos);
    EXPECT_NE(err_.str().find("usage:"), std::string::npos);
    EXPECT_TRUE(out_.str().empty());
    EXPECT_FALSE(fs::exists(report));
  }
  EXPECT_EQ(Run({"--report"}), 2);
}

TEST_F(CompareReport, UnwritableReportExitsOneNamingIt) {
  for (const fs::path& report : {folder_ / "no such folder" / "r.html", file1_ / "r.pdf",
                                 folder_ / "no such folder" / "r.pdf"}) {
    EXPECT_EQ(Run({"--report", report.string()}), 1) << report;
    EXPECT_NE(err_.str().find(report.string()), std::string::npos) << err_.str();
    EXPECT_FALSE(fs::exists(report));
  }
}

TEST_F(CompareReport, BlankArticleStillGivesAReport) {
  file2_ = folder_.Write("blank.txt", " \n ");
  const fs::path report = folder_ / "blank.html";
  ASSERT_EQ(Run({"--report", report.string()}), 0) << err_.str();
  EXPECT_NE(Read(report).find("not compared: an article is blank"), std::string::npos);
}

}  // namespace
