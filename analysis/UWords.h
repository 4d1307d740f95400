// Span lists of an article: its words, sentences and paragraphs, as segmentation produces
// them. Positions are 1-based UTF-16 code units; list indices are 0-based.
#pragma once

#include <cstdint>
#include <vector>

// Highlight colours are 0x00BBGGRR values; white means "not highlighted".
inline constexpr std::int32_t NoHighlight = 0xFFFFFF;

struct TWord {
  std::int32_t StartPos = 0;  // first character
  std::int32_t EndPos = 0;    // just after the last character
  std::int32_t Color = NoHighlight;
};

struct TSentence {
  std::int32_t FirstWord = 0;
  std::int32_t LastWord = 0;  // inclusive
};

struct TParagraph {
  std::int32_t FirstWord = 0;
  std::int32_t LastWord = 0;  // inclusive
};

namespace vellora {

// Ordered, index-addressable storage shared by the three lists. Items live contiguously;
// clearing keeps the capacity so that re-segmenting on every keystroke allocates nothing.
template <typename Item>
class SpanList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  void ClearAll() { items_.clear(); }
  Item& operator[](int index) { return items_[static_cast<std::size_t>(index)]; }
  const Item& operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  void Reserve(std::size_t n) { items_.reserve(n); }
  std::size_t MemoryBytes() const { return items_.capacity() * sizeof(Item); }

 protected:
  std::vector<Item> items_;
};

}  // namespace vellora

class TListWords : public vellora::SpanList<TWord> {
 public:
  void AddWord(std::int32_t startPos, std::int32_t endPos, std::int32_t color) {
    items_.push_back(TWord{startPos, endPos, color});
  }
};

class TListSentences : public vellora::SpanList<TSentence> {
 public:
  void AddSentence(std::int32_t firstWord, std::int32_t lastWord) {
    items_.push_back(TSentence{firstWord, lastWord});
  }
};

class TListParagraphs : public vellora::SpanList<TParagraph> {
 public:
  void AddParagraph(std::int32_t firstWord, std::int32_t lastWord) {
    items_.push_back(TParagraph{firstWord, lastWord});
  }
};

namespace vellora {

// The three lists of one article, as the main window keeps them.
struct ArticleSpans {
  TListWords Words;
  TListSentences Sentences;
  TListParagraphs Paragraphs;
};

}  // namespace vellora
