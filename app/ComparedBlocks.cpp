#include "ComparedBlocks.h"

#include <algorithm>

namespace vellora {

void ComparedBlocks::Set(std::vector<MatchBlock> blocks, const TListWords& words1,
                         const TListWords& words2, std::u16string_view text2) {
  blocks_ = std::move(blocks);
  // The word lists hold 1-based positions and change with every edit; the panes need 0-based
  // ones of the texts that were compared.
  auto copy = [](const TListWords& words, std::vector<Place>& places) {
    places.clear();
    places.reserve(static_cast<std::size_t>(words.Count()));
    for (const TWord& word : words) places.push_back({word.StartPos - 1, word.EndPos - 1});
  };
  copy(words1, places1_);
  copy(words2, places2_);
  text2_.assign(text2);
}

void ComparedBlocks::Clear() {
  blocks_.clear();
  places1_.clear();
  places2_.clear();
  text2_.clear();
}

PaneRange ComparedBlocks::WordsRange(int side, std::int32_t first, std::int32_t last) const {
  const std::vector<Place>& places = Places(side);
  const auto count = static_cast<std::int32_t>(places.size());
  if (count == 0 || first > last || first < 0 || last >= count) return {};
  const std::int32_t start = places[static_cast<std::size_t>(first)].Start;
  return {start, places[static_cast<std::size_t>(last)].End - start};
}

PaneRange ComparedBlocks::BlockRange(std::int32_t index, int side) const {
  if (index < 0 || index >= Count()) return {};
  const MatchBlock& block = Block(index);
  return side == 1 ? WordsRange(1, block.First1, block.Last1)
                   : WordsRange(2, block.First2, block.Last2);
}

std::int32_t ComparedBlocks::Next(std::int32_t current) const {
  if (Empty()) return -1;
  if (current < 0 || current + 1 >= Count()) return 0;
  return current + 1;
}

std::int32_t ComparedBlocks::Previous(std::int32_t current) const {
  if (Empty()) return -1;
  if (current <= 0 || current > Count()) return Count() - 1;
  return current - 1;
}

std::int32_t ComparedBlocks::WordAt(int side, std::int32_t position) const {
  const std::vector<Place>& places = Places(side);
  // The first word that ends after position is the only one that can contain it.
  const auto it = std::upper_bound(places.begin(), places.end(), position,
                                   [](std::int32_t pos, const Place& p) { return pos < p.End; });
  if (it == places.end() || it->Start > position) return -1;
  return static_cast<std::int32_t>(it - places.begin());
}

PartnerPlace ComparedBlocks::PartnerAt(int side, std::int32_t position) const {
  if (side != 1 && side != 2) return {};
  std::int32_t word = WordAt(side, position);
  // A click on the right half of a word's last letter puts the caret just after the word.
  if (word < 0) word = WordAt(side, position - 1);
  if (word < 0) return {};
  const std::int32_t block = BlockAtWord(blocks_, side, word);
  if (block < 0) return {};
  // The walk's matches overlap one another; all of the block's passages through the word
  // together make its partner.
  std::int32_t from = -1;
  std::int32_t to = -1;
  for (const SharedPassage& p : Block(block).Passages) {
    const std::int32_t first = side == 1 ? p.First1 : p.First2;
    const std::int32_t last = side == 1 ? p.Last1 : p.Last2;
    if (word < first || word > last) continue;
    const std::int32_t otherFirst = side == 1 ? p.First2 : p.First1;
    const std::int32_t otherLast = side == 1 ? p.Last2 : p.Last1;
    from = from < 0 ? otherFirst : std::min(from, otherFirst);
    to = std::max(to, otherLast);
  }
  if (from < 0) return {};
  return {block, WordsRange(side == 1 ? 2 : 1, from, to)};
}

std::u16string ComparedBlocks::FirstWords(std::int32_t index, int maxWords, int maxChars) const {
  if (index < 0 || index >= Count() || maxWords <= 0) return {};
  const MatchBlock& block = Block(index);
  const std::int32_t last = std::min(block.Last2, block.First2 + maxWords - 1);
  const PaneRange range = WordsRange(2, block.First2, last);
  if (range.Length <= 0 || range.Start < 0 ||
      static_cast<std::size_t>(range.Start + range.Length) > text2_.size()) {
    return {};
  }
  const bool cutWords = last < block.Last2;
  const bool cutChars = range.Length > maxChars;
  std::u16string text = text2_.substr(static_cast<std::size_t>(range.Start),
                                      static_cast<std::size_t>(std::min(range.Length, maxChars)));
  // A cut must not leave half of a surrogate pair behind.
  if (cutChars && !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  for (char16_t& c : text) {
    if (c == u'\n' || c == u'\t' || c == u'\r') c = u' ';
  }
  if (cutWords || cutChars) text += u'\u2026';
  return text;
}

}  // namespace vellora
