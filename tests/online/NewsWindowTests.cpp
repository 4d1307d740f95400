// The news window, the News button and the start-up checks with the message balloon, against
// the loopback news service and a real encrypted brand settings file.
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <optional>

#include "FNews.h"
#include "LiveUpdate.h"
#include "MessageBalloon.h"
#include "NewsCommands.h"
#include "NewsService.h"
#include "OnlineFixture.h"

namespace vellora::test {
namespace {

const QByteArray kListPath = "/news/getlastnews.php";
const QByteArray kDetailsPath = "/news/getnewsdetails.php";
const QByteArray kInfoPath = "/liveupdate/vellora/mainappupdate.inf";

std::string SettingsText(const std::optional<std::string>& lastNewsId) {
  std::string text =
      "<%%ApplicationName%%>Vellora Test<%%/ApplicationName%%>\r\n"
      "<%%BranderType%%>Master<%%/BranderType%%>\r\n";
  if (lastNewsId) text += "<%%LastNewsId%%>" + *lastNewsId + "<%%/LastNewsId%%>\r\n";
  return text;
}

class NewsWindowTest : public OnlineTest {
 protected:
  void SetUp() override {
    OnlineTest::SetUp();
    UseMasterBrand(server_.BaseUrl() + "/news");
    server_.Route(kInfoPath, ScriptedReply::Ok("[APPLICATION]\nVersion=2.0\n"));
  }
  std::string RequestedNewsId(std::size_t index) const {
    const RecordedRequest& request = server_.Requests().at(index);
    for (const FormPart& part :
         ParseMultipart(request.Header("Content-Type").toStdString(), request.body.toStdString()))
      if (part.name == "newsid") return part.value;
    return "<none>";
  }
  static void Select(TfrmNews& form, int row) {
    form.lvwItems->setCurrentItem(form.lvwItems->topLevelItem(row));
  }

