// DownloadFile and CheckForUpdate against the loopback server: the description file's version,
// the questions and their answers, the updater started with its arguments, and failed,
// oversized and interrupted downloads.
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>
#include <filesystem>
#include <string>

#include "AppVersion.h"
#include "LiveUpdate.h"
#include "OnlineFixture.h"

namespace vellora::test {
namespace {

namespace fs = std::filesystem;
using Answer = Prompter::Answer;
using Ending = ScriptedReply::Ending;

const QByteArray kInfoPath = "/liveupdate/vellora/mainappupdate.inf";

std::string OfferText(const std::string& version) {
  return std::string(kNewUpdateQuestionStart) + version + kNewUpdateQuestionEnd;
}

class LiveUpdateTest : public OnlineTest {
 protected:
  void ServeVersion(const std::string& version) {
    server_.Route(kInfoPath, ScriptedReply::Ok(QByteArray::fromStdString(
                                 "[APPLICATION]\r\nName=Vellora\r\nVersion=" + version + "\r\n")));
  }
  fs::path InfoFile() const { return ProgramDir() / kUpdateInfoFileName; }
  // An updater that writes its arguments, one a line, next to itself.
  void InstallRecordingUpdater() {
    const fs::path updater = ProgramDir() / kUpdaterFileName;
    WriteWholeFile(updater,
                   "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname "
                   "\"$0\")/updater-args.tmp\"\nmv \"$(dirname \"$0\")/updater-args.tmp\" "
                   "\"$(dirname \"$0\")/updater-args.txt\"\n");
    fs::permissions(updater, fs::perms::owner_all, fs::perm_options::add);
  }
};

TEST_F(LiveUpdateTest, DownloadWritesTheBodyAndReplacesAnOldFile) {
  WriteWholeFile(InfoFile(), "old content that is longer than the new one");
  server_.Route("/f", ScriptedReply::Ok("new"));
  ASSERT_TRUE(DownloadFile(client_, server_.BaseUrl() + "/f", InfoFile()));
  EXPECT_EQ(ReadWholeFile(InfoFile()), "new");
}

TEST_F(LiveUpdateTest, FailedDownloadsLeaveNoFile) {
  struct Case {
    const char* name;
    ScriptedReply reply;
  };
  ScriptedReply truncated = ScriptedReply::Ok("partial data");
  truncated.ending = Ending::Truncate;
  ScriptedReply aborted = ScriptedReply::Ok("x");
  aborted.ending = Ending::Abort;
  for (const Case& item : {Case{"404", ScriptedReply::Status(404, "missing")},
                           Case{"500", ScriptedReply::Status(500, "oops")},
                           Case{"truncated", truncated}, Case{"aborted", aborted}}) {
    WriteWholeFile(InfoFile(), "old");
    server_.Route("/f", item.reply);
    EXPECT_FALSE(DownloadFile(client_, server_.BaseUrl() + "/f", InfoFile())) << item.name;
    EXPECT_FALSE(fs::exists(InfoFile())) << item.name;
  }
}

TEST_F(LiveUpdateTest, DownloadAboveItsLimitFailsAndLeavesNoFile) {
  server_.Route("/big", ScriptedReply::Ok(QByteArray(200000, 'z')));
  EXPECT_FALSE(DownloadFile(client_, server_.BaseUrl() + "/big", InfoFile(), 100000));
  EXPECT_FALSE(fs::exists(InfoFile()));
}

TEST_F(LiveUpdateTest, NoDownloadStartsWhileClosing) {
  server_.Route("/f", ScriptedReply::Ok("data"));
  WriteWholeFile(InfoFile(), "old");
  isClosing_ = true;
  EXPECT_FALSE(DownloadFile(client_, server_.BaseUrl() + "/f", InfoFile()));
  EXPECT_EQ(server_.RequestCount(), 0u);
  EXPECT_EQ(ReadWholeFile(InfoFile()), "old");  // nothing else is done either
}

TEST_F(LiveUpdateTest, FileThatCannotBeCreatedIsAnError) {
  server_.Route("/f", ScriptedReply::Ok("data"));
  const fs::path inMissingFolder = ProgramDir() / "no-such-folder" / "file.inf";
  try {
    DownloadFile(client_, server_.BaseUrl() + "/f", inMissingFolder);
    ADD_FAILURE() << "no error";
  } catch (const DownloadFileError& error) {
    EXPECT_NE(std::string(error.what()).find("file.inf"), std::string::npos) << error.what();
  }
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(LiveUpdateTest, CheckAsksTheUpdateFolderForTheDescription) {
  ServeVersion("2.0");
  CheckForUpdate(online_, false);
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.Requests()[0].target, kInfoPath);
  EXPECT_EQ(server_.Requests()[0].method, "GET");
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{kNoUpdatesMessage});
  EXPECT_EQ(prompter_.shown[0].kind, "information");
  EXPECT_TRUE(fs::exists(InfoFile()));  // the description stays after the check
}

TEST_F(LiveUpdateTest, UpdateOfferedOnlyForNewerVersionTexts) {
  const std::vector<std::pair<std::string, bool>> cases{
      {"2.0", false},          {"2", false},         {"2.01", true},      {"10", true},
      {"2.0.1", false},        {"2.0000001", false}, {"2.0000002", true}, {"", false},
      {"not a number", false}, {"2.10", true}};
  for (const auto& [version, offered] : cases) {
    prompter_.shown.clear();
    ServeVersion(version);
    CheckForUpdate(online_, true);
    if (offered) {
      ASSERT_EQ(prompter_.shown.size(), 1u) << version;
      EXPECT_EQ(prompter_.shown[0].kind, "question");
      EXPECT_EQ(prompter_.shown[0].text, OfferText(version));  // spelled as in the file
    } else {
      EXPECT_TRUE(prompter_.shown.empty()) << version;
    }
  }
}

TEST_F(LiveUpdateTest, DescriptionsWithoutAUsableVersionOfferNothingAndSayTheCheckFailed) {
  for (const QByteArray& body :
       {QByteArray("<html><body>Welcome</body></html>"), QByteArray("[OTHER]\nVersion=9\n"),
        QByteArray("Version=9\n"), QByteArray("\x00\xFF\xFE[APPLICATION]\x00", 17),
        QByteArray("[APPLICATION]\nName=Vellora\n"), QByteArray("[APPLICATION]\nVersion=2.0.1\n"),
        QByteArray()}) {
    prompter_.shown.clear();
    server_.Route(kInfoPath, ScriptedReply::Ok(body));
    CheckForUpdate(online_, false);
    ASSERT_EQ(prompter_.shown.size(), 1u) << body.toStdString();
    EXPECT_EQ(prompter_.shown[0].kind, "warning");
    EXPECT_EQ(prompter_.shown[0].text, std::string(kUpdateCheckFailedStart) + server_.BaseUrl() +
                                           kInfoPath.toStdString() +
                                           ": the update description names no version");
    prompter_.shown.clear();
    CheckForUpdate(online_, true);
    EXPECT_TRUE(prompter_.shown.empty());
  }
}

TEST_F(LiveUpdateTest, OlderVersionOnTheServerIsNoUpdate) {
  ServeVersion("1.5");
  CheckForUpdate(online_, false);
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{kNoUpdatesMessage});
  EXPECT_EQ(std::string(kNoUpdatesMessage), "There are no new updates for this application!");
}

