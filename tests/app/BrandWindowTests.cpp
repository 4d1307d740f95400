// The brand as the main window shows it, from a real encrypted dbsettings.dat: caption, news
// button, Make Money caption, still and animated banners with their panel and centring, banner
// clicks, the link labels, the skin and the icon.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "BrandView.h"
#include "SkinFile.h"
#include "StartupFixture.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

// ---- Centring ----

struct CentreCase {
  int panel;
  int banner;
  int offset;
};

class Centring : public ::testing::TestWithParam<CentreCase> {};

TEST_P(Centring, EachSizeIsHalvedOnItsOwn) {
  EXPECT_EQ(CentredOffset(GetParam().panel, GetParam().banner), GetParam().offset)
      << GetParam().panel << " " << GetParam().banner;
}

INSTANTIATE_TEST_SUITE_P(Sizes, Centring,
                         ::testing::Values(CentreCase{6, 3, 2}, CentreCase{7, 3, 2},
                                           CentreCase{6, 4, 1}, CentreCase{0, 0, 0},
                                           CentreCase{65, 55, 5}, CentreCase{5, 11, -3},
                                           CentreCase{10, 21, -5}),
                         [](const auto& info) {
                           return "Panel" + std::to_string(info.param.panel) + "Banner" +
                                  std::to_string(info.param.banner);
                         });

// ---- Brand applied to the window ----

const char kNames[] = "<%%ApplicationName%%>Name<%%/ApplicationName%%>\r\n";

class BrandWindow : public StartupTest {
 protected:
  QSize DemoSize(const char* image) {
    const QImage picture(QStringLiteral(VELLORA_DEMO_BRAND_DIR "/") + QString::fromLatin1(image));
    EXPECT_FALSE(picture.isNull()) << image;
    return picture.size();
  }
  void ExpectCentred(const char* bannerName) {
    auto* panel = Control<QWidget>("panBanner");
    auto* banner = Control<QWidget>(bannerName);
    EXPECT_EQ(banner->x(), panel->width() / 2 - banner->width() / 2) << bannerName;
    EXPECT_EQ(banner->y(), panel->height() / 2 - banner->height() / 2) << bannerName;
  }
};

TEST_F(BrandWindow, CaptionNewsButtonAndMakeMoneyCaption) {
  WriteSettings(std::string(kNames) +
                "<%%BranderType%%>Gold<%%/BranderType%%>\r\n"
                "<%%GoldNewsBaseURL%%>https://news.test/<%%/GoldNewsBaseURL%%>\r\n"
                "<%%GoldPublID%%>g1<%%/GoldPublID%%>\r\n"
                "<%%MakeMoneyButton%%>Earn \xE9t\xE9<%%/MakeMoneyButton%%>\r\n");
  Start();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Name v2.0"));
  EXPECT_FALSE(Control<QWidget>("btnNews")->isHidden());
  EXPECT_EQ(Control<QPushButton>("btnMakeMoney")->text(), QString::fromUtf8("Earn été"));
  EXPECT_EQ(BrandSettings.ApplicationName, "Name");
  // No banner and no link entry: both panels go.
  EXPECT_TRUE(Control<QWidget>("panBanner")->isHidden());
  EXPECT_TRUE(Control<QWidget>("panLinks")->isHidden());
}

TEST_F(BrandWindow, NewsButtonHiddenForALevelInOtherCaseAndDefaultMakeMoney) {
  WriteSettings(std::string(kNames) +
                "<%%BranderType%%>master<%%/BranderType%%>\r\n"
                "<%%MasterNewsBaseURL%%>https://news.test/<%%/MasterNewsBaseURL%%>\r\n"
                "<%%MasterPublID%%>m1<%%/MasterPublID%%>\r\n");
  Start();
  EXPECT_TRUE(Control<QWidget>("btnNews")->isHidden());
  EXPECT_EQ(Control<QPushButton>("btnMakeMoney")->text(), QStringLiteral("Make Money"));
}

