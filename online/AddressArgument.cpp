#include "AddressArgument.h"

namespace vellora {

bool LooksLikeAddress(const std::string& argument) {
  const std::size_t colon = argument.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = argument[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && !(i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
      return false;
  }
  return true;
}

}  // namespace vellora