  std::vector<std::string> newsList_{"17^Spring news^May 1", "18^Caf\xE9 news^June 2",
                                     "5^Only a title"};
};

TEST_F(NewsWindowTest, LayoutAndCaptions) {
  TfrmNews form(online_, newsList_);
  form.show();
  EXPECT_EQ(form.windowTitle(), "News");
  EXPECT_EQ(form.size(), QSize(682, 411));
  EXPECT_TRUE(form.isModal());
  EXPECT_EQ(form.btnExit->text(), "Close");
  EXPECT_EQ(form.btnExit->size(), QSize(97, 20));
  EXPECT_EQ(form.lvwItems->headerItem()->text(0), "News Title");
  EXPECT_EQ(form.lvwItems->headerItem()->text(1), "Published");
  EXPECT_EQ(form.lvwItems->header()->sectionSize(1), TfrmNews::kPublishedColumnWidth);
  EXPECT_TRUE(form.lvwItems->isColumnHidden(2));
  EXPECT_EQ(form.lvwItems->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(form.lvwItems->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_TRUE(form.prfEditorNews->isReadOnly());
  EXPECT_EQ(form.lvwItems->font().pixelSize(), 14);
}

TEST_F(NewsWindowTest, FormShowListsTheRecordsWithNothingSelected) {
  TfrmNews form(online_, newsList_);
  form.show();
  ASSERT_EQ(form.lvwItems->topLevelItemCount(), 3);
  const QTreeWidgetItem& first = *form.lvwItems->topLevelItem(0);
  EXPECT_EQ(first.text(0), "Spring news");
  EXPECT_EQ(first.text(1), "May 1");
  EXPECT_EQ(TfrmNews::ItemNewsId(first), "17");
  EXPECT_EQ(form.lvwItems->topLevelItem(1)->text(0), QString::fromUtf8("Café news"));
  EXPECT_EQ(form.lvwItems->topLevelItem(2)->text(0), "Only a title");
  EXPECT_EQ(form.lvwItems->topLevelItem(2)->text(1), "");
  EXPECT_TRUE(form.lvwItems->selectedItems().isEmpty());
  EXPECT_TRUE(form.prfEditorNews->toPlainText().isEmpty());
  EXPECT_EQ(server_.RequestCount(), 0u);
  form.hide();
  form.show();  // shown again: the list is built anew, not doubled
  EXPECT_EQ(form.lvwItems->topLevelItemCount(), 3);
}

TEST_F(NewsWindowTest, SelectingItem17RequestsItAndStoresItsId) {
  WriteEncryptedSettings(ProgramDir(), SettingsText("20"));
  server_.Route(kDetailsPath, ScriptedReply::Ok("<p>Spring $26 summer</p>\xAF"
                                                "OK"));
  TfrmNews form(online_, newsList_);
  form.show();
  Select(form, 0);
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(RequestedNewsId(0), "17");
  EXPECT_EQ(form.prfEditorNews->toPlainText(), "Spring & summer");
  EXPECT_EQ(ReadLastNewsId(ProgramDir()), "17");  // lower than before, still stored
  EXPECT_FALSE(form.Loading);
  EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(NewsWindowTest, FailedDetailsKeepTheDocumentAndTheStoredId) {
  WriteEncryptedSettings(ProgramDir(), SettingsText(std::nullopt));
  server_.SetScript([](const RecordedRequest& request) {
    return request.body.contains("\r\n\r\n17\r\n") ? ScriptedReply::Ok(
                                                         "<b>first</b>\xAF"
                                                         "OK")
                                                   : ScriptedReply::Ok("INVALIDNEWS");
  });
  TfrmNews form(online_, newsList_);
  form.show();
  Select(form, 0);
  EXPECT_EQ(ReadLastNewsId(ProgramDir()), "17");
  Select(form, 1);
  EXPECT_EQ(RequestedNewsId(1), "18");
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{kNewsTroubleMessage});
  EXPECT_EQ(form.prfEditorNews->toPlainText(), "first");
  EXPECT_EQ(ReadLastNewsId(ProgramDir()), "17");
}

TEST_F(NewsWindowTest, DetailsThatDecodeToNothingStillStoreTheId) {
  WriteEncryptedSettings(ProgramDir(), SettingsText("1"));
  server_.Route(kDetailsPath, ScriptedReply::Ok("broken $G1\xAF"
                                                "OK"));
  TfrmNews form(online_, newsList_);
  form.show();
  form.prfEditorNews->setHtml("<p>before</p>");
  Select(form, 2);
  EXPECT_EQ(RequestedNewsId(0), "5");
  EXPECT_TRUE(form.prfEditorNews->toPlainText().isEmpty());
  EXPECT_EQ(ReadLastNewsId(ProgramDir()), "5");
}

TEST_F(NewsWindowTest, SettingsFileThatCannotBeRewrittenIsReported) {
  WriteWholeFile(ProgramDir() / kSettingsFileName, "not an encrypted container at all");
  server_.Route(kDetailsPath, ScriptedReply::Ok("<p>text</p>\xAF"
                                                "OK"));
  TfrmNews form(online_, newsList_);
  form.show();
  Select(form, 0);
  EXPECT_EQ(form.prfEditorNews->toPlainText(), "text");
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].kind, "warning");
  EXPECT_NE(prompter_.shown[0].text.find(kSettingsFileName), std::string::npos)
      << prompter_.shown[0].text;
  EXPECT_EQ(ReadWholeFile(ProgramDir() / kSettingsFileName), "not an encrypted container at all");
}

TEST_F(NewsWindowTest, SelectionIsHeldWhileDetailsLoad) {
  ScriptedReply stalled = ScriptedReply::Ok("<p>held");
  stalled.rest =
      "</p>\xAF"
      "OK";
  stalled.ending = ScriptedReply::Ending::Stall;
  server_.Route(kDetailsPath, stalled);
  TfrmNews form(online_, newsList_);
  form.show();
  bool loadingSeen = false;
  std::string selectedDuringLoad;
  bool allowedDuringLoad = true;
  Qt::CursorShape cursorDuringLoad = Qt::ArrowCursor;
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&](int index) {
    if (index != 0) return;
    QTimer::singleShot(0, [&] {
      loadingSeen = form.Loading;
      cursorDuringLoad = form.lvwItems->cursor().shape();
      form.lvwItemsChanging(allowedDuringLoad);
      // A click on another row and a programmatic change are both refused.
      const QRect row = form.lvwItems->visualItemRect(form.lvwItems->topLevelItem(1));
      QTest::mouseClick(form.lvwItems->viewport(), Qt::LeftButton, {}, row.center());
      Select(form, 2);
      selectedDuringLoad = TfrmNews::ItemNewsId(*form.lvwItems->selectedItems().value(0));
      server_.Release();
    });
  });
  Select(form, 0);
  EXPECT_TRUE(loadingSeen);
  EXPECT_EQ(cursorDuringLoad, Qt::WaitCursor);
  EXPECT_EQ(form.lvwItems->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(allowedDuringLoad);
  EXPECT_EQ(selectedDuringLoad, "17");
  EXPECT_EQ(server_.RequestCount(), 1u);
  EXPECT_FALSE(form.Loading);
  EXPECT_EQ(form.prfEditorNews->toPlainText(), "held");
  bool allowedAfter = false;
  form.lvwItemsChanging(allowedAfter);
  EXPECT_TRUE(allowedAfter);
  server_.Route(kDetailsPath, ScriptedReply::Ok("next\xAF"
                                                "OK"));
  Select(form, 1);
  EXPECT_EQ(RequestedNewsId(1), "18");
}

TEST_F(NewsWindowTest, WithoutANewsLevelSelectionRequestsNothing) {
  brand_.BranderType = "Free";
  TfrmNews form(online_, newsList_);
  form.show();
  Select(form, 0);
  EXPECT_EQ(server_.RequestCount(), 0u);
  EXPECT_FALSE(form.Loading);
}

TEST_F(NewsWindowTest, LinksOpenInTheBrowserAndCloseEndsTheWindow) {
  TfrmNews form(online_, newsList_);
  form.show();
  emit form.prfEditorNews->anchorClicked(QUrl("http://example.com/story?id=17"));
  EXPECT_EQ(openedAddresses_, std::vector<std::string>{"http://example.com/story?id=17"});
  EXPECT_TRUE(form.isVisible());
  QTest::mouseClick(form.btnExit, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

// ---- News button ----

TEST_F(NewsWindowTest, NewsButtonWithoutALevelSaysThereIsNoNews) {
  brand_.BranderType = "Free";
  std::vector<std::string> list{"stale"};
  ShowNewsWindow(nullptr, online_, list);
  EXPECT_EQ(server_.RequestCount(), 0u);
  EXPECT_TRUE(list.empty());
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].kind, "information");
  EXPECT_EQ(prompter_.shown[0].text, kNoNewsMessage);
}

TEST_F(NewsWindowTest, NewsButtonWithAnEmptyListOrAnErrorSaysThereIsNoNews) {
  std::vector<std::string> list;
  server_.Route(kListPath, ScriptedReply::Ok("\xAF"
                                             "OK"));
  ShowNewsWindow(nullptr, online_, list);
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{kNoNewsMessage});
  prompter_.shown.clear();
  server_.Route(kListPath, ScriptedReply::Ok("INVALIDUSER"));
  ShowNewsWindow(nullptr, online_, list);
  EXPECT_EQ(prompter_.Texts(),
            (std::vector<std::string>{kPublisherTroubleMessage, kNoNewsMessage}));
}