TEST_F(BrandWindow, FileThatDoesNotDecryptLeavesEmptyFieldsAndTheSkinStillApplies) {
  WriteFile(kSettingsFileName, QByteArray(300, '\x5A'));
  const std::string skin = "QPushButton { color: rgb(1, 2, 3); }";
  WriteFile(kSkinFileName, QByteArray::fromStdString(DeflateSkin(skin)));
  Start();
  EXPECT_EQ(window->windowTitle(), QStringLiteral(" v2.0"));
  EXPECT_TRUE(Control<QWidget>("btnNews")->isHidden());
  EXPECT_TRUE(Control<QWidget>("panBanner")->isHidden());
  EXPECT_TRUE(Control<QWidget>("panLinks")->isHidden());
  EXPECT_EQ(window->styleSheet(), QString::fromStdString(skin));
}

TEST_F(BrandWindow, StillBannerSizesItsControlAndPanelAndOpensItsAddress) {
  WriteSettings(std::string(kNames) +
                "<%%Banner1%%>C:\\art\\write.png^https://b.test/<%%/Banner1%%>\r\n");
  CopyDemoImage("banner-write.png", "banner1.dat");
  Start();
  const QSize size = DemoSize("banner-write.png");
  auto* still = Control<QLabel>("imgBanner");
  EXPECT_TRUE(still->isVisible());
  EXPECT_TRUE(Control<QWidget>("gifBanner")->isHidden());
  EXPECT_EQ(still->size(), size);
  EXPECT_EQ(Control<QWidget>("panBanner")->height(), size.height() + 10);
  EXPECT_EQ(still->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(Control<QWidget>("gifBanner")->cursor().shape(), Qt::PointingHandCursor);
  ExpectCentred("imgBanner");
  ExpectCentred("gifBanner");

  window->resize(1100, 700);
  QApplication::processEvents();
  ExpectCentred("imgBanner");

  QTest::mouseClick(still, Qt::LeftButton);
  EXPECT_EQ(opened_, std::vector<std::string>{"https://b.test/"});
  // The banner file keeps its own name; nothing else appears in the folder.
  EXPECT_TRUE(std::filesystem::exists(Dir() / "banner1.dat"));
  EXPECT_FALSE(std::filesystem::exists(Dir() / "write.png"));
  EXPECT_FALSE(std::filesystem::exists(Dir() / "dbsettings.sim"));
}

TEST_F(BrandWindow, AnimatedBannerPlaysInTheGifControlAndWithoutAddressIgnoresClicks) {
  WriteSettings(std::string(kNames) + "<%%Banner1%%>FRESH.GIF^<%%/Banner1%%>\r\n");
  CopyDemoImage("banner-fresh.gif", "banner1.dat");
  Start();
  const QSize size = DemoSize("banner-fresh.gif");
  auto* animated = Control<QLabel>("gifBanner");
  EXPECT_TRUE(animated->isVisible());
  EXPECT_TRUE(Control<QWidget>("imgBanner")->isHidden());
  ASSERT_NE(animated->movie(), nullptr);
  EXPECT_EQ(animated->movie()->state(), QMovie::Running);
  EXPECT_EQ(animated->size(), size);
  EXPECT_EQ(Control<QWidget>("panBanner")->height(), size.height() + 10);
  EXPECT_NE(animated->cursor().shape(), Qt::PointingHandCursor);
  ExpectCentred("gifBanner");
  QTest::mouseClick(animated, Qt::LeftButton);
  EXPECT_TRUE(opened_.empty());
}

TEST_F(BrandWindow, BannerThatDoesNotDecodeHidesThePanel) {
  WriteSettings(std::string(kNames) + "<%%Banner1%%>broken.png^https://b.test/<%%/Banner1%%>\r\n");
  WriteFile("banner1.dat", QByteArray("not a picture at all"));
  Start();
  EXPECT_TRUE(Control<QWidget>("panBanner")->isHidden());
  EXPECT_TRUE(std::filesystem::exists(Dir() / "banner1.dat"));
}

TEST_F(BrandWindow, MissingBannerFileHidesThePanel) {
  WriteSettings(std::string(kNames) + "<%%Banner1%%>gone.png^https://b.test/<%%/Banner1%%>\r\n");
  Start();
  EXPECT_TRUE(Control<QWidget>("panBanner")->isHidden());
}

TEST_F(BrandWindow, OneLinkShowsThePanelWithTheSecondLabelEmpty) {
  WriteSettings(std::string(kNames) +
                "<%%Link1%%>Guide & more^https://l.test/?a=1&b=2<%%/Link1%%>\r\n");
  Start();
  EXPECT_TRUE(Control<QWidget>("panLinks")->isVisible());
  EXPECT_EQ(Control<QLabel>("lblLink1URL")->text(),
            QStringLiteral("<a href=\"https://l.test/?a=1&amp;b=2\">Guide &amp; more</a>"));
  EXPECT_TRUE(Control<QLabel>("lblLink2URL")->text().isEmpty());
  EXPECT_EQ(BrandSettings.Link2URL, "");
}

TEST_F(BrandWindow, TwoLinksAreTwoDifferentEntries) {
  WriteSettings(std::string(kNames) +
                "<%%Link1%%>One^https://one.test/<%%/Link1%%>\r\n"
                "<%%Link2%%>Two^https://two.test/<%%/Link2%%>\r\n");
  Start();
  const QString first = Control<QLabel>("lblLink1URL")->text();
  const QString second = Control<QLabel>("lblLink2URL")->text();
  EXPECT_NE(first, second);
  for (const QString& text : {first, second}) {
    EXPECT_TRUE(text == QStringLiteral("<a href=\"https://one.test/\">One</a>") ||
                text == QStringLiteral("<a href=\"https://two.test/\">Two</a>"))
        << text.toStdString();
  }
}

// Records the addresses the desktop is asked to open for one scheme.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls.append(url); }
};

