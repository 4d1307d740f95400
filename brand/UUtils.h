// Small shared routines: caret-separated records, "$" escapes of news replies, opening an address
// in the user's browser, and the two file routines of the brand settings container.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "AesLib.h"

namespace vellora {

// The fixed password and work buffer of the brand settings container.
inline constexpr char kBrandPassword[] = "pqhrtzmwvx";
inline constexpr std::size_t kFileBufferSize = 0x40000;

// Clears list and refills it with the fields of text separated by separator. Empty fields count
// except a trailing one; an empty text gives an empty list.
void SplitByChar(char separator, std::string_view text, std::vector<std::string>& list);

// Decodes "$" followed by one or two hexadecimal digits into that byte; any other byte is copied.
// A malformed escape makes the whole result empty.
std::string DecodeHexEscapes(std::string_view text);

// The program path in a registered browser command: the command lower-cased (A-Z only), cut
// before the first ".exe", ".exe" appended, double quotes removed.
std::string BrowserPathFromCommand(std::string_view command);

// Asks the desktop to open address with the user's default browser, passing it unchanged.
// False when nothing could handle it (also without a running GUI application).
bool OpenURLInBrowser(const std::string& address);

// Container file routines with the fixed password and buffer. The destination is replaced only
// by a complete result: a container that does not verify leaves no plain file behind.
CryptResult EncryptFileToFile(const std::filesystem::path& plainPath,
                              const std::filesystem::path& containerPath);
CryptResult DecryptFileToFile(const std::filesystem::path& containerPath,
                              const std::filesystem::path& plainPath);

}  // namespace vellora
