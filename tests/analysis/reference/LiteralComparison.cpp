#include "LiteralComparison.h"

#include "UCompare.h"

namespace vellora::reference {
namespace {

std::u16string FoldedWord(std::u16string_view text, const TWord& w) {
  std::u16string s(text.substr(static_cast<std::size_t>(w.StartPos - 1),
                               static_cast<std::size_t>(w.EndPos - w.StartPos)));
  for (char16_t& c : s) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return s;
}

}  // namespace

LiteralComparison::LiteralComparison(std::u16string_view text1, TListWords& words1,
                                     const TListSentences& sentences1,
                                     const TListParagraphs& paragraphs1, std::u16string_view text2,
                                     TListWords& words2, std::int32_t minLength,
                                     std::int32_t unitType)
    : Text1_(text1),
      Text2_(text2),
      Words1_(words1),
      Sentences1_(sentences1),
      Paragraphs1_(paragraphs1),
      Words2_(words2),
      MinLength_(minLength < 0 ? 1 : minLength),
      UnitType_(unitType) {}

bool LiteralComparison::WordsEqual(std::int32_t i1, std::int32_t i2) const {
  return FoldedWord(Text1_, Words1_[i1]) == FoldedWord(Text2_, Words2_[i2]);
}

void LiteralComparison::Run() {
  Cursor_ = -1;
  ResumeAt_ = -1;
  std::int32_t s1, e1;
  while (NextWindow(s1, e1)) FindMatch(s1, e1);
}

bool LiteralComparison::NextWindow(std::int32_t& s1, std::int32_t& e1) {
  Cursor_ = Cursor_ + 1;
  if (UnitType_ == 0) {
    const std::int64_t last = Words1_.Count() - 1;
    if (Cursor_ > last) return false;
    s1 = Cursor_;
    std::int64_t end = std::int64_t{Cursor_} + MinLength_ - 1;
    if (last < end) end = last;
    e1 = static_cast<std::int32_t>(end);
    return e1 != -1;
  }
  if (UnitType_ == 1 || UnitType_ == 2) {
    const std::int64_t last = (UnitType_ == 1 ? Sentences1_.Count() : Paragraphs1_.Count()) - 1;
    if (Cursor_ > last) return false;
    std::int64_t l = std::int64_t{Cursor_} + MinLength_ - 1;
    if (last < l) l = last;
    if (l == -1) return false;
    const auto L = static_cast<std::int32_t>(l);
    s1 = UnitType_ == 1 ? Sentences1_[Cursor_].FirstWord : Paragraphs1_[Cursor_].FirstWord;
    e1 = UnitType_ == 1 ? Sentences1_[L].LastWord : Paragraphs1_[L].LastWord;
    return true;
  }
  return false;
}

bool LiteralComparison::FindMatch(std::int32_t S1, std::int32_t E1) {
  const std::int32_t C2 = Words2_.Count();
  bool NewBlock = false;
  bool FirstPass = true;
  std::int32_t J = ResumeAt_;
  std::int32_t S2 = -1;
  std::int32_t E2 = -1;
  bool found = false;
  if (J == C2 - 1) {
    J = -1;
    NewBlock = true;
  }
  while (J < C2 - 1) {
    J = J + 1;
    std::int32_t K = 0;
    bool stopped = false;
    while (true) {
      const TWord& w1 = Words1_[S1 + K];
      const TWord& w2 = Words2_[J + K];
      if ((J + K == C2 - 1 && S1 + K != E1) || !WordsEqual(S1 + K, J + K) ||
          (w2.Color != NoHighlight && (w2.Color != PaletteColor(ColorIndex_) || NewBlock)) ||
          (NewBlock && w1.Color == NoHighlight && Words1_[S1].Color != NoHighlight)) {
        stopped = true;
        break;
      }
      if (S1 + K == E1) break;
      K = K + 1;
    }
    if (stopped && S1 + K == E1 && FirstPass) {
      J = -1;
      ResumeAt_ = -1;
      NewBlock = true;
      FirstPass = false;
      continue;
    }
    if (!stopped) {
      S2 = J;
      E2 = J + (E1 - S1);
      ResumeAt_ = S2;
      found = true;
      break;
    }
  }
  if (!found) return false;
  if (S1 > 0 && Words1_[S1 - 1].Color == NoHighlight) NewBlock = true;
  if (S2 > 0 && Words2_[S2 - 1].Color == NoHighlight) NewBlock = true;
  if (NewBlock) ColorIndex_ = ColorIndex_ + 1;
  if (ColorIndex_ == 0) ColorIndex_ = 1;
  if (ColorIndex_ > 6) ColorIndex_ = 1;
  for (std::int32_t w = S1; w <= E1; ++w) Words1_[w].Color = PaletteColor(ColorIndex_);
  for (std::int32_t w = S2; w <= E2; ++w) Words2_[w].Color = PaletteColor(ColorIndex_);
  return true;
}

}  // namespace vellora::reference
