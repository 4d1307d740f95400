// The web page as a real browser builds and draws it: headless chromium's DOM and screenshots.
#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QUrl>

#include "ReportFile.h"
#include "ReportFixture.h"
#include "TempFolder.h"
#include "UCompare.h"

namespace vellora::test {
namespace {

const std::u16string kText1 =
    u"The quick brown fox jumps over the lazy dog. Alpha beta gamma delta epsilon.\n\n"
    u"Something entirely different here now. Zeta eta theta iota kappa lambda.\n"
    u"Omicron pi rho sigma tau upsilon phi chi psi omega.";
const std::u16string kText2 =
    u"Zeta eta theta iota kappa lambda. New words appear. The quick brown fox jumps over the "
    u"lazy dog.\nMore unrelated content follows. Omicron pi rho sigma tau upsilon phi chi.";

class BrowserReport : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto found = FindProgram(QStringLiteral("chromium"));
    if (!found)
      GTEST_SKIP() << "chromium is not installed: the web page is not checked in a browser";
    chromium_ = *found;
  }

  QString Save(const ComparisonReport& report, const std::string& name = "report.html") {
    const QString path = QString::fromStdString((folder_ / name).string());
    const ReportResult result = WriteHtmlReport(report, path);
    EXPECT_TRUE(result.Written()) << result.Message.toStdString();
    return path;
  }

  QStringList BaseArguments() const {
    return {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
            QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
            QStringLiteral("--user-data-dir=") +
                QString::fromStdString((folder_ / "profile").string())};
  }

  QString DumpDom(const QString& path) {
    QStringList arguments = BaseArguments();
    arguments << QStringLiteral("--dump-dom") << QUrl::fromLocalFile(path).toString();
    const ProgramRun run = RunProgram(chromium_, arguments);
    EXPECT_EQ(run.ExitCode, 0);
    return QString::fromUtf8(run.Output);
  }

  QImage Screenshot(const QString& url, int width = 1400, int height = 2000) {
    const QString png = QString::fromStdString((folder_ / "shot.png").string());
    QStringList arguments = BaseArguments();
    arguments << QStringLiteral("--screenshot=") + png
              << QStringLiteral("--window-size=%1,%2").arg(width).arg(height) << url;
    const ProgramRun run = RunProgram(chromium_, arguments);
    EXPECT_EQ(run.ExitCode, 0);
    return QImage(png);
  }

  TempFolder folder_;
  QString chromium_;
};

TEST_F(BrowserReport, DomHoldsEveryBlocksMarkIdAndPartnerLink) {
  const ComparisonReport report = MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0});
  ASSERT_GE(report.Outcome.Blocks.size(), 3u);
  const QString dom = DumpDom(Save(report));
  ASSERT_TRUE(dom.contains(QStringLiteral("</html>")));
  for (std::size_t b = 1; b <= report.Outcome.Blocks.size(); ++b) {
    for (int side = 1; side <= 2; ++side) {
      const int partner = 3 - side;
      // The block's first mark on this side carries its id and links to the partner's id.
      const QRegularExpression mark(
          QStringLiteral("<mark id=\"a%1-b%2\" class=\"b%2\" style=\"background:%3\"><a "
                         "href=\"#a%4-b%2\">[^<]+</a></mark>")
              .arg(side)
              .arg(b)
              .arg(QString::fromStdString(CssColor(report.Outcome.Blocks[b - 1].Color)))
              .arg(partner));
      EXPECT_EQ(dom.count(mark), 1) << "block " << b << " side " << side;
      EXPECT_TRUE(
          dom.contains(QStringLiteral("<a href=\"#a%1-b%2\">Article %1</a>").arg(side).arg(b)))
          << "table link, block " << b << " side " << side;
    }
  }
}

TEST_F(BrowserReport, ArticleHoldingMarkupStaysText) {
  const std::u16string hostile =
      u"Intro <script>document.body.innerHTML='PWNED'</script> & \"double\" 'single' "
      u"</body></html><h1>fake</h1> tail words stay here";
  const ComparisonReport report =
      MakeReport(hostile, u"other text " + hostile, {MatchMode::Anywhere, 2, 0, 0},
                 u"<i>one</i>.txt", u"two.txt");
  const QString dom = DumpDom(Save(report));
  EXPECT_FALSE(dom.contains(QStringLiteral("<script")));
  EXPECT_FALSE(dom.contains(QStringLiteral("<h1>fake")));
  EXPECT_FALSE(dom.contains(QStringLiteral("<i>one")));
  EXPECT_TRUE(
      dom.contains(QStringLiteral("&lt;script&gt;document.body.innerHTML='PWNED'&lt;/script&gt;")));
  EXPECT_TRUE(dom.contains(QStringLiteral("&lt;/body&gt;&lt;/html&gt;&lt;h1&gt;fake&lt;/h1&gt;")));
  EXPECT_TRUE(dom.contains(QStringLiteral("&amp; \"double\" 'single'")));
  // Both columns still end with the text after the fake closing tags.
  EXPECT_GE(dom.count(QStringLiteral("tail words stay here")), 2);
  EXPECT_TRUE(dom.contains(QStringLiteral("&lt;i&gt;one&lt;/i&gt;.txt")));
}