TEST_F(NewsWindowTest, NewsButtonShowsTheWindowWithTheFreshList) {
  server_.Route(kListPath, ScriptedReply::Ok("17^Spring news^May 1\xAF"
                                             "9^Old^April\xAF"
                                             "OK"));
  std::vector<std::string> list{"stale^entry^x"};
  int rows = -1;
  QString firstTitle;
  bool modal = false;
  // The list request runs its own event loop, so the window is looked for until it is shown.
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* news = qobject_cast<TfrmNews*>(QApplication::activeModalWidget());
    if (news == nullptr) return;
    poll.stop();
    modal = news->isModal();
    rows = news->lvwItems->topLevelItemCount();
    firstTitle = news->lvwItems->topLevelItem(0)->text(0);
    news->btnExit->click();
  });
  poll.start();
  QWidget parent;
  ShowNewsWindow(&parent, online_, list);
  EXPECT_TRUE(modal);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(firstTitle, "Spring news");
  EXPECT_EQ(list, (std::vector<std::string>{"17^Spring news^May 1", "9^Old^April"}));
  EXPECT_TRUE(prompter_.shown.empty());
}

// ---- Start-up checks ----

struct StartupCase {
  const char* name;
  std::optional<std::string> stored;
  QByteArray reply;
  bool balloon;
};

