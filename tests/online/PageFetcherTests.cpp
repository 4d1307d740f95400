// Downloading a page to import it, against the loopback server: charsets from the header,
// redirects and loops, error statuses, a stalled body, oversized bodies, Cancel and refused
// addresses.
#include <QSignalSpy>
#include <QTcpServer>
#include <string>

#include "OnlineFixture.h"
#include "PageFetcher.h"
#include "UPlainText.h"

namespace vellora::test {
namespace {

using Ending = ScriptedReply::Ending;
using namespace std::chrono_literals;

class PageFetcherTest : public OnlineTest {
 protected:
  QString Address(const std::string& path) const {
    return QString::fromStdString(server_.BaseUrl() + path);
  }
  static ScriptedReply Page(QByteArray body, QByteArray contentType) {
    ScriptedReply reply = ScriptedReply::Ok(std::move(body));
    reply.headers.append(qMakePair(QByteArray("Content-Type"), std::move(contentType)));
    return reply;
  }
  ReadOutcome<std::u16string> Import(const std::string& path, const FetchSettings& settings = {}) {
    return ArticleFromDownload(FetchPageNow(Address(path), settings));
  }
};

TEST_F(PageFetcherTest, HeaderCharsetDecodesThePageOverItsMeta) {
  server_.Route("/page", Page("<html><head><meta charset=utf-8><title>T</title></head>"
                              "<body><nav>menu</nav><p>\xC0\xC1 text</p></body></html>",
                              "text/html; charset=windows-1251"));
  const auto text = Import("/page");
  ASSERT_TRUE(text.Ok()) << text.Cause;
  EXPECT_EQ(ToUtf8(text.Value), "T\n\u0410\u0411 text");
  ASSERT_GE(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.Requests()[0].method, "GET");
  EXPECT_TRUE(server_.Requests()[0].Header("Accept").contains("text/html"));
}

TEST_F(PageFetcherTest, PlainTextAnswerIsReadAsTextAndOtherTypesAreRefused) {
  server_.Route("/notes.txt", Page("line <b>one</b>\r\nline two", "text/plain; charset=utf-8"));
  server_.Route("/picture", Page("\x89PNG\r\n", "image/png"));
  const auto text = Import("/notes.txt");
  ASSERT_TRUE(text.Ok()) << text.Cause;
  EXPECT_EQ(ToUtf8(text.Value), "line <b>one</b>\nline two");
  const auto picture = Import("/picture");
  ASSERT_FALSE(picture.Ok());
  EXPECT_NE(picture.Cause.find(Address("/picture").toStdString()), std::string::npos);
  EXPECT_NE(picture.Cause.find("image/png"), std::string::npos) << picture.Cause;
}

TEST_F(PageFetcherTest, TenRedirectsAreFollowedButNotEleven) {
  server_.SetScript([](const RecordedRequest& request) {
    const std::string path =
        request.Path();  // "/hop/N" redirects to "/hop/N-1"; "/hop/0" is the page
    const int n = std::stoi(path.substr(5));
    if (n == 0) return Page("<p>arrived</p>", "text/html");
    return ScriptedReply::Redirect(302, QByteArray("/hop/") + QByteArray::number(n - 1));
  });
  const auto ten = FetchPageNow(Address("/hop/10"));
  ASSERT_TRUE(ten.Ok()) << ten.Cause;
  EXPECT_EQ(ten.Value.FinalAddress, server_.BaseUrl() + "/hop/0");
  EXPECT_EQ(ToUtf8(ArticleFromDownload(ten).Value), "arrived");
  const auto eleven = FetchPageNow(Address("/hop/11"));
  ASSERT_FALSE(eleven.Ok());
  EXPECT_NE(eleven.Cause.find("/hop/11"), std::string::npos) << eleven.Cause;
  EXPECT_NE(eleven.Cause.find("more than 10 times"), std::string::npos) << eleven.Cause;
}

TEST_F(PageFetcherTest, RedirectLoopFailsNamingTheAddress) {
  server_.Route("/a", ScriptedReply::Redirect(301, "/b"));
  server_.Route("/b", ScriptedReply::Redirect(301, "/a"));
  const auto loop = FetchPageNow(Address("/a"));
  ASSERT_FALSE(loop.Ok());
  EXPECT_NE(loop.Cause.find("\"" + server_.BaseUrl() + "/a\""), std::string::npos) << loop.Cause;
  EXPECT_NE(loop.Cause.find("redirect loop"), std::string::npos) << loop.Cause;
  EXPECT_LE(server_.RequestCount(), 2u * 12u);
}

TEST_F(PageFetcherTest, RedirectToAFileAddressIsRefused) {
  server_.Route("/sneaky", ScriptedReply::Redirect(302, "file:///etc/passwd"));
  const auto result = FetchPageNow(Address("/sneaky"));
  ASSERT_FALSE(result.Ok());
  EXPECT_EQ(result.Cause.find("root:"), std::string::npos);
  EXPECT_NE(result.Cause.find("/sneaky"), std::string::npos) << result.Cause;
}

TEST_F(PageFetcherTest, ErrorStatusFailsWithTheStatus) {
  server_.Route("/missing", ScriptedReply::Status(404, "<p>custom not found page</p>"));
  server_.Route("/broken", ScriptedReply::Status(500, "<p>oops</p>"));
  const auto missing = Import("/missing");
  ASSERT_FALSE(missing.Ok());
  EXPECT_EQ(missing.Cause, "Cannot import \"" + server_.BaseUrl() +
                               "/missing\": the server answered HTTP 404 Error.");
  const auto broken = Import("/broken");
  ASSERT_FALSE(broken.Ok());
  EXPECT_NE(broken.Cause.find("HTTP 500"), std::string::npos) << broken.Cause;
}

TEST_F(PageFetcherTest, StalledBodyTimesOutAfterTheIdleTime) {
  ScriptedReply stalled = Page("<p>first half", "text/html");
  stalled.ending = Ending::Stall;
  stalled.rest = " second half</p>";
  server_.Route("/slow", stalled);
  FetchSettings settings;
  settings.IdleTimeout = 300ms;
  const auto result = FetchPageNow(Address("/slow"), settings);
  ASSERT_FALSE(result.Ok());
  EXPECT_NE(result.Cause.find("/slow\": no data arrived for 300 ms"), std::string::npos)
      << result.Cause;
}

TEST_F(PageFetcherTest, BodyArrivingSlowlyButSteadilyDoesNotTimeOut) {
  ScriptedReply stalled = Page("<p>first half", "text/html");
  stalled.ending = Ending::Stall;
  stalled.rest = " second half</p>";
  server_.Route("/steady", stalled);
  FetchSettings settings;
  settings.IdleTimeout = 2s;
  QTimer::singleShot(300, &server_, [this] { server_.Release(); });
  const auto text = Import("/steady", settings);
  ASSERT_TRUE(text.Ok()) << text.Cause;
  EXPECT_EQ(ToUtf8(text.Value), "first half second half");
}

TEST_F(PageFetcherTest, OversizedBodyIsRefusedWithOrWithoutALength) {
  FetchSettings settings;
  settings.MaxBytes = 64 * 1024;
  server_.Route("/declared", Page(QByteArray(100 * 1024, 'a'), "text/html"));
  ScriptedReply streamed = Page(QByteArray(100 * 1024, 'b'), "text/html");
  streamed.ending = Ending::NoLengthClose;
  server_.Route("/streamed", streamed);
  server_.Route("/fits", Page(QByteArray(64 * 1024, 'c'), "text/plain"));
  for (const char* path : {"/declared", "/streamed"}) {
    const auto result = FetchPageNow(Address(path), settings);
    ASSERT_FALSE(result.Ok()) << path;
    EXPECT_NE(result.Cause.find(std::string(path) + "\": the page is larger than the 64 KiB"),
              std::string::npos)
        << result.Cause;
  }
  const auto fits = FetchPageNow(Address("/fits"), settings);
  ASSERT_TRUE(fits.Ok()) << fits.Cause;
  EXPECT_EQ(fits.Value.Bytes.size(), 64u * 1024u);
}

TEST_F(PageFetcherTest, CancelStopsTheDownloadAndReportsIt) {
  ScriptedReply stalled = Page("<p>partial", "text/html");
  stalled.ending = Ending::Stall;
  stalled.rest = "</p>";
  server_.Route("/held", stalled);
  PageFetcher fetcher;
  QSignalSpy finished(&fetcher, &PageFetcher::Finished);
  QSignalSpy progress(&fetcher, &PageFetcher::Progress);
  fetcher.Start(Address("/held"));
  EXPECT_TRUE(fetcher.Running());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !progress.isEmpty(); }));
  EXPECT_GT(progress.last().at(0).toLongLong(), 0);
  fetcher.Cancel();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !finished.isEmpty(); }));
  EXPECT_FALSE(fetcher.Running());
  ASSERT_FALSE(fetcher.Outcome().Ok());
  EXPECT_NE(fetcher.Outcome().Cause.find("the download was cancelled"), std::string::npos);
  EXPECT_EQ(finished.size(), 1);
}

