#include "LiveUpdate.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>

#include "AppVersion.h"
#include "IniText.h"
#include "OnlineContext.h"
#include "Prompter.h"

#ifndef VELLORA_UPDATE_BASE_URL
#define VELLORA_UPDATE_BASE_URL "http://updates.vellora.invalid"
#endif

namespace vellora {
namespace fs = std::filesystem;

std::string DefaultUpdateBaseURL() {
  std::string host = VELLORA_UPDATE_BASE_URL;
  while (!host.empty() && host.back() == '/') host.pop_back();
  return host + kUpdatePath;
}

DownloadOutcome DownloadFileWithCause(HttpClient& client, const std::string& URL,
                                      const fs::path& FileName, std::uint64_t maxBytes) {
  if (client.IsClosing()) return {false, URL + ": the program is closing"};
  std::error_code error;
  if (fs::exists(fs::symlink_status(FileName, error)) && !fs::remove(FileName, error))
    throw DownloadFileError("Cannot delete " + FileName.string() + ": " + error.message());
  std::ofstream file(FileName, std::ios::binary | std::ios::trunc);
  if (!file)
    throw DownloadFileError("Cannot create " + FileName.string() + ": " +
                            std::generic_category().message(errno));
  QCoreApplication::processEvents();

  // The window may have started to close while its events ran.
  HttpResult result;
  std::string sinkCause;
  if (client.IsClosing()) {
    result.Error = URL + ": the program is closing";
  } else {
    std::uint64_t written = 0;
    result = client.Get(URL, [&](const char* data, std::int64_t size) {
      const auto count = static_cast<std::uint64_t>(size);
      if (count > maxBytes - written) {
        sinkCause = URL + ": the answer is larger than " + std::to_string(maxBytes) + " bytes";
        return false;
      }
      written += count;
      if (!file.write(data, static_cast<std::streamsize>(size))) {
        sinkCause = "cannot write " + FileName.string();
        return false;
      }
      return true;
    });
  }
  if (result.Ok) {
    file.close();
    if (file) {
      client.CloseConnections();
      return {true, {}};
    }
    sinkCause = "cannot write " + FileName.string();
  }
  client.CloseConnections();
  file.close();
  fs::remove(FileName, error);
  return {false, sinkCause.empty() ? result.Error : sinkCause};
}

bool DownloadFile(HttpClient& client, const std::string& URL, const fs::path& FileName,
                  std::uint64_t maxBytes) {
  return DownloadFileWithCause(client, URL, FileName, maxBytes).Ok;
}

namespace {

// The whole local description, or nothing when it cannot be read or is too large to be one.
std::optional<std::string> ReadDescription(const fs::path& file) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(file, error);
  if (error || size > kMaxIniFileSize) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) return std::nullopt;
  return text;
}

}  // namespace

std::optional<float> ParseVersionNumber(std::string_view text) {
  // Only plain decimal notation; from_chars alone would also take "inf", "nan" and hex forms.
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t firstDigit = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == firstDigit) return std::nullopt;
    i = j;
  }
  if (i != text.size()) return std::nullopt;
  std::string_view number = text;
  if (number.front() == '+') number.remove_prefix(1);
  float value = 0.0f;
  const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (status != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

float VersionNumber(std::string_view text) {
  return ParseVersionNumber(text).value_or(0.0f);
}

bool IsNewerVersion(std::string_view serverVersion) {
  return VersionNumber(serverVersion) > VersionNumber(AppVersion);
}

void CheckForUpdate(const OnlineContext& online, bool Silent) {
  Prompter& prompter = PrompterOf(online);
  const fs::path localFile = online.programDir / kUpdateInfoFileName;
  const std::string address = online.updateBaseURL + kUpdateInfoFileName;

  // Why the server's version could not be learnt; empty once it is known.
  std::string failure;
  std::string version;
  const DownloadOutcome download =
      online.client != nullptr
          ? DownloadFileWithCause(*online.client, address, localFile, kMaxIniFileSize)
          : DownloadOutcome{false, address + ": no connection is available"};
  if (!download.Ok) {
    failure = download.Error;
  } else if (const std::optional<std::string> text = ReadDescription(localFile); !text) {
    failure = "cannot read " + localFile.string();
  } else {
    version = ReadIniValue(*text, "APPLICATION", "Version");
    if (!ParseVersionNumber(version))
      failure = address + ": the update description names no version";
  }

  if (failure.empty() && IsNewerVersion(version)) {
    if (prompter.Question(kNewUpdateQuestionStart + version + kNewUpdateQuestionEnd) !=
        Prompter::Answer::Ok)
      return;
    std::error_code error;
    const fs::path updater = online.programDir / kUpdaterFileName;
    if (!fs::exists(updater, error)) {
      prompter.Warning(kUpdaterMissingMessage);
      return;
    }
    if (prompter.Question(kUpdateCloseQuestion) == Prompter::Answer::Cancel) return;
    QProcess::startDetached(
        QString::fromStdString(updater.string()),
        {QString::fromLatin1(online.updateBaseURL.data(),
                             static_cast<qsizetype>(online.updateBaseURL.size())),
         QString::fromLatin1(AppVersion), QStringLiteral("A")});
    if (online.closeMainWindow) online.closeMainWindow();
    return;
  }
  // A check ended by the closing window says nothing more.
  if (Silent || OnlineClosing(online)) return;
  if (!failure.empty()) {
    prompter.Warning(kUpdateCheckFailedStart + failure);
  } else {
    prompter.Information(kNoUpdatesMessage);
  }
}

}  // namespace vellora
