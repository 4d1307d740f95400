// The shared client against the loopback server: headers, redirects, cookies, error statuses,
// streamed bodies, closed and stalled connections, disconnect, and one request at a time.
#include <QTimer>
#include <string>

#include "LiveUpdate.h"
#include "OnlineFixture.h"

namespace vellora::test {
namespace {

using Ending = ScriptedReply::Ending;

class HttpClientTest : public OnlineTest {
 protected:
  HttpResult GetText(const std::string& path, std::string& body) {
    body.clear();
    return client_.Get(server_.BaseUrl() + path, [&](const char* data, std::int64_t size) {
      body.append(data, static_cast<std::size_t>(size));
      return true;
    });
  }
};

TEST_F(HttpClientTest, GetSendsTheFixedHeaders) {
  server_.Route("/file.txt", ScriptedReply::Ok("hello"));
  std::string body;
  ASSERT_TRUE(GetText("/file.txt", body).Ok);
  EXPECT_EQ(body, "hello");
  ASSERT_EQ(server_.RequestCount(), 1u);
  const RecordedRequest& request = server_.Requests()[0];
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.Header("Accept"), "text/html, */*");
  EXPECT_EQ(request.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)");
  EXPECT_EQ(request.Header("Content-Type"), "text/html");
  EXPECT_EQ(request.HeaderCount("Accept"), 1);
  EXPECT_EQ(request.HeaderCount("Authorization"), 0);
}

TEST_F(HttpClientTest, RedirectsAreFollowedAndTheirBodiesDropped) {
  server_.Route("/old", ScriptedReply::Redirect(302, "/middle"));
  server_.Route("/middle",
                ScriptedReply::Redirect(301, server_.BaseUrl().c_str() + QByteArray("/new")));
  server_.Route("/new", ScriptedReply::Ok("final"));
  std::string body;
  const HttpResult result = GetText("/old", body);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(result.Status, 200);
  EXPECT_EQ(body, "final");
  // Qt now and then sends a redirected request a second time on a fresh connection when it
  // retires the one it used, so repeats in a row are folded before the order is checked.
  std::vector<std::string> paths;
  for (const RecordedRequest& r : server_.Requests()) {
    if (paths.empty() || paths.back() != r.Path()) paths.push_back(r.Path());
  }
  EXPECT_EQ(paths, (std::vector<std::string>{"/old", "/middle", "/new"}));
  EXPECT_EQ(server_.Requests().back().Path(), "/new");
  EXPECT_EQ(server_.Requests().back().Header("User-Agent"), HttpClient::kUserAgent);
}

TEST_F(HttpClientTest, EndlessRedirectsFail) {
  server_.Route("/loop", ScriptedReply::Redirect(302, "/loop"));
  std::string body;
  const HttpResult result = GetText("/loop", body);
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("edirect"), std::string::npos) << result.Error;
  EXPECT_TRUE(body.empty());
  // Qt's network thread may put a few more redirected requests on the wire before the reply
  // gives up, but far fewer than its own default of 50 redirects.
  EXPECT_LT(server_.RequestCount(), static_cast<std::size_t>(2 * HttpClient::kMaxRedirects));
}

TEST_F(HttpClientTest, CookiesAreSentBackLaterInTheRun) {
  ScriptedReply login = ScriptedReply::Ok("in");
  login.headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("session=abc123; Path=/")));
  server_.Route("/login", login);
  server_.Route("/next", ScriptedReply::Ok("next"));
  std::string body;
  ASSERT_TRUE(GetText("/login", body).Ok);
  ASSERT_TRUE(GetText("/next", body).Ok);
  ASSERT_EQ(server_.RequestCount(), 2u);
  EXPECT_TRUE(server_.Requests()[0].Header("Cookie").isEmpty());
  EXPECT_EQ(server_.Requests()[1].Header("Cookie"), "session=abc123");
}

TEST_F(HttpClientTest, ErrorStatusFailsWithoutPassingTheErrorPage) {
  for (const int status : {404, 500, 403}) {
    server_.Route("/missing", ScriptedReply::Status(status, "<html>error page</html>"));
    std::string body;
    const HttpResult result = GetText("/missing", body);
    EXPECT_FALSE(result.Ok) << status;
    EXPECT_EQ(result.Status, status);
    EXPECT_TRUE(body.empty()) << status;
    EXPECT_NE(result.Error.find("/missing"), std::string::npos) << result.Error;
  }
}

