// The PDF as poppler-utils read it back: text in order, pages, colours on a rendered page.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>

#include "PdfReport.h"
#include "ReportFile.h"
#include "ReportFixture.h"
#include "TempFolder.h"
#include "UCompare.h"

namespace vellora::test {
namespace {

const std::u16string kText1 =
    u"The quick brown fox jumps over the lazy dog. Alpha beta gamma delta epsilon.\n\n"
    u"Something entirely different here now. Zeta eta theta iota kappa lambda.\n"
    u"Grüße aus Köln, first article ends.";
const std::u16string kText2 =
    u"Zeta eta theta iota kappa lambda. New words appear. The quick brown fox jumps over the "
    u"lazy dog.\nSecond article closes the comparison.";

class PdfReport : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* program : {"pdftotext", "pdfinfo", "pdftoppm"}) {
      if (!FindProgram(QString::fromLatin1(program))) {
        GTEST_SKIP() << program << " (poppler-utils) is not installed: the PDF is not read back";
      }
    }
  }

  QString Save(const ComparisonReport& report, const std::string& name = "report.pdf") {
    const QString path = QString::fromStdString((folder_ / name).string());
    const ReportResult result = WritePdfReport(report, path);
    EXPECT_TRUE(result.Written()) << result.Message.toStdString();
    return path;
  }

  static QString Text(const QString& pdf) {
    const ProgramRun run = RunProgram(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_EQ(run.ExitCode, 0);
    return QString::fromUtf8(run.Output);
  }

  static QString Info(const QString& pdf) {
    const ProgramRun run = RunProgram(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_EQ(run.ExitCode, 0);
    return QString::fromUtf8(run.Output);
  }

  static int Pages(const QString& pdf) {
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Info(pdf));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
  }

  QImage Render(const QString& pdf, int page) {
    const QString prefix = QString::fromStdString((folder_ / "page").string());
    const ProgramRun run =
        RunProgram(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                    QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                    QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    EXPECT_EQ(run.ExitCode, 0);
    return QImage(prefix + QStringLiteral(".png"));
  }

  TempFolder folder_;
};

TEST_F(PdfReport, TextHoldsHeaderTableAndBothTextsInOrder) {
  ComparisonReport report = MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0});
  report.Brand = "Acme Checker";
  report.Keyword = ReportKeyword{u"quick", {1, 5.0}, {1, 4.0}};
  const QString text = Text(Save(report));
  const QStringList inOrder = {
      QStringLiteral("Acme Checker 2.0"),
      QStringLiteral("2026-12-09 21:45"),
      QStringLiteral("first.txt"),
      QStringLiteral("second.txt"),
      QStringLiteral("Anywhere"),
      QString::fromStdString(ShareText(report.Outcome.Share)),
      QString::fromStdString(ShareText(report.Outcome.Share1)),
      QStringLiteral("quick"),
      QStringLiteral("Shared passages"),
      QStringLiteral("Zeta eta theta iota kappa lambda"),  // block 1's first words in the table
      QStringLiteral("Article 1: first.txt"),
      QStringLiteral("The quick brown fox jumps over the lazy dog."),
      QStringLiteral("Grüße aus Köln, first article ends."),
      QStringLiteral("Article 2: second.txt"),
      QStringLiteral("New words appear."),
      QStringLiteral("Second article closes the comparison."),
  };
  qsizetype at = 0;
  for (const QString& piece : inOrder) {
    const qsizetype found = text.indexOf(piece, at);
    EXPECT_GE(found, 0) << piece.toStdString() << " missing after offset " << at << " in:\n"
                        << text.toStdString();
    if (found >= 0) at = found + piece.size();
  }
}

TEST_F(PdfReport, PagesAreA4NumberedAndFewForAShortReport) {
  const QString pdf = Save(MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0}));
  const int pages = Pages(pdf);
  EXPECT_EQ(pages, 3);  // header and table, then each article from a new page
  EXPECT_TRUE(Info(pdf).contains(QStringLiteral("(A4)")));
  const QString text = Text(pdf);
  for (int page = 1; page <= pages; ++page) {
    EXPECT_TRUE(
        text.contains(QRegularExpression(QStringLiteral("\\b%1 ?/ ?%2\\b").arg(page).arg(pages))))
        << page;
  }
}

