// Pages at http and https addresses as library documents: which arguments are addresses, the
// download of a page's readable text, and the title a page's document gets.
#pragma once

#include <string>

#include "ReadOutcome.h"

namespace vellora {

// True when a path given to the library is an address rather than a file.
bool IsPageAddress(const std::string& argument);

// Downloads the page and returns its readable text, or why there is none (a message naming the
// address). Waits in Qt's event loop on the calling thread, making the application object when
// there is none yet.
ReadOutcome<std::u16string> DownloadArticle(const std::string& address);

// The last segment of the address's path, or the address itself when the path has none.
std::string AddressTitle(const std::string& address);

}  // namespace vellora