TEST_F(HttpClientTest, ClosedPortFails) {
  quint16 port = 0;
  {
    LoopbackServer gone;
    port = gone.Port();
  }
  std::string body;
  const HttpResult result = client_.Get("http://127.0.0.1:" + std::to_string(port) + "/x",
                                        [&](const char*, std::int64_t) { return true; });
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(result.Error.empty());
}

TEST_F(HttpClientTest, AddressesThatAreNotHttpFailAtOnce) {
  for (const std::string address : {"", "/getlastnews.php", "ftp://127.0.0.1/x", "not a url",
                                    "file:///etc/hostname", "http://"}) {
    const HttpResult result = client_.Get(address, [](const char*, std::int64_t) { return true; });
    EXPECT_FALSE(result.Ok) << address;
  }
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(HttpClientTest, AbruptCloseAndTruncatedBodiesFail) {
  for (const Ending ending : {Ending::Abort, Ending::Truncate}) {
    ScriptedReply reply = ScriptedReply::Ok("partial body");
    reply.ending = ending;
    server_.Route("/broken", reply);
    std::string body;
    EXPECT_FALSE(GetText("/broken", body).Ok);
  }
}

TEST_F(HttpClientTest, BodyEndingAtConnectionCloseIsComplete) {
  ScriptedReply reply = ScriptedReply::Ok("until the end");
  reply.ending = Ending::NoLengthClose;
  server_.Route("/stream", reply);
  std::string body;
  ASSERT_TRUE(GetText("/stream", body).Ok);
  EXPECT_EQ(body, "until the end");
}

TEST_F(HttpClientTest, BodyReachesTheSinkWhileTheAnswerIsStillOpen) {
  ScriptedReply reply = ScriptedReply::Ok("first half|");
  reply.rest = "second half";
  reply.ending = Ending::Stall;
  server_.Route("/slow", reply);
  std::string body;
  std::vector<std::size_t> stalledAtChunk;
  const HttpResult result =
      client_.Get(server_.BaseUrl() + "/slow", [&](const char* data, std::int64_t size) {
        stalledAtChunk.push_back(server_.StalledCount());
        body.append(data, static_cast<std::size_t>(size));
        if (body == "first half|") server_.Release();
        return true;
      });
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(body, "first half|second half");
  ASSERT_FALSE(stalledAtChunk.empty());
  EXPECT_EQ(stalledAtChunk.front(), 1u);  // the first part came while the server held the rest
}

TEST_F(HttpClientTest, EventsAreHandledWhileARequestWaits) {
  ScriptedReply reply = ScriptedReply::Ok("a");
  reply.rest = "b";
  reply.ending = Ending::Stall;
  server_.Route("/held", reply);
  bool timerRan = false;
  // Only an event handled during the wait can release the answer.
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&] {
    QTimer::singleShot(0, [&] {
      timerRan = true;
      server_.Release();
    });
  });
  std::string body;
  ASSERT_TRUE(GetText("/held", body).Ok);
  EXPECT_TRUE(timerRan);
  EXPECT_EQ(body, "ab");
}

TEST_F(HttpClientTest, DisconnectEndsAWaitingRequestAtOnce) {
  ScriptedReply reply = ScriptedReply::Ok("part");
  reply.rest = "never sent";
  reply.ending = Ending::Stall;
  server_.Route("/stalled", reply);
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&](int index) {
    if (index == 0) QTimer::singleShot(0, [&] { client_.Disconnect(); });
  });
  std::string body;
  const HttpResult result = GetText("/stalled", body);
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(client_.Busy());
  // The client still works afterwards.
  server_.Route("/after", ScriptedReply::Ok("fine"));
  const HttpResult after = GetText("/after", body);
  ASSERT_TRUE(after.Ok) << after.Error;
  EXPECT_EQ(body, "fine");
}