TEST_F(LiveUpdateTest, OversizedDescriptionIsRefusedAndTheCheckSaysWhy) {
  server_.Route(kInfoPath,
                ScriptedReply::Ok("[APPLICATION]\nVersion=9\n" + QByteArray(2 << 20, ';')));
  CheckForUpdate(online_, false);
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].kind, "warning");
  EXPECT_EQ(prompter_.shown[0].text, std::string(kUpdateCheckFailedStart) + server_.BaseUrl() +
                                         kInfoPath.toStdString() +
                                         ": the answer is larger than 1048576 bytes");
  EXPECT_FALSE(fs::exists(InfoFile()));
}

TEST_F(LiveUpdateTest, UnreachableServerManualCheckSaysItFailedAndSilentSaysNothing) {
  // A loopback port that was just given up: nothing listens there.
  quint16 port = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    port = probe.serverPort();
  }
  online_.updateBaseURL = "http://127.0.0.1:" + std::to_string(port) + "/liveupdate/vellora/";
  const std::string address = online_.updateBaseURL + kUpdateInfoFileName;
  WriteWholeFile(InfoFile(), "[APPLICATION]\nVersion=9\n");
  CheckForUpdate(online_, false);
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].kind, "warning");
  const std::string& text = prompter_.shown[0].text;
  EXPECT_EQ(text.rfind(std::string(kUpdateCheckFailedStart) + address + ": ", 0), 0u) << text;
  EXPECT_NE(text.find("refused"), std::string::npos) << text;  // the cause
  EXPECT_FALSE(fs::exists(InfoFile()));  // the old copy went before the download
  prompter_.shown.clear();
  CheckForUpdate(online_, true);
  EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(LiveUpdateTest, MissingDescriptionOnTheServerIsAFailedCheck) {
  server_.Route(kInfoPath, ScriptedReply::Status(404, "[APPLICATION]\nVersion=9\n"));
  CheckForUpdate(online_, false);
  ASSERT_EQ(prompter_.shown.size(), 1u);
  EXPECT_EQ(prompter_.shown[0].kind, "warning");
  EXPECT_EQ(prompter_.shown[0].text, std::string(kUpdateCheckFailedStart) + server_.BaseUrl() +
                                         kInfoPath.toStdString() + ": HTTP status 404");
  EXPECT_FALSE(fs::exists(InfoFile()));
}

