#include "UUtils.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QString>
#include <QUrl>

namespace vellora {

void SplitByChar(char separator, std::string_view text, std::vector<std::string>& list) {
  list.clear();
  std::string field;
  for (char c : text) {
    if (c == separator) {
      list.push_back(std::move(field));
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  if (!field.empty()) list.push_back(std::move(field));
}

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::string DecodeHexEscapes(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '$') {
      result.push_back(text[i++]);
      continue;
    }
    // One or two digits; a single digit is accepted only when the text ends after it.
    const std::size_t digits = std::min<std::size_t>(2, text.size() - i - 1);
    if (digits == 0) return {};
    int value = 0;
    for (std::size_t d = 0; d < digits; ++d) {
      const int v = HexValue(text[i + 1 + d]);
      if (v < 0) return {};
      value = value * 16 + v;
    }
    result.push_back(static_cast<char>(static_cast<unsigned char>(value)));
    i += 1 + digits;
  }
  return result;
}

std::string BrowserPathFromCommand(std::string_view command) {
  std::string lower(command);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  std::string path = lower.substr(0, lower.find(".exe"));
  path += ".exe";
  std::erase(path, '"');
  return path;
}

bool OpenURLInBrowser(const std::string& address) {
  // Desktop services need the GUI application's platform integration.
  if (QGuiApplication::instance() == nullptr || address.empty()) return false;
  const QUrl url(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())),
                 QUrl::TolerantMode);
  if (!url.isValid()) return false;
  return QDesktopServices::openUrl(url);
}

CryptResult EncryptFileToFile(const std::filesystem::path& plainPath,
                              const std::filesystem::path& containerPath) {
  return EncryptFileWithPassword(plainPath, containerPath, kBrandPassword, kFileBufferSize);
}

CryptResult DecryptFileToFile(const std::filesystem::path& containerPath,
                              const std::filesystem::path& plainPath) {
  return DecryptFileWithPassword(containerPath, plainPath, kBrandPassword, kFileBufferSize);
}

}  // namespace vellora
