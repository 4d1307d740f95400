// Whether a command-line argument names a web address rather than a file (no Qt needed).
#pragma once

#include <string>

namespace vellora {

// True when a command-line argument is meant as an address rather than a file: it starts with a
// scheme and "://".
bool LooksLikeAddress(const std::string& argument);

}  // namespace vellora
