// Shared parts of the online tests: a prompter that answers and records message boxes, a
// temporary program folder, multipart bodies parsed back, and a fixture with a loopback server,
// a client and an online context whose waits are bounded by a watchdog.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BrandSettings.h"
#include "HttpClient.h"
#include "LoopbackServer.h"
#include "OnlineContext.h"
#include "Prompter.h"

namespace vellora::test {

class RecordingPrompter final : public Prompter {
 public:
  struct Shown {
    std::string kind;  // "warning", "information" or "question"
    std::string text;
  };

  void Warning(std::string_view text) override { shown.push_back({"warning", std::string(text)}); }
  void Information(std::string_view text) override {
    shown.push_back({"information", std::string(text)});
  }
  Answer Question(std::string_view text) override {
    shown.push_back({"question", std::string(text)});
    if (answers.empty()) return Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> Texts() const;

  std::vector<Shown> shown;
  std::deque<Answer> answers;  // for the questions, in order; Cancel when none are left
};

struct FormPart {
  std::vector<std::string> headerLines;
  std::string name;
  std::string value;
};
// Splits a multipart/form-data body at the boundary named in contentType. Adds a test failure
// and returns what it has when the body does not follow the format.
std::vector<FormPart> ParseMultipart(const std::string& contentType, const std::string& body);

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// The plain brand settings text, encrypted into dbsettings.dat of folder with the brand password.
void WriteEncryptedSettings(const std::filesystem::path& folder, const std::string& plainText);

// Runs the event loop until done() holds or about ten seconds have passed; returns done().
bool ProcessEventsUntil(const std::function<bool()>& done);

class OnlineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path ProgramDir() const;
  // A brand at level Master with its news base address on the loopback server.
  void UseMasterBrand(const std::string& newsBase);

  QTemporaryDir tempDir_;
  LoopbackServer server_;
  HttpClient client_;
  RecordingPrompter prompter_;
  BrandSettingsRecord brand_;
  bool isClosing_ = false;
  OnlineContext online_;
  std::vector<std::string> openedAddresses_;
  int closeRequests_ = 0;

 private:
  // Ends any wait that outlives its test: a failing client or server must not hang the suite.
  QTimer watchdog_;
};

}  // namespace vellora::test
