#include "StartupFixture.h"

#include <QFile>
#include <QTest>

#include "BrandSettings.h"
#include "UUtils.h"
#include "WindowFixture.h"

namespace vellora::test {

void StartupTest::SetUp() {
  BrandSettings = {};
  ASSERT_TRUE(dir_.isValid());
  server_.Route(kUpdateInfoPath, ScriptedReply::Ok("[APPLICATION]\nVersion=2.0\n"));
}

void StartupTest::TearDown() {
  window.reset();
  BrandSettings = {};
}

std::filesystem::path StartupTest::Dir() const {
  return std::filesystem::path(QFile::encodeName(dir_.path()).toStdString());
}

void StartupTest::WriteFile(const std::string& name, const QByteArray& bytes) {
  QFile file(dir_.filePath(QString::fromStdString(name)));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

void StartupTest::WriteSettings(const std::string& plainText) {
  WriteFile("settings.txt", QByteArray::fromStdString(plainText));
  const CryptResult result = EncryptFileToFile(Dir() / "settings.txt", Dir() / kSettingsFileName);
  ASSERT_TRUE(result.Ok()) << result.Message;
  std::filesystem::remove(Dir() / "settings.txt");
}

void StartupTest::CopyDemoImage(const char* image, const std::string& name) {
  QFile source(QStringLiteral(VELLORA_DEMO_BRAND_DIR "/") + QString::fromLatin1(image));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << image;
  WriteFile(name, source.readAll());
}

TfrmMain& StartupTest::Start(bool show) {
  window = std::make_unique<TfrmMain>(Dir());
  OnlineContext& online = window->Online();
  online.updateBaseURL = server_.BaseUrl() + "/liveupdate/vellora/";
  online.prompter = &boxes_;
  online.openURL = [this](const std::string& address) {
    opened_.push_back(address);
    return true;
  };
  timer = window->findChild<QTimer*>(QStringLiteral("Timer1"));
  EXPECT_NE(timer, nullptr);
  // Connected after the window's own handler: counts the checks that have returned.
  QObject::connect(timer, &QTimer::timeout, window.get(), [this] { ++checksRun; });
  if (show) {
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  return *window;
}

bool StartupTest::WaitForChecks(int count) {
  return ProcessEventsUntil([this, count] { return checksRun >= count; });
}

}  // namespace vellora::test