TEST_F(BrandWindow, ClickingALinkLabelAsksTheDesktopToOpenItsAddress) {
  WriteSettings(std::string(kNames) + "<%%Link1%%>Go there^vellora-test://go/here<%%/Link1%%>\r\n");
  Start();
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler(QStringLiteral("vellora-test"), &recorder, "Open");
  auto* label = Control<QLabel>("lblLink1URL");
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, label->height() / 2));
  QDesktopServices::unsetUrlHandler(QStringLiteral("vellora-test"));
  ASSERT_EQ(recorder.urls.size(), 1);
  EXPECT_EQ(recorder.urls[0], QUrl(QStringLiteral("vellora-test://go/here")));
  EXPECT_TRUE(opened_.empty());  // not through the browser routine
}

TEST_F(BrandWindow, SkinAndIconOfTheBrandApply) {
  WriteSettings(kNames);
  const std::string skin = "QPushButton { color: rgb(200, 10, 10); }";
  WriteFile(kSkinFileName, QByteArray::fromStdString(DeflateSkin(skin)));
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(Qt::darkGreen);
  ASSERT_TRUE(icon.save(dir_.filePath(QString::fromLatin1(kIconFileName)), "ICO"));
  Start();
  EXPECT_EQ(window->styleSheet(), QString::fromStdString(skin));
  auto* button = Control<QPushButton>("btnCompareEx");
  button->ensurePolished();
  EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor(200, 10, 10));
  ASSERT_FALSE(window->windowIcon().isNull());
  EXPECT_EQ(window->windowIcon().pixmap(32, 32).toImage().pixelColor(16, 16),
            QColor(Qt::darkGreen));
  QApplication::setWindowIcon(QIcon());
}

}  // namespace
}  // namespace vellora::test

#include "BrandWindowTests.moc"
