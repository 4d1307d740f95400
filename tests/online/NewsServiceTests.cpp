// The three news requests on the wire and their replies, against the loopback server: form
// fields in order, both spellings of the base address, every reply form and error code,
// trimmed and untrimmed, failed, huge and binary replies.
#include <filesystem>
#include <string>
#include <vector>

#include "NewsService.h"
#include "OnlineFixture.h"

namespace vellora::test {
namespace {

const QByteArray kListPath = "/news/getlastnews.php";
const QByteArray kDetailsPath = "/news/getnewsdetails.php";

class NewsServiceTest : public OnlineTest {
 protected:
  void SetUp() override {
    OnlineTest::SetUp();
    UseMasterBrand(server_.BaseUrl() + "/news/");
  }
  void Reply(const QByteArray& path, const QByteArray& body) {
    server_.Route(path, ScriptedReply::Ok(body));
  }
  bool List(std::vector<std::string>& list) {
    return GetLastNews(online_, "pub77", "VELL-01", "BM", kNewsTarget, list);
  }
  bool Code(std::string& id, std::string& message, bool silent = false) {
    return GetLastNewsCode(online_, "pub77", "VELL-01", "BM", kNewsTarget, id, message, silent);
  }
  bool Details(const std::string& id, std::string& details) {
    return GetNewsDetails(online_, "pub77", "VELL-01", "BM", kNewsTarget, id, details);
  }
  std::vector<std::pair<std::string, std::string>> LastFields() const {
    const RecordedRequest& request = server_.Requests().back();
    std::vector<std::pair<std::string, std::string>> fields;
    for (const FormPart& part :
         ParseMultipart(request.Header("Content-Type").toStdString(), request.body.toStdString())) {
      EXPECT_EQ(part.headerLines.size(), 1u);
      fields.emplace_back(part.name, part.value);
    }
    return fields;
  }
};

using Fields = std::vector<std::pair<std::string, std::string>>;

TEST_F(NewsServiceTest, ListRequestOnTheWire) {
  Reply(kListPath, "OK");
  std::vector<std::string> list;
  ASSERT_TRUE(List(list));
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.Requests()[0].method, "POST");
  EXPECT_EQ(server_.Requests()[0].Header("User-Agent"), HttpClient::kUserAgent);
  EXPECT_EQ(LastFields(), (Fields{{"memusername", "pub77"},
                                  {"prodcode", "VELL-01"},
                                  {"prodtype", "BM"},
                                  {"conttype", "all"},
                                  {"newstarget", "UA"},
                                  {"something", ""}}));
}

TEST_F(NewsServiceTest, CodeRequestOnTheWire) {
  Reply(kListPath, "OK");
  std::string id, message;
  ASSERT_TRUE(Code(id, message));
  EXPECT_EQ(server_.Requests()[0].Path(), kListPath.toStdString());
  EXPECT_EQ(LastFields(), (Fields{{"memusername", "pub77"},
                                  {"prodcode", "VELL-01"},
                                  {"prodtype", "BM"},
                                  {"conttype", "lastcode"},
                                  {"newstarget", "UA"},
                                  {"something", ""}}));
}

TEST_F(NewsServiceTest, DetailsRequestOnTheWire) {
  Reply(kDetailsPath,
        "x\xAF"
        "OK");
  std::string details;
  ASSERT_TRUE(Details("17", details));
  EXPECT_EQ(server_.Requests()[0].Path(), kDetailsPath.toStdString());
  EXPECT_EQ(LastFields(), (Fields{{"memusername", "pub77"},
                                  {"prodcode", "VELL-01"},
                                  {"prodtype", "BM"},
                                  {"newsid", "17"},
                                  {"newstarget", "UA"},
                                  {"something", ""}}));
}

TEST_F(NewsServiceTest, BothSpellingsOfTheBaseAddressReachTheSameScript) {
  Reply(kListPath, "OK");
  Reply(kDetailsPath, "OK");
  std::vector<std::string> list;
  std::string details;
  for (const std::string& base : std::vector<std::string>{server_.BaseUrl() + "/news", server_.BaseUrl() + "/news/"}) {
    brand_.MasterNewsBaseURL = base;
    EXPECT_TRUE(List(list)) << base;
    EXPECT_TRUE(Details("1", details)) << base;
  }
  ASSERT_EQ(server_.RequestCount(), 4u);
  EXPECT_EQ(server_.Requests()[0].target, kListPath);
  EXPECT_EQ(server_.Requests()[1].target, kDetailsPath);
  EXPECT_EQ(server_.Requests()[2].target, kListPath);
  EXPECT_EQ(server_.Requests()[3].target, kDetailsPath);
}

TEST_F(NewsServiceTest, BaseAddressFollowsTheProductType) {
  brand_.PlatinumNewsBaseURL = server_.BaseUrl() + "/platinum";
  brand_.GoldNewsBaseURL = server_.BaseUrl() + "/gold/";
  server_.SetScript([](const RecordedRequest&) { return ScriptedReply::Ok("OK"); });
  std::vector<std::string> list;
  ASSERT_TRUE(GetLastNews(online_, "p", "c", "BP", "UA", list));
  ASSERT_TRUE(GetLastNews(online_, "g", "c", "BG", "UA", list));
  EXPECT_EQ(server_.Requests()[0].Path(), "/platinum/getlastnews.php");
  EXPECT_EQ(server_.Requests()[1].Path(), "/gold/getlastnews.php");
}

TEST_F(NewsServiceTest, ListRepliesAddTheirRecordsUntrimmedOrNot) {
  for (const QByteArray& frame : {QByteArray(""), QByteArray("  \r\n\t")}) {
    Reply(kListPath, frame +
                         "17^Spring news^May 1\xAF"
                         "\xAF"
                         "OK\xAF"
                         "18^Caf\xE9^June\xAF"
                         "OK" +
                         frame);
    std::vector<std::string> list{"kept"};
    ASSERT_TRUE(List(list));
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "17^Spring news^May 1", "18^Caf\xE9^June"}));
  }
  EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(NewsServiceTest, ListReplyOfOnlyOkHasNoRecords) {
  for (const QByteArray& reply : {QByteArray("OK"),
                                  QByteArray("\xAF"
                                             "OK"),
                                  QByteArray(" OK\n")}) {
    Reply(kListPath, reply);
    std::vector<std::string> list;
    EXPECT_TRUE(List(list));
    EXPECT_TRUE(list.empty());
  }
}

