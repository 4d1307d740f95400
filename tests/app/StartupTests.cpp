// The main window's life: start without a brand, start on a welcome page, the one deferred
// start-up check, Help and Make Money, the News and Check Updates buttons, and closing while a
// start-up check is still downloading.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "BrandSettings.h"
#include "LiveUpdate.h"
#include "MessageBalloon.h"
#include "NewsCommands.h"
#include "Skin.h"
#include "SkinFile.h"
#include "StartupFixture.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

const std::string kWelcomeBrand =
    "<%%ApplicationName%%>Name<%%/ApplicationName%%>\r\n"
    "<%%Welcome1%%><html><body><p>Hello <a href=\"https://example.test/guide\">guide</a></p>"
    "</body></html><%%/Welcome1%%>\r\n";

const std::string kNewsBrand =
    "<%%ApplicationName%%>Name<%%/ApplicationName%%>\r\n"
    "<%%BranderCode%%>VELL-01<%%/BranderCode%%>\r\n"
    "<%%BranderType%%>Master<%%/BranderType%%>\r\n"
    "<%%MasterNewsBaseURL%%>{news}<%%/MasterNewsBaseURL%%>\r\n"
    "<%%MasterPublID%%>pub77<%%/MasterPublID%%>\r\n";

std::string NewsBrand(const std::string& newsBase) {
  std::string text = kNewsBrand;
  text.replace(text.find("{news}"), 6, newsBase);
  return text;
}

class Lifecycle : public StartupTest {};

TEST_F(Lifecycle, WithoutASettingsFileTheMainPageShowsAndTheCheckRunsOnce) {
  Start();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Vellora"));
  auto* pages = Control<QTabWidget>("pgcPrinc");
  ASSERT_EQ(pages->count(), 1);
  EXPECT_EQ(pages->currentWidget(), Control<QWidget>("stsMain"));
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("stsWelcome")), nullptr);
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("prfWelcome")), nullptr);
  EXPECT_FALSE(pages->isTabVisible(0));
  EXPECT_FALSE(pages->tabBar()->isVisible());
  // The design look stays: banner panel, links with their placeholders.
  EXPECT_TRUE(Control<QWidget>("panBanner")->isVisible());
  EXPECT_TRUE(Control<QWidget>("panLinks")->isVisible());
  EXPECT_FALSE(Control<QLabel>("lblLink1URL")->text().isEmpty());

  ASSERT_TRUE(WaitForChecks(1));
  QTest::qWait(300);
  EXPECT_EQ(checksRun, 1);
  EXPECT_FALSE(timer->isActive());
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.Requests()[0].target, kUpdateInfoPath);
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(Lifecycle, TheTimerIsSetWhenTheWindowIsCreatedAndTicksOnlyOnceTheLoopRuns) {
  Start(false);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 100);
  EXPECT_EQ(checksRun, 0);
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(Lifecycle, WelcomePageShowsAndNoCheckRunsUntilThanks) {
  WriteSettings(kWelcomeBrand);
  Start();
  auto* pages = Control<QTabWidget>("pgcPrinc");
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->currentWidget(), Control<QWidget>("stsWelcome"));
  EXPECT_FALSE(pages->isTabVisible(0));
  EXPECT_FALSE(pages->isTabVisible(1));
  EXPECT_FALSE(pages->tabBar()->isVisible());
  auto* view = Control<QTextBrowser>("prfWelcome");
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_EQ(view->toPlainText(), QStringLiteral("Hello guide"));
  EXPECT_FALSE(view->openLinks());

  QTest::qWait(400);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(checksRun, 0);
  EXPECT_EQ(server_.RequestCount(), 0u);

  // A link of the welcome page opens in the browser; the view stays where it is.
  emit view->anchorClicked(QUrl(QStringLiteral("https://example.test/guide")));
  EXPECT_EQ(opened_, std::vector<std::string>{"https://example.test/guide"});
  EXPECT_EQ(view->toPlainText(), QStringLiteral("Hello guide"));

  QTest::mouseClick(Control<QPushButton>("btnThanks"), Qt::LeftButton);
  EXPECT_EQ(pages->currentWidget(), Control<QWidget>("stsMain"));
  ASSERT_TRUE(WaitForChecks(1));
  QTest::qWait(300);
  EXPECT_EQ(checksRun, 1);
  EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(Lifecycle, ClosingFromTheWelcomePageRunsNoCheck) {
  WriteSettings(kWelcomeBrand);
  Start();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(window->IsClosing());
  EXPECT_FALSE(window->isVisible());
  QTest::qWait(400);
  EXPECT_EQ(checksRun, 0);
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(Lifecycle, HelpAndMakeMoneyOpenTheirAddressesEvenWhenEmpty) {
  Start();
  window->btnHelpClick();
  QTest::mouseClick(Control<QPushButton>("btnMakeMoney"), Qt::LeftButton);
  EXPECT_EQ(opened_, (std::vector<std::string>{"", ""}));
}

TEST_F(Lifecycle, HelpAndMakeMoneyOpenTheBrandsAddresses) {
  WriteSettings(
      "<%%AffiliateURL%%>https://a.test/?id=%%AFFILIATEID%%&again=%%AFFILIATEID%%"
      "<%%/AffiliateURL%%>\r\n<%%AffiliateID%%>77<%%/AffiliateID%%>\r\n"
      "<%%AppHelpURL%%>https://help.test/<%%/AppHelpURL%%>\r\n");
  Start();
  QTest::mouseClick(Control<QWidget>("bsSkinSpeedButton2"), Qt::LeftButton);
  QTest::mouseClick(Control<QPushButton>("btnMakeMoney"), Qt::LeftButton);
  EXPECT_EQ(opened_,
            (std::vector<std::string>{"https://help.test/", "https://a.test/?id=77&again=77"}));
}

TEST_F(Lifecycle, SkinAndIconWithoutASettingsFileAreNotApplied) {
  WriteFile(kSkinFileName, QByteArray::fromStdString(DeflateSkin("QWidget { color: red; }")));
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(Qt::blue);
  ASSERT_TRUE(icon.save(dir_.filePath(QString::fromLatin1(kIconFileName)), "ICO"));
  Start();
  EXPECT_EQ(window->styleSheet(), DefaultSkin());
  EXPECT_TRUE(window->windowIcon().isNull());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Vellora"));
}

// ---- The start-up check and the online buttons ----

TEST_F(Lifecycle, StartupCheckShowsTheNewMessageInTheBalloonThenChecksForUpdates) {
  WriteSettings(NewsBrand(server_.BaseUrl() + "/news"));
  server_.Route(kNewsListPath, ScriptedReply::Ok("5^Hello\xAF"
                                                 "OK"));
  Start();
  ASSERT_TRUE(WaitForChecks(1));
  ASSERT_EQ(server_.RequestCount(), 2u);
  EXPECT_EQ(server_.Requests()[0].target, kNewsListPath);
  EXPECT_EQ(server_.Requests()[1].target, kUpdateInfoPath);
  auto* balloon = Control<MessageBalloon>("LMDMessageHint1");
  EXPECT_TRUE(balloon->isVisible());
  EXPECT_EQ(balloon->Text(), QStringLiteral("You've Got A Message!\r\nHello"));
  EXPECT_EQ(balloon->Anchor(), NewsButtonAnchor(*Control<QWidget>("btnNews")));
  EXPECT_TRUE(boxes_.texts.empty());
}

TEST_F(Lifecycle, CheckUpdatesSaysWhenThereIsNoNewVersion) {
  Start();
  ASSERT_TRUE(WaitForChecks(1));
  QTest::mouseClick(Control<QWidget>("bsSkinSpeedButton1"), Qt::LeftButton);
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{kNoUpdatesMessage});
  EXPECT_EQ(server_.RequestCount(), 2u);
}