class StartupCheck : public NewsWindowTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupCheck, BalloonOnlyForANewerIdThenTheUpdateCheck) {
  WriteEncryptedSettings(ProgramDir(), SettingsText(GetParam().stored));
  server_.Route(kListPath, ScriptedReply::Ok(GetParam().reply));
  std::vector<std::string> shownTexts;
  RunStartupChecks(online_, [&](const std::string& text) { shownTexts.push_back(text); });
  if (GetParam().balloon) {
    EXPECT_EQ(shownTexts, std::vector<std::string>{"You've Got A Message!\r\nHello"});
  } else {
    EXPECT_TRUE(shownTexts.empty());
  }
  ASSERT_EQ(server_.RequestCount(), 2u);
  EXPECT_EQ(server_.Requests()[0].target, kListPath);
  EXPECT_EQ(server_.Requests()[1].target, kInfoPath);
  EXPECT_TRUE(prompter_.shown.empty());  // silent throughout
  EXPECT_EQ(ReadLastNewsId(ProgramDir()), GetParam().stored.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Ids, StartupCheck,
                         ::testing::Values(StartupCase{"FirstStart", std::nullopt,
                                                       "5^Hello\xAF"
                                                       "OK",
                                                       true},
                                           StartupCase{"Newer", "3",
                                                       "7^Hello\xAF"
                                                       "OK",
                                                       true},
                                           StartupCase{"Equal", "5",
                                                       "5^Hello\xAF"
                                                       "OK",
                                                       false},
                                           StartupCase{"Older", "7",
                                                       "3^Hello\xAF"
                                                       "OK",
                                                       false},
                                           StartupCase{"ReturnedNotANumber", std::nullopt,
                                                       "abc^Hello\xAF"
                                                       "OK",
                                                       false},
                                           StartupCase{"StoredNotANumber", "x1",
                                                       "1^Hello\xAF"
                                                       "OK",
                                                       true},
                                           StartupCase{"NoNews", std::nullopt, "OK", false},
                                           StartupCase{"ErrorCode", std::nullopt, "INVALIDUSER",
                                                       false},
                                           StartupCase{"EmptyReply", std::nullopt, "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewsWindowTest, StartupWithoutANewsLevelGoesStraightToTheUpdateCheck) {
  brand_.BranderType = "Free";
  int balloons = 0;
  RunStartupChecks(online_, [&](const std::string&) { ++balloons; });
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.Requests()[0].target, kInfoPath);
  EXPECT_EQ(balloons, 0);
}

TEST_F(NewsWindowTest, StartupOffersANewerVersionAfterTheNewsCheck) {
  server_.Route(kListPath, ScriptedReply::Ok("OK"));
  server_.Route(kInfoPath, ScriptedReply::Ok("[Application]\nversion=2.5\n"));
  RunStartupChecks(online_, nullptr);
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].kind, "question");
}