TEST_F(PdfReport, LongArticlesFlowOverSeveralPages) {
  std::u16string long1;
  std::u16string long2;
  for (int i = 0; i < 4000; ++i) {
    long1 += u"word" + std::u16string(1, char16_t(u'a' + i % 26)) + u" ";
    long2 += u"other" + std::u16string(1, char16_t(u'a' + i % 26)) + u" ";
  }
  const QString pdf = Save(MakeReport(long1, long2, {MatchMode::Anywhere, 3, 0, 0}));
  const int pages = Pages(pdf);
  EXPECT_GT(pages, 6);
  EXPECT_LT(pages, 60);
}

TEST_F(PdfReport, RenderedPagesShowThePaletteColours) {
  const ComparisonReport report = MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0});
  ASSERT_EQ(report.Outcome.Blocks.size(), 2u);
  const QString pdf = Save(report);
  for (const int page : {2, 3}) {  // Article 1, then Article 2
    const QImage image = Render(pdf, page);
    ASSERT_FALSE(image.isNull()) << page;
    EXPECT_TRUE(HasColour(image, image.rect(), PaletteRgb(1))) << page;
    EXPECT_TRUE(HasColour(image, image.rect(), PaletteRgb(2))) << page;
  }
}

TEST_F(PdfReport, TextIsSelectableInTheNamedFont) {
  const QString pdf = Save(MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0}));
  const ProgramRun fonts = RunProgram(QStringLiteral("pdffonts"), {pdf});
  if (fonts.ExitCode == 0) {
    EXPECT_TRUE(QString::fromUtf8(fonts.Output).contains(QStringLiteral("DejaVu")));
  }
  EXPECT_TRUE(Text(pdf).contains(QStringLiteral("Zeta eta theta")));
}

TEST_F(PdfReport, EmptyComparisonStillGivesAReport) {
  const QString pdf =
      Save(MakeReport(u"alpha beta gamma", u"delta epsilon zeta", {MatchMode::Anywhere, 2, 0, 0}));
  const QString text = Text(pdf);
  EXPECT_TRUE(text.contains(QStringLiteral("No shared passages.")));
  EXPECT_TRUE(text.contains(QStringLiteral("alpha beta gamma")));
  EXPECT_TRUE(text.contains(QStringLiteral("delta epsilon zeta")));
  const QImage image = Render(pdf, 2);
  // Silver (6) is a grey that anti-aliased text may produce.
  for (int i = 1; i <= 5; ++i) EXPECT_FALSE(HasColour(image, image.rect(), PaletteRgb(i))) << i;
}

TEST_F(PdfReport, CancelledPdfLeavesNoFileAndKeepsTheOldOne) {
  const ComparisonReport report = MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0});
  const QString fresh = QString::fromStdString((folder_ / "fresh.pdf").string());
  int calls = 0;
  ReportResult result = WritePdfReport(report, fresh, [&](int) { return ++calls < 3; });
  EXPECT_EQ(result.Outcome, ReportResult::Status::Cancelled);
  EXPECT_EQ(calls, 3);
  EXPECT_TRUE(QDir(QString::fromStdString(folder_.Path().string()))
                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                  .isEmpty());

  const std::filesystem::path old = folder_.Write("old.pdf", "previous report");
  result = WritePdfReport(report, QString::fromStdString(old.string()), [](int percent) {
    return percent < 60;  // stops while painting pages
  });
  EXPECT_EQ(result.Outcome, ReportResult::Status::Cancelled);
  EXPECT_EQ(ReadFile(old), "previous report");
  EXPECT_EQ(QDir(QString::fromStdString(folder_.Path().string()))
                .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("old.pdf")});
}

TEST_F(PdfReport, ProgressRisesToAHundred) {
  std::vector<int> seen;
  const ReportResult result =
      WritePdfReport(MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0}),
                     QString::fromStdString((folder_ / "p.pdf").string()), [&](int percent) {
                       seen.push_back(percent);
                       return true;
                     });
  ASSERT_TRUE(result.Written());
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 100);
}

TEST(PdfPageSize, LetterWhereTheLocaleUsesItA4Elsewhere) {
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
            QPageSize::Letter);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::French, QLocale::Canada)).id(), QPageSize::Letter);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::German, QLocale::Germany)).id(), QPageSize::A4);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(), QPageSize::A4);
  EXPECT_EQ(ReportPageSize(QLocale::c()).id(), QPageSize::A4);
}

}  // namespace
}  // namespace vellora::test
