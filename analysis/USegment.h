// Normalisation of a pane's text and its segmentation into words, sentences and paragraphs.
#pragma once

#include <string>
#include <string_view>

#include "UWords.h"

namespace vellora {

enum class CharClass : unsigned char { Word, WordEnd, SentenceEnd, ParagraphEnd };

// Separators are exactly LF, CR, space, '!', ',', '.', ';' and '?'; everything else,
// tab and every non-ASCII unit included, belongs to a word.
constexpr CharClass ClassOf(char16_t c) {
  switch (c) {
    case u'\n':
    case u'\r':
      return CharClass::ParagraphEnd;
    case u'!':
    case u'.':
    case u'?':
      return CharClass::SentenceEnd;
    case u' ':
    case u',':
    case u';':
      return CharClass::WordEnd;
    default:
      return CharClass::Word;
  }
}

constexpr bool IsSeparator(char16_t c) {
  return ClassOf(c) != CharClass::Word;
}

// Drops leading and trailing units with codes 0 to 32.
std::u16string_view TrimControlAndSpace(std::u16string_view text);

// Replaces in place; returns whether anything changed.
bool NormalizeArticleTextInPlace(std::u16string& text);

}  // namespace vellora

// No-break space becomes a space, U+2019 an apostrophe and U+2013 a hyphen; nothing else
// changes, so every position keeps its meaning.
std::u16string NormalizeArticleText(std::u16string_view text);

// Empties the three lists and fills them from text; every word starts unhighlighted.
void SegmentText(std::u16string_view text, TListWords& words, TListSentences& sentences,
                 TListParagraphs& paragraphs);

namespace vellora {
inline void SegmentText(std::u16string_view text, ArticleSpans& spans) {
  ::SegmentText(text, spans.Words, spans.Sentences, spans.Paragraphs);
}
}  // namespace vellora
