#include "LiteralTiling.h"

#include <string>

#include "UCompare.h"
#include "USegment.h"

namespace vellora::reference {
namespace {

// A token as a list of case-folded words: one word, or the words of one sentence or paragraph.
struct Token {
  std::vector<std::u16string> words;
  std::int32_t firstWord = 0;
  std::int32_t lastWord = 0;
};

std::u16string Folded(std::u16string_view text, const TWord& w) {
  std::u16string s(text.substr(static_cast<std::size_t>(w.StartPos - 1),
                               static_cast<std::size_t>(w.EndPos - w.StartPos)));
  for (char16_t& c : s) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return s;
}

std::vector<Token> Tokens(std::u16string_view text, const ArticleSpans& spans,
                          std::int32_t unitType) {
  std::vector<Token> tokens;
  const auto add = [&](std::int32_t first, std::int32_t last) {
    Token t{{}, first, last};
    for (std::int32_t w = first; w <= last; ++w) t.words.push_back(Folded(text, spans.Words[w]));
    tokens.push_back(std::move(t));
  };
  if (unitType == UnitWords) {
    for (std::int32_t w = 0; w < spans.Words.Count(); ++w) add(w, w);
  } else if (unitType == UnitSentences) {
    for (const TSentence& s : spans.Sentences) add(s.FirstWord, s.LastWord);
  } else {
    for (const TParagraph& p : spans.Paragraphs) add(p.FirstWord, p.LastWord);
  }
  return tokens;
}

struct LiteralTile {
  std::int32_t start1;
  std::int32_t start2;
  std::int32_t length;
};

}  // namespace

LiteralAnywhereResult LiteralAnywhere(std::u16string_view text1, std::u16string_view text2,
                                      std::int32_t minLength, std::int32_t unitType,
                                      std::int32_t gap) {
  LiteralAnywhereResult result;
  if (TrimControlAndSpace(text1).empty() || TrimControlAndSpace(text2).empty()) return result;
  result.Compared = true;
  ArticleSpans a1, a2;
  SegmentText(text1, a1);
  SegmentText(text2, a2);
  result.Colors1.assign(static_cast<std::size_t>(a1.Words.Count()), NoHighlight);
  result.Colors2.assign(static_cast<std::size_t>(a2.Words.Count()), NoHighlight);
  if (minLength == 0 || unitType < UnitWords || unitType > UnitParagraphs) return result;
  const std::int32_t minimum = minLength < 0 ? 1 : minLength;
  const std::int32_t allowed = gap < 0 ? 0 : gap;
  const std::vector<Token> t1 = Tokens(text1, a1, unitType);
  const std::vector<Token> t2 = Tokens(text2, a2, unitType);
  const auto n1 = static_cast<std::int32_t>(t1.size());
  const auto n2 = static_cast<std::int32_t>(t2.size());

  // Repeat: the longest untiled run of Article 2 equal to a run of Article 1; ties to the first
  // start in Article 2, then to the first place in Article 1.
  std::vector<bool> tiled(static_cast<std::size_t>(n2), false);
  std::vector<LiteralTile> tiles;
  while (true) {
    LiteralTile best{0, 0, 0};
    for (std::int32_t s2 = 0; s2 < n2; ++s2) {
      for (std::int32_t s1 = 0; s1 < n1; ++s1) {
        std::int32_t k = 0;
        while (s2 + k < n2 && s1 + k < n1 && !tiled[static_cast<std::size_t>(s2 + k)] &&
               t1[static_cast<std::size_t>(s1 + k)].words ==
                   t2[static_cast<std::size_t>(s2 + k)].words) {
          ++k;
        }
        if (k > best.length) best = LiteralTile{s1, s2, k};
      }
    }
    if (best.length < minimum || best.length == 0) break;
    for (std::int32_t k = 0; k < best.length; ++k)
      tiled[static_cast<std::size_t>(best.start2 + k)] = true;
    tiles.push_back(best);
  }
  // Article 2 order.
  for (std::size_t i = 1; i < tiles.size(); ++i) {
    for (std::size_t j = i; j > 0 && tiles[j].start2 < tiles[j - 1].start2; --j) {
      std::swap(tiles[j], tiles[j - 1]);
    }
  }

  std::int32_t colourIndex = 0;
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    const LiteralTile& tile = tiles[i];
    bool joins = false;
    if (i > 0) {
      const LiteralTile& before = tiles[i - 1];
      const std::int32_t between1 = tile.start1 - (before.start1 + before.length);
      const std::int32_t between2 = tile.start2 - (before.start2 + before.length);
      joins = between1 >= 0 && between1 <= allowed && between2 >= 0 && between2 <= allowed;
    }
    if (!joins) {
      colourIndex = colourIndex % 6 + 1;
      MatchBlock block;
      block.Color = PaletteColor(colourIndex);
      result.Blocks.push_back(block);
    }
    MatchBlock& block = result.Blocks.back();
    const SharedPassage passage{
        t1[static_cast<std::size_t>(tile.start1)].firstWord,
        t1[static_cast<std::size_t>(tile.start1 + tile.length - 1)].lastWord,
        t2[static_cast<std::size_t>(tile.start2)].firstWord,
        t2[static_cast<std::size_t>(tile.start2 + tile.length - 1)].lastWord};
    if (block.Passages.empty()) {
      block.First1 = passage.First1;
      block.First2 = passage.First2;
    }
    block.Last1 = passage.Last1;
    block.Last2 = passage.Last2;
    block.Passages.push_back(passage);
    block.Words1 += passage.Last1 - passage.First1 + 1;
    block.Words2 += passage.Last2 - passage.First2 + 1;
    if (passage.Last2 - passage.First2 + 1 > block.LongestPassage) {
      block.LongestPassage = passage.Last2 - passage.First2 + 1;
    }
  }
  // Blocks in order, so that a later block's colour wins where sources overlap in Article 1.
  for (const MatchBlock& block : result.Blocks) {
    for (const SharedPassage& p : block.Passages) {
      for (std::int32_t w = p.First1; w <= p.Last1; ++w)
        result.Colors1[static_cast<std::size_t>(w)] = block.Color;
      for (std::int32_t w = p.First2; w <= p.Last2; ++w)
        result.Colors2[static_cast<std::size_t>(w)] = block.Color;
    }
  }
  for (const std::int32_t c : result.Colors1) result.Marked1 += c != NoHighlight;
  for (const std::int32_t c : result.Colors2) result.Marked2 += c != NoHighlight;
  return result;
}

}  // namespace vellora::reference
