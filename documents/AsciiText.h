// ASCII-only case and space tests for names, labels and markup, where other letters must stay
// as they are: file extensions, charset labels, tag and attribute names.
#pragma once

#include <string>
#include <string_view>

namespace vellora {

inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// Space, tab, line feed, carriage return and form feed, as HTML counts white space.
inline bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace vellora