TEST_F(Lifecycle, NewsButtonSaysWhenThereIsNoNews) {
  WriteSettings(NewsBrand(server_.BaseUrl() + "/news"));
  server_.Route(kNewsListPath, ScriptedReply::Ok("OK"));
  Start();
  ASSERT_TRUE(WaitForChecks(1));
  ASSERT_TRUE(Control<QWidget>("btnNews")->isVisible());
  QTest::mouseClick(Control<QWidget>("btnNews"), Qt::LeftButton);
  EXPECT_EQ(boxes_.texts, std::vector<std::string>{kNoNewsMessage});
  EXPECT_TRUE(window->News().empty());
}

// ---- Shutdown ----

TEST_F(Lifecycle, ClosingDuringTheStartupDownloadEndsItAndStartsNoOther) {
  WriteSettings(NewsBrand(server_.BaseUrl() + "/news"));
  ScriptedReply stalled = ScriptedReply::Ok("9^Hel");
  stalled.rest =
      "lo\xAF"
      "OK";
  stalled.ending = ScriptedReply::Ending::Stall;
  server_.Route(kNewsListPath, stalled);
  Start(false);
  // The user closes the window as soon as the first part of the news list has arrived.
  QObject::connect(&server_, &LoopbackServer::AnswerSent, window.get(),
                   [this] { QTimer::singleShot(0, window.get(), [this] { window->close(); }); });
  window->show();
  ASSERT_TRUE(WaitForChecks(1));
  EXPECT_TRUE(window->IsClosing());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(server_.RequestCount(), 1u);  // no update check went out
  EXPECT_FALSE(Control<MessageBalloon>("LMDMessageHint1")->isVisible());
  EXPECT_TRUE(boxes_.texts.empty());
  // Nothing starts once the window is closing.
  window->btnUpdateClick();
  EXPECT_EQ(server_.RequestCount(), 1u);
}

TEST_F(Lifecycle, ClosingSetsTheFlagAndNoDownloadStartsAfterwards) {
  Start();
  ASSERT_TRUE(WaitForChecks(1));
  EXPECT_FALSE(window->IsClosing());
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(window->IsClosing());
  // Check Updates after the close starts no download and says nothing.
  window->btnUpdateClick();
  EXPECT_EQ(server_.RequestCount(), 1u);
  EXPECT_TRUE(boxes_.texts.empty());
}

}  // namespace
}  // namespace vellora::test
