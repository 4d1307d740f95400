// Saving reports: format by extension, names with spaces and non-ASCII, unwritable places.
#include <gtest/gtest.h>

#include <QDir>

#include "ReportFile.h"
#include "ReportFixture.h"
#include "TempFolder.h"

namespace vellora::test {
namespace {

ComparisonReport SmallReport() {
  return MakeReport(u"one two three four five", u"zero one two three four six",
                    {MatchMode::Anywhere, 2, 0, 0});
}

QString Q(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

TEST(ReportFile, FormatFollowsTheExtension) {
  const struct {
    const char* Path;
    std::optional<ReportFormat> Format;
  } cases[] = {
      {"r.html", ReportFormat::Html},
      {"r.HTM", ReportFormat::Html},
      {"a b/r.Html", ReportFormat::Html},
      {"r.pdf", ReportFormat::Pdf},
      {"r.PDF", ReportFormat::Pdf},
      {"r.txt", std::nullopt},
      {"r", std::nullopt},
      {"r.html.bak", std::nullopt},
      {"pdf", std::nullopt},
      {".pdf.", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReportFormatForPath(QString::fromUtf8(c.Path)), c.Format) << c.Path;
  }
}

TEST(ReportFile, UnknownExtensionFailsNamingTheFile) {
  TempFolder folder;
  const ReportResult result = WriteReport(SmallReport(), Q(folder / "report.txt"));
  EXPECT_EQ(result.Outcome, ReportResult::Status::Failed);
  EXPECT_TRUE(result.Message.contains(QStringLiteral("report.txt")));
  EXPECT_FALSE(std::filesystem::exists(folder / "report.txt"));
}

TEST(ReportFile, NamesWithSpacesAndNonAsciiAreWritten) {
  TempFolder folder;
  for (const char* name : {"Bericht über Ä ß.html", "レポート 1.pdf", "a b.htm"}) {
    const std::filesystem::path path = folder / name;
    const ReportResult result = WriteReport(SmallReport(), Q(path));
    EXPECT_TRUE(result.Written()) << name << ": " << result.Message.toStdString();
    const std::string bytes = ReadFile(path);
    if (ReportFormatForPath(Q(path)) == ReportFormat::Pdf) {
      EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u) << name;
    } else {
      EXPECT_EQ(bytes.rfind("<!DOCTYPE html>", 0), 0u) << name;
    }
  }
  EXPECT_EQ(
      QDir(Q(folder.Path())).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(),
      3);
}

TEST(ReportFile, UnwritablePlaceFailsNamingTheFileAndTheCause) {
  TempFolder folder;
  const std::filesystem::path plainFile = folder.Write("plain.txt", "x");
  const std::filesystem::path places[] = {
      folder / "missing folder" / "report.html",
      folder / "missing folder" / "report.pdf",
      plainFile / "report.html",  // a file where a folder should be
      plainFile / "report.pdf",
      folder / "folder.html",  // a folder where the file should be
      folder / "folder.pdf",
  };
  std::filesystem::create_directory(folder / "folder.html");
  std::filesystem::create_directory(folder / "folder.pdf");
  for (const auto& place : places) {
    const QString path = Q(place);
    const ReportResult result = WriteReport(SmallReport(), path);
    EXPECT_EQ(result.Outcome, ReportResult::Status::Failed) << place;
    EXPECT_TRUE(result.Message.contains(QDir::toNativeSeparators(path)))
        << result.Message.toStdString();
    EXPECT_GT(result.Message.size(), path.size() + 20) << "no cause given";
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "missing folder"));
  EXPECT_EQ(ReadFile(plainFile), "x");
}

TEST(ReportFile, ReadOnlyFolderFailsWhenPermissionsApply) {
  TempFolder folder;
  const std::filesystem::path locked = folder / "locked";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (QFile(Q(locked / "probe")).open(QIODevice::WriteOnly)) {
    std::filesystem::remove(locked / "probe");
    GTEST_SKIP() << "running with rights that ignore folder permissions";
  }
  const ReportResult result = WriteReport(SmallReport(), Q(locked / "report.html"));
  EXPECT_EQ(result.Outcome, ReportResult::Status::Failed);
  EXPECT_TRUE(result.Message.contains(QStringLiteral("report.html")));
}

TEST(ReportFile, SavingReplacesAnOldReportWhole) {
  TempFolder folder;
  const std::filesystem::path path = folder.Write("r.html", std::string(100000, 'x'));
  ASSERT_TRUE(WriteReport(SmallReport(), Q(path)).Written());
  const std::string bytes = ReadFile(path);
  EXPECT_EQ(bytes.find('x' + std::string(50, 'x')), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), "</html>\n");
}

}  // namespace
}  // namespace vellora::test
