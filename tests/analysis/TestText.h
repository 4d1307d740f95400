// Helpers shared by the analysis tests: UTF-8 literals to engine text, readable printing of
// span items, and compact descriptions of word lists for failure messages.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "UPlainText.h"
#include "UWords.h"

inline std::u16string U(const std::string& utf8) {
  return vellora::FromUtf8(utf8);
}

inline void PrintTo(const TWord& w, std::ostream* os) {
  char color[16];
  std::snprintf(color, sizeof color, "%06X", static_cast<unsigned>(w.Color));
  *os << "(" << w.StartPos << ", " << w.EndPos << ", 0x" << color << ")";
}
inline bool operator==(const TWord& a, const TWord& b) {
  return a.StartPos == b.StartPos && a.EndPos == b.EndPos && a.Color == b.Color;
}

struct Range {
  int first;
  int last;
  bool operator==(const Range&) const = default;
};
inline void PrintTo(const Range& r, std::ostream* os) {
  *os << "(" << r.first << ", " << r.last << ")";
}

template <typename List>
std::vector<Range> RangesOf(const List& list) {
  std::vector<Range> out;
  for (const auto& item : list) out.push_back({item.FirstWord, item.LastWord});
  return out;
}

inline std::vector<std::pair<int, int>> PositionsOf(const TListWords& words) {
  std::vector<std::pair<int, int>> out;
  for (const TWord& w : words) out.emplace_back(w.StartPos, w.EndPos);
  return out;
}

inline std::vector<int> ColorsOf(const TListWords& words) {
  std::vector<int> out;
  for (const TWord& w : words) out.push_back(w.Color);
  return out;
}

// "word:colour" for each word, for failure messages that show the text itself.
inline std::string Describe(const std::u16string& text, const TListWords& words) {
  std::string out;
  for (const TWord& w : words) {
    char color[16];
    std::snprintf(color, sizeof color, "%06X", static_cast<unsigned>(w.Color));
    out += vellora::ToUtf8(std::u16string_view(text).substr(w.StartPos - 1, w.EndPos - w.StartPos));
    out += ":";
    out += color;
    out += " ";
  }
  return out;
}
