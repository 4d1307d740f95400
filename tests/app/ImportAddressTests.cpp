// Import from address in the real window, against the loopback server: a page arrives in the pane
// as its readable text; a failed, refused or cancelled download leaves the pane as it was and the
// window says why.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "FImportAddress.h"
#include "LoopbackServer.h"
#include "NumericField.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

class ImportAddressTest : public WindowTest {
 protected:
  // Types the address into the window, presses its Import and waits for the download to end.
  // Returns the window's result; status holds what the window last said.
  int ImportFrom(const std::string& address, int article = 1,
                 const std::function<void(TfrmImportAddress&)>& whileDownloading = {}) {
    window->SetAddressDialogRunner([&](TfrmImportAddress& dialog) {
      dialog.show();
      dialog.findChild<QLineEdit*>(QStringLiteral("edtAddress"))
          ->setText(QString::fromStdString(address));
      dialog.findChild<QPushButton*>(QStringLiteral("btnFetch"))->click();
      if (whileDownloading) whileDownloading(dialog);
      EXPECT_TRUE(ProcessEventsUntil([&] { return !dialog.Downloading(); }));
      status = dialog.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
      return dialog.result();
    });
    Control<QPushButton>(article == 1 ? "btnImportAddress1" : "btnImportAddress2")->click();
    return 0;
  }

  QString Words(int article) {
    return Control<NumericField>(article == 1 ? "edtWords1" : "edtWords2")->text();
  }

  static ScriptedReply Page(QByteArray body) {
    ScriptedReply reply = ScriptedReply::Ok(std::move(body));
    reply.headers.append(
        qMakePair(QByteArray("Content-Type"), QByteArray("text/html; charset=utf-8")));
    return reply;
  }

  LoopbackServer server;
  QString status;
};

TEST_F(ImportAddressTest, PageArrivesInThePaneAsItsReadableTextAndIsCounted) {
  server.Route("/post", Page("<html><head><title>Post</title></head><body>"
                             "<nav>Home | About</nav><article><h1>Post</h1>"
                             "<p>Caf\xC3\xA9 gar<em>den</em>ers share tips.</p>"
                             "<p>Second paragraph here.</p></article>"
                             "<aside>We use cookies</aside></body></html>"));
  Type(window->Pane1(), QStringLiteral("old text"));
  ImportFrom(server.BaseUrl() + "/post", 2);
  EXPECT_EQ(window->Pane2().Text(),
            u"Post\nCaf\u00e9 gardeners share tips.\nSecond paragraph here.");
  EXPECT_EQ(window->ArticleText2, window->Pane2().Text());
  EXPECT_EQ(Words(2), QStringLiteral("8"));
  EXPECT_EQ(Control<NumericField>("edtParag2")->text(), QStringLiteral("3"));
  EXPECT_EQ(window->Pane1().Text(), u"old text");
}

TEST_F(ImportAddressTest, FailedDownloadKeepsThePaneAndNamesAddressAndCause) {
  Type(window->Pane1(), QStringLiteral("My precious article."));
  const std::string missing = server.BaseUrl() + "/missing";
  ImportFrom(missing);
  EXPECT_TRUE(status.contains(QString::fromStdString("\"" + missing + "\"")))
      << status.toStdString();
  EXPECT_TRUE(status.contains(QStringLiteral("HTTP 404"))) << status.toStdString();
  EXPECT_EQ(window->Pane1().Text(), u"My precious article.");
  EXPECT_EQ(window->ArticleText1, u"My precious article.");
  EXPECT_EQ(Words(1), QStringLiteral("3"));
}

TEST_F(ImportAddressTest, FileAddressIsRefusedWithoutARequest) {
  Type(window->Pane1(), QStringLiteral("Kept."));
  ImportFrom("file:///etc/passwd");
  EXPECT_TRUE(status.contains(QStringLiteral("only http:// and https://"))) << status.toStdString();
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_EQ(window->Pane1().Text(), u"Kept.");
}

TEST_F(ImportAddressTest, ProgressShowsAndCancelStopsTheDownloadKeepingThePane) {
  ScriptedReply held = Page("<p>first part");
  held.ending = ScriptedReply::Ending::Stall;
  held.rest = QByteArray(1000, 'x') + "</p>";
  server.Route("/held", held);
  Type(window->Pane2(), QStringLiteral("Keep me."));
  bool sawProgress = false;
  ImportFrom(server.BaseUrl() + "/held", 2, [&](TfrmImportAddress& dialog) {
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("prgDownload"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_TRUE(ProcessEventsUntil([&] { return label->text().startsWith("Downloading"); }));
    sawProgress = bar->isVisible() && bar->maximum() > 0 && dialog.Downloading();
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("btnFetch"))->isEnabled());
    dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    EXPECT_FALSE(dialog.Downloading());
    EXPECT_FALSE(dialog.isVisible());
  });
  EXPECT_TRUE(sawProgress);
  EXPECT_EQ(window->Pane2().Text(), u"Keep me.");
  EXPECT_EQ(Words(2), QStringLiteral("2"));
}

}  // namespace
}  // namespace vellora::test
