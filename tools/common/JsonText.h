// JSON string literals for the tools' --json output.
#pragma once

#include <string>
#include <string_view>

namespace vellora {

// The UTF-8 text as a quoted JSON string: quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view utf8);

}  // namespace vellora