// Words found in one article only, so that the columns run longer than the window.
std::u16string Filler(const char16_t* stem, int words) {
  std::u16string text;
  for (int i = 0; i < words; ++i) {
    text += stem + std::u16string(1, char16_t(u'a' + i % 26)) +
            std::u16string(1, char16_t(u'a' + i / 26 % 26)) + (i % 12 == 11 ? u".\n" : u" ");
  }
  return text;
}

TEST_F(BrowserReport, ScreenshotShowsPaletteColoursInBothColumns) {
  const ComparisonReport report =
      MakeReport(kText1 + u"\n" + Filler(u"left", 600), kText2 + u"\n" + Filler(u"right", 600),
                 {MatchMode::Anywhere, 3, 0, 0});
  // Scrolled to the columns, so that the table's colour swatches are out of view.
  const QImage shot = Screenshot(
      QUrl::fromLocalFile(Save(report)).toString() + QStringLiteral("#article1"), 1400, 900);
  ASSERT_FALSE(shot.isNull());
  const QRect left(0, 0, shot.width() / 2, shot.height());
  const QRect right(shot.width() / 2, 0, shot.width() - shot.width() / 2, shot.height());
  std::set<QRgb> colours;
  for (const MatchBlock& block : report.Outcome.Blocks) {
    const auto c = static_cast<std::uint32_t>(block.Color);
    colours.insert(qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                        static_cast<int>((c >> 16) & 0xFF)));
  }
  ASSERT_GE(colours.size(), 3u);
  for (const QRgb colour : colours) {
    EXPECT_TRUE(HasColour(shot, left, colour)) << std::hex << colour;
    EXPECT_TRUE(HasColour(shot, right, colour)) << std::hex << colour;
  }
  EXPECT_TRUE(HasColour(shot, left, PaletteRgb(1)));
}

TEST_F(BrowserReport, PrintingStacksTheColumnsAndKeepsTheColours) {
  if (!FindProgram(QStringLiteral("pdftotext")) || !FindProgram(QStringLiteral("pdftoppm"))) {
    GTEST_SKIP() << "poppler-utils is not installed: the printed page is not read back";
  }
  const ComparisonReport report = MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0});
  const QString pdf = QString::fromStdString((folder_ / "printed.pdf").string());
  QStringList arguments = BaseArguments();
  arguments << QStringLiteral("--no-pdf-header-footer") << QStringLiteral("--print-to-pdf=") + pdf
            << QUrl::fromLocalFile(Save(report)).toString();
  ASSERT_EQ(RunProgram(chromium_, arguments).ExitCode, 0);
  const ProgramRun text = RunProgram(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  ASSERT_EQ(text.ExitCode, 0);
  const QString printed = QString::fromUtf8(text.Output);
  // Stacked: all of Article 1 comes before Article 2's heading.
  const qsizetype heading2 = printed.indexOf(QStringLiteral("Article 2: second.txt"));
  ASSERT_GE(heading2, 0);
  EXPECT_LT(printed.indexOf(QStringLiteral("Omicron pi rho sigma tau upsilon phi chi psi omega")),
            heading2);
  EXPECT_GT(printed.indexOf(QStringLiteral("More unrelated content follows")), heading2);
  const QString prefix = QString::fromStdString((folder_ / "printed").string());
  ASSERT_EQ(RunProgram(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                                    QStringLiteral("60"), pdf, prefix})
                .ExitCode,
            0);
  bool aqua = false;
  bool green = false;
  for (const QString& page : QDir(QString::fromStdString(folder_.Path().string()))
                                 .entryList({QStringLiteral("printed*.png")})) {
    const QImage image(QString::fromStdString(folder_.Path().string()) + QLatin1Char('/') + page);
    aqua = aqua || HasColour(image, image.rect(), PaletteRgb(1));
    green = green || HasColour(image, image.rect(), PaletteRgb(2));
  }
  EXPECT_TRUE(aqua);
  EXPECT_TRUE(green);
}

TEST_F(BrowserReport, FollowingALinkOutlinesThePartner) {
  const ComparisonReport report = MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0});
  const QString url = QUrl::fromLocalFile(Save(report)).toString();
  const QRgb outline = qRgb(0xDD, 0, 0);
  EXPECT_FALSE(HasColour(Screenshot(url), QRect(0, 0, 1400, 2000), outline));
  const QImage targeted = Screenshot(url + QStringLiteral("#a2-b1"));
  EXPECT_TRUE(HasColour(targeted, QRect(700, 0, 700, 2000), outline));
}

TEST_F(BrowserReport, NamesWithSpacesAndNonAsciiOpen) {
  const ComparisonReport report =
      MakeReport(kText1, kText2, {MatchMode::Anywhere, 3, 0, 0}, u"Käse Brot.txt", u"日本 語.txt");
  const QString dom = DumpDom(Save(report, "Bericht über Ä ß.html"));
  EXPECT_TRUE(dom.contains(QStringLiteral("Article 1: Käse Brot.txt")));
  EXPECT_TRUE(dom.contains(QStringLiteral("Article 2: 日本 語.txt")));
}

}  // namespace
}  // namespace vellora::test