TEST_F(NewsWindowTest, ClosingDuringTheStartupNewsRequestEndsEverything) {
  ScriptedReply stalled = ScriptedReply::Ok("9^Hel");
  stalled.rest =
      "lo\xAF"
      "OK";
  stalled.ending = ScriptedReply::Ending::Stall;
  server_.Route(kListPath, stalled);
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&] {
    QTimer::singleShot(0, [&] {
      client_.Disconnect();
      isClosing_ = true;
    });
  });
  int balloons = 0;
  RunStartupChecks(online_, [&](const std::string&) { ++balloons; });
  EXPECT_EQ(balloons, 0);
  EXPECT_EQ(server_.RequestCount(), 1u);  // no update check went out
  EXPECT_TRUE(prompter_.shown.empty());
}

// ---- Balloon ----

class BalloonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.resize(400, 300);
    auto* toolBar = new QWidget(&window_);
    toolBar->setGeometry(50, 20, 300, 40);
    newsButton_ = new QToolButton(toolBar);
    newsButton_->setGeometry(30, 5, 41, 31);
    window_.show();
  }
  QWidget window_;
  QToolButton* newsButton_ = nullptr;
  MessageBalloon* balloon_ = new MessageBalloon(&window_);
};

TEST_F(BalloonTest, PointsAtTheCentreOfTheNewsButton) {
  ShowNewsMessage(*balloon_, *newsButton_, "You've Got A Message!\r\nSpring issue \xE9t\xE9");
  EXPECT_TRUE(balloon_->isVisible());
  EXPECT_EQ(balloon_->Text(), QString::fromUtf8("You've Got A Message!\r\nSpring issue été"));
  const QPoint centre = newsButton_->mapToGlobal(QPoint(20, 15));
  EXPECT_EQ(balloon_->Anchor(), centre);
  EXPECT_EQ(NewsButtonAnchor(*newsButton_), centre);
  // Below and to the left of the anchor.
  EXPECT_EQ(balloon_->geometry().top(), centre.y());
  EXPECT_LT(balloon_->geometry().left(), centre.x());
  EXPECT_GT(balloon_->geometry().right(), centre.x());
  EXPECT_EQ(balloon_->font().pixelSize(), 11);
  EXPECT_FALSE(balloon_->grab().isNull());
}

TEST_F(BalloonTest, NextKeyPressRemovesIt) {
  balloon_->ShowAt(QPoint(100, 100), "text");
  QTest::keyClick(&window_, Qt::Key_A);
  EXPECT_FALSE(balloon_->isVisible());
}

TEST_F(BalloonTest, NextClickAnywhereRemovesIt) {
  balloon_->ShowAt(QPoint(100, 100), "text");
  QTest::mouseClick(newsButton_, Qt::LeftButton);
  EXPECT_FALSE(balloon_->isVisible());
  // Gone for good: later clicks are not watched any more, and a new balloon can show.
  balloon_->ShowAt(QPoint(120, 100), "again");
  EXPECT_TRUE(balloon_->isVisible());
  EXPECT_EQ(balloon_->Text(), "again");
}

TEST_F(BalloonTest, ANewBalloonReplacesTheOneShown) {
  balloon_->ShowAt(QPoint(100, 100), "first");
  balloon_->ShowAt(QPoint(200, 150), "second");
  EXPECT_TRUE(balloon_->isVisible());
  EXPECT_EQ(balloon_->Text(), "second");
  EXPECT_EQ(balloon_->Anchor(), QPoint(200, 150));
  QTest::keyClick(&window_, Qt::Key_Escape);
  EXPECT_FALSE(balloon_->isVisible());
}

}  // namespace
}  // namespace vellora::test
