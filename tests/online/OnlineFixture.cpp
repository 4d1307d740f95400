#include "OnlineFixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <fstream>

#include "AesLib.h"
#include "UUtils.h"

namespace vellora::test {

std::vector<std::string> RecordingPrompter::Texts() const {
  std::vector<std::string> texts;
  for (const Shown& item : shown) texts.push_back(item.text);
  return texts;
}

std::vector<FormPart> ParseMultipart(const std::string& contentType, const std::string& body) {
  std::vector<FormPart> parts;
  const std::string marker = "multipart/form-data; boundary=";
  if (contentType.rfind(marker, 0) != 0) {
    ADD_FAILURE() << "content type " << contentType;
    return parts;
  }
  const std::string delimiter = "--" + contentType.substr(marker.size());
  std::size_t pos = 0;
  if (body.compare(0, delimiter.size() + 2, delimiter + "\r\n") != 0) {
    ADD_FAILURE() << "body does not start with the boundary";
    return parts;
  }
  pos = delimiter.size() + 2;
  for (;;) {
    const std::size_t next = body.find("\r\n" + delimiter, pos);
    if (next == std::string::npos) {
      ADD_FAILURE() << "part without closing boundary";
      return parts;
    }
    const std::string part = body.substr(pos, next - pos);
    const std::size_t headerEnd = part.find("\r\n\r\n");
    if (headerEnd == std::string::npos) {
      ADD_FAILURE() << "part without header end";
      return parts;
    }
    FormPart parsed;
    std::size_t lineStart = 0;
    const std::string headers = part.substr(0, headerEnd);
    while (lineStart <= headers.size()) {
      const std::size_t lineEnd = std::min(headers.find("\r\n", lineStart), headers.size());
      parsed.headerLines.push_back(headers.substr(lineStart, lineEnd - lineStart));
      lineStart = lineEnd + 2;
    }
    const std::string namePrefix = "Content-Disposition: form-data; name=\"";
    if (!parsed.headerLines.empty() && parsed.headerLines[0].rfind(namePrefix, 0) == 0 &&
        parsed.headerLines[0].back() == '"')
      parsed.name = parsed.headerLines[0].substr(
          namePrefix.size(), parsed.headerLines[0].size() - namePrefix.size() - 1);
    parsed.value = part.substr(headerEnd + 4);
    parts.push_back(std::move(parsed));
    pos = next + 2 + delimiter.size();
    if (body.compare(pos, 4, "--\r\n") == 0) {
      if (pos + 4 != body.size()) ADD_FAILURE() << "bytes after the closing boundary";
      return parts;
    }
    if (body.compare(pos, 2, "\r\n") != 0) {
      ADD_FAILURE() << "boundary not followed by a line break";
      return parts;
    }
    pos += 2;
  }
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

void WriteEncryptedSettings(const std::filesystem::path& folder, const std::string& plainText) {
  const std::filesystem::path plain = folder / "dbsettings.sim";
  WriteWholeFile(plain, plainText);
  const CryptResult result = EncryptFileToFile(plain, folder / kSettingsFileName);
  ASSERT_TRUE(result.Ok()) << result.Message;
  std::filesystem::remove(plain);
}

bool ProcessEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(10000);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return done();
}

void OnlineTest::SetUp() {
  ASSERT_TRUE(tempDir_.isValid());
  client_.SetClosingFlag(&isClosing_);
  online_.client = &client_;
  online_.programDir = ProgramDir();
  online_.brand = &brand_;
  online_.prompter = &prompter_;
  online_.updateBaseURL = server_.BaseUrl() + "/liveupdate/vellora/";
  online_.closeMainWindow = [this] { ++closeRequests_; };
  online_.openURL = [this](const std::string& address) {
    openedAddresses_.push_back(address);
    return true;
  };
  watchdog_.setSingleShot(true);
  watchdog_.setInterval(20000);
  QObject::connect(&watchdog_, &QTimer::timeout, [this] {
    ADD_FAILURE() << "watchdog: a wait did not end";
    client_.Disconnect();
    server_.CloseAll();
    for (int i = 0; i < 10 && QApplication::activeModalWidget() != nullptr; ++i)
      QApplication::activeModalWidget()->close();
  });
  watchdog_.start();
}

void OnlineTest::TearDown() {
  watchdog_.stop();
  client_.Disconnect();
}

std::filesystem::path OnlineTest::ProgramDir() const {
  return std::filesystem::path(tempDir_.path().toStdString());
}

void OnlineTest::UseMasterBrand(const std::string& newsBase) {
  brand_.BranderType = "Master";
  brand_.BranderCode = "VELL-01";
  brand_.MasterPublID = "pub77";
  brand_.MasterNewsBaseURL = newsBase;
}

}  // namespace vellora::test