TEST_F(LiveUpdateTest, FirstQuestionCancelledEndsTheCheck) {
  ServeVersion("3.0");
  prompter_.answers = {Answer::Cancel};
  CheckForUpdate(online_, false);
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{OfferText("3.0")});
  EXPECT_EQ(closeRequests_, 0);
}

TEST_F(LiveUpdateTest, MissingUpdaterIsReported) {
  ServeVersion("3.0");
  prompter_.answers = {Answer::Ok};
  CheckForUpdate(online_, false);
  ASSERT_EQ(prompter_.shown.size(), 2u);
  EXPECT_EQ(prompter_.shown[1].kind, "warning");
  EXPECT_EQ(prompter_.shown[1].text, kUpdaterMissingMessage);
  EXPECT_EQ(closeRequests_, 0);
}

TEST_F(LiveUpdateTest, SecondQuestionCancelledStartsNothing) {
  ServeVersion("3.0");
  InstallRecordingUpdater();
  prompter_.answers = {Answer::Ok, Answer::Cancel};
  CheckForUpdate(online_, false);
  ASSERT_EQ(prompter_.shown.size(), 2u);
  EXPECT_EQ(prompter_.shown[1].text,
            "To update your software the application will close to\n\rreplace some files. Do "
            "you want to update now?");
  EXPECT_EQ(closeRequests_, 0);
  QCoreApplication::processEvents();
  EXPECT_FALSE(fs::exists(ProgramDir() / "updater-args.txt"));
}

TEST_F(LiveUpdateTest, AcceptedUpdateStartsTheUpdaterAndClosesTheWindow) {
  ServeVersion("2.5");
  InstallRecordingUpdater();
  prompter_.answers = {Answer::Ok, Answer::Ok};
  CheckForUpdate(online_, true);  // a silent check asks the same questions
  EXPECT_EQ(prompter_.shown.size(), 2u);
  EXPECT_EQ(closeRequests_, 1);
  const fs::path args = ProgramDir() / "updater-args.txt";
  ASSERT_TRUE(ProcessEventsUntil([&] { return fs::exists(args); }));
  EXPECT_EQ(ReadWholeFile(args), online_.updateBaseURL + "\n" + AppVersion + "\nA\n");
}

TEST_F(LiveUpdateTest, DefaultBaseAddressUsesTheFixedPath) {
  const std::string base = DefaultUpdateBaseURL();
  EXPECT_TRUE(base.starts_with("http")) << base;
  EXPECT_TRUE(base.ends_with("/liveupdate/vellora/")) << base;
  EXPECT_EQ(base.find("//liveupdate"), std::string::npos) << base;
}

TEST_F(LiveUpdateTest, ClosingDuringAStalledDownloadEndsItQuietly) {
  ScriptedReply stalled = ScriptedReply::Ok("[APPLICATION]\n");
  stalled.rest = "Version=9\n";
  stalled.ending = Ending::Stall;
  server_.Route(kInfoPath, stalled);
  // The main window's close: disconnect, then the flag.
  QObject::connect(&server_, &LoopbackServer::AnswerSent, &server_, [&] {
    QTimer::singleShot(0, [&] {
      client_.Disconnect();
      isClosing_ = true;
    });
  });
  CheckForUpdate(online_, false);
  EXPECT_FALSE(fs::exists(InfoFile()));
  EXPECT_TRUE(prompter_.shown.empty());
  CheckForUpdate(online_, false);  // nothing more starts
  EXPECT_EQ(server_.RequestCount(), 1u);
  EXPECT_TRUE(prompter_.shown.empty());
}

}  // namespace
}  // namespace vellora::test