TEST_F(HttpClientTest, SinkRefusalStopsTheTransfer) {
  server_.Route("/big", ScriptedReply::Ok(QByteArray(1 << 20, 'x')));
  std::int64_t received = 0;
  const HttpResult result =
      client_.Get(server_.BaseUrl() + "/big", [&](const char*, std::int64_t size) {
        received += size;
        return received < 1000;
      });
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Error.find("stopped"), std::string::npos);
}

TEST_F(HttpClientTest, PostSendsNamedFieldsInOrderAsMultipart) {
  server_.Route("/form", ScriptedReply::Ok("answer\xAF"
                                           "OK"));
  const std::vector<FormField> fields{
      {"memusername", "pub\xE9"}, {"prodcode", "A^B"}, {"empty", ""}, {"lines", "two\r\nlines"}};
  std::string reply;
  const HttpResult result = client_.PostForm(server_.BaseUrl() + "/form", fields, reply, 1 << 20);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(reply,
            "answer\xAF"
            "OK");
  ASSERT_EQ(server_.RequestCount(), 1u);
  const RecordedRequest& request = server_.Requests()[0];
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.Header("Accept"), HttpClient::kAccept);
  EXPECT_EQ(request.Header("User-Agent"), HttpClient::kUserAgent);
  const auto parts =
      ParseMultipart(request.Header("Content-Type").toStdString(), request.body.toStdString());
  ASSERT_EQ(parts.size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(parts[i].headerLines.size(), 1u) << i;
    EXPECT_EQ(parts[i].name, fields[i].Name);
    EXPECT_EQ(parts[i].value, fields[i].Value);
  }
}

TEST_F(HttpClientTest, PostAnswerLargerThanTheLimitFails) {
  server_.Route("/huge", ScriptedReply::Ok(QByteArray(300000, 'a')));
  std::string reply;
  const HttpResult result =
      client_.PostForm(server_.BaseUrl() + "/huge", {{"a", "b"}}, reply, 100000);
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(reply.empty());
  EXPECT_NE(result.Error.find("larger than 100000 bytes"), std::string::npos) << result.Error;
}

TEST_F(HttpClientTest, ASecondRequestWaitsForTheFirst) {
  ScriptedReply slow = ScriptedReply::Ok("one-");
  slow.rest = "done";
  slow.ending = Ending::Stall;
  server_.Route("/first", slow);
  server_.Route("/second", ScriptedReply::Ok("two"));
  std::string second;
  bool secondOk = false;
  std::size_t requestsWhenSecondStarted = 0;
  bool started = false;
  // While the first waits, an event starts the second; the first's answer is released only
  // after the second has been queued.
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&](int index) {
    if (index != 0) return;
    QTimer::singleShot(0, [&] {
      started = true;
      QTimer::singleShot(0, [&] { server_.Release(); });
      secondOk = GetText("/second", second).Ok;
    });
  });
  QObject::connect(&client_, &HttpClient::RequestStarted, &client_, [&] {
    if (started) requestsWhenSecondStarted = server_.RequestCount();
  });
  std::string first;
  ASSERT_TRUE(GetText("/first", first).Ok);
  EXPECT_EQ(first, "one-done");
  EXPECT_TRUE(secondOk);
  EXPECT_EQ(second, "two");
  // The second went on the wire only after the first had ended.
  EXPECT_EQ(requestsWhenSecondStarted, 1u);
  EXPECT_EQ(server_.StalledCount(), 0u);
}

TEST_F(HttpClientTest, DisconnectAlsoEndsARequestWaitingForItsTurn) {
  ScriptedReply slow = ScriptedReply::Ok("x");
  slow.rest = "y";
  slow.ending = Ending::Stall;
  server_.Route("/first", slow);
  server_.Route("/second", ScriptedReply::Ok("two"));
  bool secondOk = true;
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&](int index) {
    if (index != 0) return;
    QTimer::singleShot(0, [&] {
      QTimer::singleShot(0, [&] { client_.Disconnect(); });
      std::string second;
      secondOk = GetText("/second", second).Ok;
    });
  });
  std::string first;
  EXPECT_FALSE(GetText("/first", first).Ok);
  EXPECT_FALSE(secondOk);
  EXPECT_EQ(server_.RequestCount(), 1u);
}

}  // namespace
}  // namespace vellora::test
