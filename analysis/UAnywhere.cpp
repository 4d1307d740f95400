#include "UAnywhere.h"

#include <algorithm>

#include "UCompare.h"
#include "UWordIds.h"

namespace vellora {
namespace {

// Word ranges of the tokens of one article: every word, or every sentence or paragraph.
std::vector<SharedPassage> TokenWordRanges(const ArticleSpans& article, std::int32_t unitType) {
  std::vector<SharedPassage> ranges;  // First1/Last1 hold the range; the other side is unused
  if (unitType == UnitSentences) {
    for (const TSentence& s : article.Sentences) ranges.push_back({s.FirstWord, s.LastWord, 0, 0});
  } else if (unitType == UnitParagraphs) {
    for (const TParagraph& p : article.Paragraphs) {
      ranges.push_back({p.FirstWord, p.LastWord, 0, 0});
    }
  }
  return ranges;
}

// Units are equal when their word sequences are equal word for word: each distinct sequence of
// Article 2 gets an id; a unit of Article 1 gets the id of its equal, or one no unit of
// Article 2 has.
void AssignUnitIds(const std::vector<SharedPassage>& units1, const std::vector<std::uint32_t>& ids1,
                   const std::vector<SharedPassage>& units2, const std::vector<std::uint32_t>& ids2,
                   std::vector<std::uint32_t>& tokens1, std::vector<std::uint32_t>& tokens2) {
  std::unordered_map<std::vector<std::uint32_t>, std::uint32_t, WordSequenceHash> table;
  const auto sequence = [](const std::vector<std::uint32_t>& ids, const SharedPassage& unit) {
    return std::vector<std::uint32_t>(ids.begin() + unit.First1, ids.begin() + unit.Last1 + 1);
  };
  tokens2.clear();
  for (const SharedPassage& unit : units2) {
    const auto [it, added] =
        table.try_emplace(sequence(ids2, unit), static_cast<std::uint32_t>(table.size()));
    tokens2.push_back(it->second);
  }
  const auto absent = static_cast<std::uint32_t>(table.size());
  tokens1.clear();
  for (const SharedPassage& unit : units1) {
    const auto it = table.find(sequence(ids1, unit));
    tokens1.push_back(it == table.end() ? absent : it->second);
  }
}

// Blocks of the tiles (in Article 2 order) and their colours in both word lists; for units, the
// word ranges of each article's tokens.
std::vector<MatchBlock> MarkTiles(const std::vector<Tile>& tiles,
                                  const std::vector<SharedPassage>& units1,
                                  const std::vector<SharedPassage>& units2, std::int32_t unitType,
                                  std::int32_t gap, ArticleSpans& article1,
                                  ArticleSpans& article2) {
  std::vector<MatchBlock> blocks;
  const auto firstWord = [&](const std::vector<SharedPassage>& units, std::int32_t token) {
    return unitType == UnitWords ? token : units[static_cast<std::size_t>(token)].First1;
  };
  const auto lastWord = [&](const std::vector<SharedPassage>& units, std::int32_t token) {
    return unitType == UnitWords ? token : units[static_cast<std::size_t>(token)].Last1;
  };
  const std::vector<std::size_t> firsts = GroupTiles(tiles, gap);
  for (std::size_t b = 0; b < firsts.size(); ++b) {
    const std::size_t end = b + 1 < firsts.size() ? firsts[b + 1] : tiles.size();
    MatchBlock block;
    block.Color = PaletteColor(static_cast<std::int32_t>(b % 6) + 1);
    for (std::size_t t = firsts[b]; t < end; ++t) {
      const Tile& tile = tiles[t];
      const SharedPassage passage{
          firstWord(units1, tile.Start1), lastWord(units1, tile.Start1 + tile.Length - 1),
          firstWord(units2, tile.Start2), lastWord(units2, tile.Start2 + tile.Length - 1)};
      block.Passages.push_back(passage);
      block.Words1 += passage.Last1 - passage.First1 + 1;
      block.Words2 += passage.Last2 - passage.First2 + 1;
      block.LongestPassage = std::max(block.LongestPassage, passage.Last2 - passage.First2 + 1);
      for (std::int32_t w = passage.First1; w <= passage.Last1; ++w)
        article1.Words[w].Color = block.Color;
      for (std::int32_t w = passage.First2; w <= passage.Last2; ++w)
        article2.Words[w].Color = block.Color;
    }
    block.First1 = block.Passages.front().First1;
    block.Last1 = block.Passages.back().Last1;
    block.First2 = block.Passages.front().First2;
    block.Last2 = block.Passages.back().Last2;
    blocks.push_back(std::move(block));
  }
  return blocks;
}

}  // namespace

std::size_t WordSequenceHash::operator()(const std::vector<std::uint32_t>& ids) const {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ ids.size();
  for (const std::uint32_t id : ids) h = (h ^ id) * 0x100000001B3ull;
  return static_cast<std::size_t>(h ^ (h >> 31));
}

AnywhereSource::AnywhereSource(const ArticleSpans& article1, const std::vector<std::uint32_t>& ids1,
                               std::int32_t unitType, std::int32_t minLength)
    : unitType_(unitType), minLength_(minLength), units1_(TokenWordRanges(article1, unitType)) {
  if (unitType_ == UnitWords) {
    tokens1_ = ids1;
  } else {
    tokens1_.reserve(units1_.size());
    for (const SharedPassage& unit : units1_) {
      const auto [it, added] = unitIds_.try_emplace(
          std::vector<std::uint32_t>(ids1.begin() + unit.First1, ids1.begin() + unit.Last1 + 1),
          static_cast<std::uint32_t>(unitIds_.size()));
      tokens1_.push_back(it->second);
    }
  }
  if (minLength_ != 0) tiling_ = std::make_unique<TilingSource>(tokens1_, std::max(minLength_, 1));
}

AnywhereSource::~AnywhereSource() = default;

std::vector<MatchBlock> AnywhereSource::Compare(ArticleSpans& article1, ArticleSpans& article2,
                                                std::vector<std::uint32_t> ids2, std::int32_t gap) {
  if (!tiling_) return {};
  std::vector<SharedPassage> units2 = TokenWordRanges(article2, unitType_);
  std::vector<std::uint32_t> tokens2;
  if (unitType_ == UnitWords) {
    tokens2 = std::move(ids2);
  } else {
    // A unit that Article 1 lacks gets an id that no unit of Article 1 has.
    const auto absent = static_cast<std::uint32_t>(unitIds_.size());
    tokens2.reserve(units2.size());
    std::vector<std::uint32_t> sequence;
    for (const SharedPassage& unit : units2) {
      sequence.assign(ids2.begin() + unit.First1, ids2.begin() + unit.Last1 + 1);
      const auto it = unitIds_.find(sequence);
      tokens2.push_back(it == unitIds_.end() ? absent : it->second);
    }
  }
  const std::vector<Tile> tiles = tiling_->TileArticle2(tokens2);
  return MarkTiles(tiles, units1_, units2, unitType_, gap, article1, article2);
}

std::vector<MatchBlock> CompareAnywhere(std::u16string_view text1, ArticleSpans& article1,
                                        std::u16string_view text2, ArticleSpans& article2,
                                        std::int32_t minLength, std::int32_t unitType,
                                        std::int32_t gap) {
  if (minLength == 0 || unitType < UnitWords || unitType > UnitParagraphs) return {};
  std::vector<std::uint32_t> ids1;
  std::vector<std::uint32_t> ids2;
  AssignWordIds(text1, article1.Words, text2, article2.Words, ids1, ids2);

  // Tokens and, for units, the word range of each token.
  std::vector<SharedPassage> units1 = TokenWordRanges(article1, unitType);
  std::vector<SharedPassage> units2 = TokenWordRanges(article2, unitType);
  std::vector<std::uint32_t> tokens1;
  std::vector<std::uint32_t> tokens2;
  if (unitType == UnitWords) {
    tokens1 = std::move(ids1);
    tokens2 = std::move(ids2);
  } else {
    AssignUnitIds(units1, ids1, units2, ids2, tokens1, tokens2);
  }
  const std::vector<Tile> tiles = TileLongestFirst(tokens1, tokens2, std::max(minLength, 1));
  return MarkTiles(tiles, units1, units2, unitType, gap, article1, article2);
}

}  // namespace vellora
