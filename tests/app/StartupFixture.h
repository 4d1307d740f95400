// Shared set-up of the start-up and brand tests: a program folder of the test's own (settings
// file, banners, skin, icon), a loopback server for the online checks, and a main window started
// on that folder whose message boxes and browser are recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FMain.h"
#include "LoopbackServer.h"
#include "Prompter.h"

namespace vellora::test {

inline const QByteArray kUpdateInfoPath = "/liveupdate/vellora/mainappupdate.inf";
inline const QByteArray kNewsListPath = "/news/getlastnews.php";

class RecordingBoxes final : public Prompter {
 public:
  void Warning(std::string_view text) override { texts.emplace_back(text); }
  void Information(std::string_view text) override { texts.emplace_back(text); }
  Answer Question(std::string_view text) override {
    texts.emplace_back(text);
    return Answer::Cancel;
  }
  std::vector<std::string> texts;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path Dir() const;
  // The plain settings text, encrypted into dbsettings.dat with the brand password.
  void WriteSettings(const std::string& plainText);
  void WriteFile(const std::string& name, const QByteArray& bytes);
  // A picture of the demo brand copied into the program folder under name.
  void CopyDemoImage(const char* image, const std::string& name);

  // Creates the main window on the folder (its creation handler runs) and, when show is true,
  // shows it. Addresses, boxes and the update server are redirected before any event runs.
  TfrmMain& Start(bool show = true);
  // Runs events until the start-up check has run count times (or about ten seconds passed).
  bool WaitForChecks(int count);

  template <typename T>
  T* Control(const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  QTemporaryDir dir_;
  LoopbackServer server_;
  RecordingBoxes boxes_;
  std::vector<std::string> opened_;
  std::unique_ptr<TfrmMain> window;
  QTimer* timer = nullptr;
  int checksRun = 0;  // start-up checks that have returned
};

}  // namespace vellora::test
