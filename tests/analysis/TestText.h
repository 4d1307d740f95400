// Helpers shared by the analysis tests: UTF-8 literals to engine text, readable printing of
// span items, compact descriptions of word lists for failure messages, and an Article 2 made of
// Article 1's passages moved around.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "UMatchBlocks.h"
#include "UPlainText.h"
#include "USegment.h"
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

// Article 2 made of passages of `source` cut after separators (after one separator in
// `cutOneIn`), in shuffled order: about a tenth dropped, a tenth after `fresh(rng)` text of its
// own, a tenth copied twice.
template <typename Fresh>
std::u16string ReorderedPassages(std::mt19937& rng, const std::u16string& source, unsigned cutOneIn,
                                 Fresh&& fresh) {
  std::vector<std::size_t> cuts = {0};
  for (std::size_t i = 0; i < source.size(); ++i) {
    if (vellora::IsSeparator(source[i]) && rng() % cutOneIn == 0) cuts.push_back(i + 1);
  }
  cuts.push_back(source.size());
  std::vector<std::u16string> passages;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    if (cuts[i + 1] > cuts[i]) passages.push_back(source.substr(cuts[i], cuts[i + 1] - cuts[i]));
  }
  std::shuffle(passages.begin(), passages.end(), rng);
  std::u16string text;
  for (const std::u16string& p : passages) {
    const unsigned roll = rng() % 10;
    if (roll == 0) continue;
    if (roll == 1) text += fresh(rng);
    text += p;
    if (roll == 2) text += p;
    if (text.empty() || !vellora::IsSeparator(text.back())) text += u' ';
  }
  return text;
}

// Every figure of every block and passage, for comparing two block lists in one assertion.
inline std::vector<std::vector<std::int32_t>> BlockSummary(
    const std::vector<vellora::MatchBlock>& blocks) {
  std::vector<std::vector<std::int32_t>> out;
  for (const vellora::MatchBlock& b : blocks) {
    std::vector<std::int32_t> row = {b.Color, b.First1, b.Last1,  b.First2,
                                     b.Last2, b.Words1, b.Words2, b.LongestPassage};
    for (const vellora::SharedPassage& p : b.Passages) {
      row.insert(row.end(), {p.First1, p.Last1, p.First2, p.Last2});
    }
    out.push_back(row);
  }
  return out;
}