struct CodeReply {
  const char* name;
  QByteArray reply;
  const char* id;
  const char* message;
};

class NewsCodeReply : public NewsServiceTest, public ::testing::WithParamInterface<CodeReply> {};

TEST_P(NewsCodeReply, IdAndMessage) {
  Reply(kListPath, GetParam().reply);
  std::string id = "stale", message = "stale";
  ASSERT_TRUE(Code(id, message));
  EXPECT_EQ(id, GetParam().id);
  EXPECT_EQ(message, GetParam().message);
  EXPECT_TRUE(prompter_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Replies, NewsCodeReply,
                         ::testing::Values(CodeReply{"OkAlone", "OK", "", ""},
                                           CodeReply{"IdAndMessage",
                                                     "17^New issue out\xAF"
                                                     "OK",
                                                     "17", "New issue out"},
                                           CodeReply{"Untrimmed",
                                                     "\r\n 17^Hi there \xAF"
                                                     "OK\r\n",
                                                     "17", "Hi there "},
                                           CodeReply{"MessageWithCaret",
                                                     "9^before^after\xAF"
                                                     "OK",
                                                     "9", "before"},
                                           CodeReply{"IdOnly",
                                                     "9\xAF"
                                                     "OK",
                                                     "9", ""},
                                           CodeReply{"MarkAndOkOnly",
                                                     "\xAF"
                                                     "OK",
                                                     "", ""},
                                           CodeReply{"HighBytes",
                                                     "5^Gr\xFC\xDF\xAF"
                                                     "OK",
                                                     "5", "Gr\xFC\xDF"},
                                           CodeReply{"OkWithoutMark", "12^hello OK", "12",
                                                     "hello OK"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewsServiceTest, DetailsAreDecoded) {
  Reply(kDetailsPath,
        " <p>100$25 $3Cb$3E\xAF\xAF"
        "OK\r\n");
  std::string details;
  ASSERT_TRUE(Details("3", details));
  EXPECT_EQ(details, "<p>100% <b>\xAF");
}

TEST_F(NewsServiceTest, DetailsWithABadEscapeSucceedEmpty) {
  Reply(kDetailsPath,
        "<p>bad $zz escape\xAF"
        "OK");
  std::string details = "old";
  EXPECT_TRUE(Details("3", details));
  EXPECT_TRUE(details.empty());
  EXPECT_TRUE(prompter_.shown.empty());
}

struct ErrorReply {
  const char* name;
  QByteArray reply;
  const char* listMessage;     // empty: none shown
  const char* detailsMessage;  // empty: none shown
};

class NewsErrorReply : public NewsServiceTest, public ::testing::WithParamInterface<ErrorReply> {};

TEST_P(NewsErrorReply, FalseWithItsMessage) {
  const auto expected = [](const char* message) {
    return *message == '\0' ? std::vector<std::string>{} : std::vector<std::string>{message};
  };
  server_.SetScript([&](const RecordedRequest&) { return ScriptedReply::Ok(GetParam().reply); });
  std::vector<std::string> list;
  EXPECT_FALSE(List(list));
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(prompter_.Texts(), expected(GetParam().listMessage));
  for (const auto& shown : prompter_.shown) EXPECT_EQ(shown.kind, "warning");

  prompter_.shown.clear();
  std::string id, message;
  EXPECT_FALSE(Code(id, message));
  EXPECT_EQ(prompter_.Texts(), expected(GetParam().listMessage));
  prompter_.shown.clear();
  EXPECT_FALSE(Code(id, message, true));
  EXPECT_TRUE(prompter_.shown.empty());

  std::string details;
  EXPECT_FALSE(Details("4", details));
  EXPECT_EQ(prompter_.Texts(), expected(GetParam().detailsMessage));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, NewsErrorReply,
    ::testing::Values(ErrorReply{"Empty", "", kNewsSiteTroubleMessage, kNewsSiteTroubleMessage},
                      ErrorReply{"OnlyBlanks", " \r\n", kNewsSiteTroubleMessage,
                                 kNewsSiteTroubleMessage},
                      ErrorReply{"ConnectionFail", "CONNECTIONFAIL", kNewsSettingsTroubleMessage,
                                 kNewsSettingsTroubleMessage},
                      ErrorReply{"InvalidUser", "INVALIDUSER", kPublisherTroubleMessage,
                                 kPublisherTroubleMessage},
                      ErrorReply{"InvalidUserUntrimmed", "   INVALIDUSER\r\n",
                                 kPublisherTroubleMessage, kPublisherTroubleMessage},
                      ErrorReply{"InvalidProduct", "\tINVALIDPRODUCT\n", kProductTroubleMessage,
                                 kProductTroubleMessage},
                      ErrorReply{"InvalidNews", "INVALIDNEWS", "", kNewsTroubleMessage},
                      ErrorReply{"LowerCaseCode", "invaliduser", "", ""},
                      ErrorReply{"OtherText", "Service unavailable", "", ""},
                      ErrorReply{"LowerCaseOk", "ok", "", ""},
                      ErrorReply{"HtmlPage", "<html><body>Not here</body></html>", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewsServiceTest, FailedRequestsCountAsTheEmptyReply) {
  server_.Route(kListPath, ScriptedReply::Status(500, "INVALIDUSER"));
  ScriptedReply aborted;
  aborted.ending = ScriptedReply::Ending::Abort;
  server_.Route(kDetailsPath, aborted);
  std::vector<std::string> list;
  EXPECT_FALSE(List(list));
  std::string details;
  EXPECT_FALSE(Details("1", details));
  brand_.MasterNewsBaseURL.clear();  // no server name at all
  EXPECT_FALSE(List(list));
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>(3, kNewsSiteTroubleMessage));
}

TEST_F(NewsServiceTest, HugeReplyIsRefusedAsAFailedRequest) {
  Reply(kListPath, QByteArray(static_cast<qsizetype>(kMaxNewsReplySize) + 1, 'a') +
                       "\xAF"
                       "OK");
  std::vector<std::string> list;
  EXPECT_FALSE(List(list));
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{kNewsSiteTroubleMessage});
}

TEST_F(NewsServiceTest, BinaryRepliesGiveFalseOrTheirBytes) {
  const std::string binary =
      ReadWholeFile(std::filesystem::path(VELLORA_ONLINE_TEST_DATA) / "binary-news-reply.bin");
  ASSERT_FALSE(binary.empty());
  Reply(kListPath, QByteArray::fromStdString(binary));
  std::vector<std::string> list;
  EXPECT_FALSE(List(list));  // holds no "OK"
  EXPECT_TRUE(prompter_.shown.empty());
  // The same bytes as one record keep every byte.
  const std::string record = "7^" + std::string(TrimReply(binary));
  Reply(kListPath, QByteArray::fromStdString(record + "\xAF"
                                                      "OK"));
  list.clear();
  ASSERT_TRUE(List(list));
  std::string joined;
  for (const std::string& piece : list) joined += piece + "\xAF";
  EXPECT_EQ(joined, record + "\xAF");
}

}  // namespace
}  // namespace vellora::test
