#include "USegment.h"

#include <algorithm>
#include <array>

namespace vellora {
namespace {

char16_t NormalizedUnit(char16_t c) {
  switch (c) {
    case u'\u00A0':
      return u' ';
    case u'\u2019':
      return u'\'';
    case u'\u2013':
      return u'-';
    default:
      return c;
  }
}

// Class of every unit below 64; the separators all lie there, so one comparison and one table
// read classify a unit.
constexpr std::array<CharClass, 64> MakeLowTable() {
  std::array<CharClass, 64> table{};
  for (char16_t c = 0; c < 64; ++c) table[c] = ClassOf(c);
  return table;
}
constexpr std::array<CharClass, 64> kLowTable = MakeLowTable();

}  // namespace

std::u16string_view TrimControlAndSpace(std::u16string_view text) {
  const auto isBlank = [](char16_t c) { return c <= 32; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool NormalizeArticleTextInPlace(std::u16string& text) {
  bool changed = false;
  // Every unit that changes lies at or above U+00A0: blocks without one are passed over whole.
  constexpr std::size_t kBlock = 32;
  char16_t* units = text.data();
  const std::size_t n = text.size();
  for (std::size_t start = 0; start < n; start += kBlock) {
    const std::size_t end = std::min(n, start + kBlock);
    bool high = false;
    for (std::size_t i = start; i < end; ++i) high |= units[i] >= u'\u00A0';
    if (!high) continue;
    for (std::size_t i = start; i < end; ++i) {
      const char16_t normalized = NormalizedUnit(units[i]);
      if (normalized != units[i]) {
        units[i] = normalized;
        changed = true;
      }
    }
  }
  return changed;
}

}  // namespace vellora

std::u16string NormalizeArticleText(std::u16string_view text) {
  std::u16string result(text);
  vellora::NormalizeArticleTextInPlace(result);
  return result;
}

void SegmentText(std::u16string_view text, TListWords& words, TListSentences& sentences,
                 TListParagraphs& paragraphs) {
  using vellora::CharClass;
  words.ClearAll();
  sentences.ClearAll();
  paragraphs.ClearAll();

  constexpr std::int32_t kNone = -1;
  std::int32_t wordStart = kNone;
  std::int32_t sentenceStart = kNone;
  std::int32_t paragraphStart = kNone;
  const auto length = static_cast<std::int32_t>(text.size());

  for (std::int32_t i = 1; i <= length; ++i) {
    const char16_t c = text[static_cast<std::size_t>(i - 1)];
    const CharClass cls = c < 64 ? vellora::kLowTable[c] : CharClass::Word;
    if (cls == CharClass::Word) {
      if (wordStart == kNone) {
        wordStart = i;
        if (sentenceStart == kNone) sentenceStart = words.Count();
        if (paragraphStart == kNone) paragraphStart = words.Count();
      }
      continue;
    }
    if (wordStart != kNone) {
      words.AddWord(wordStart, i, NoHighlight);
      wordStart = kNone;
    }
    if (sentenceStart != kNone && cls >= CharClass::SentenceEnd) {
      sentences.AddSentence(sentenceStart, words.Count() - 1);
      sentenceStart = kNone;
    }
    if (paragraphStart != kNone && cls == CharClass::ParagraphEnd) {
      paragraphs.AddParagraph(paragraphStart, words.Count() - 1);
      paragraphStart = kNone;
    }
  }
  if (wordStart != kNone) words.AddWord(wordStart, length + 1, NoHighlight);
  if (sentenceStart != kNone) sentences.AddSentence(sentenceStart, words.Count() - 1);
  if (paragraphStart != kNone) paragraphs.AddParagraph(paragraphStart, words.Count() - 1);
}