TEST_F(PageFetcherTest, RefusedConnectionNamesTheCause) {
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const QString address = QStringLiteral("http://127.0.0.1:%1/page").arg(closed.serverPort());
  closed.close();
  const auto result = FetchPageNow(address);
  ASSERT_FALSE(result.Ok());
  EXPECT_EQ(result.Cause,
            "Cannot import \"" + address.toStdString() + "\": the server refused the connection.");
}

struct RefusedAddress {
  const char* address;
  const char* cause;
};

class RefusedAddresses : public PageFetcherTest,
                         public ::testing::WithParamInterface<RefusedAddress> {};

TEST_P(RefusedAddresses, AreRefusedBeforeAnyRequest) {
  PageFetcher fetcher;
  QSignalSpy finished(&fetcher, &PageFetcher::Finished);
  fetcher.Start(QString::fromUtf8(GetParam().address));
  ASSERT_TRUE(ProcessEventsUntil([&] { return !finished.isEmpty(); }));
  ASSERT_FALSE(fetcher.Outcome().Ok());
  EXPECT_NE(fetcher.Outcome().Cause.find(GetParam().cause), std::string::npos)
      << fetcher.Outcome().Cause;
  EXPECT_EQ(server_.RequestCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedAddresses,
    ::testing::Values(
        RefusedAddress{
            "file:///etc/passwd",
            "\"file:///etc/passwd\": only http:// and https:// addresses can be imported"},
        RefusedAddress{"ftp://example.com/page", "only http:// and https://"},
        RefusedAddress{"javascript:alert(1)", "only http:// and https://"},
        RefusedAddress{"example.com/page", "only http:// and https://"},
        RefusedAddress{"http://", "not a valid web address"},
        RefusedAddress{"   ", "Type the address of a web page."}));

TEST(PageAddressArguments, SchemeAndSlashesMakeAnAddress) {
  EXPECT_TRUE(LooksLikeAddress("https://a.example/page"));
  EXPECT_TRUE(LooksLikeAddress("HTTP://a.example"));
  EXPECT_TRUE(LooksLikeAddress("ftp://a.example"));
  EXPECT_FALSE(LooksLikeAddress("article.txt"));
  EXPECT_FALSE(LooksLikeAddress("/tmp/a://b"));
  EXPECT_FALSE(LooksLikeAddress("://x"));
  EXPECT_FALSE(LooksLikeAddress("C:\\text.txt"));
}

}  // namespace
}  // namespace vellora::test
