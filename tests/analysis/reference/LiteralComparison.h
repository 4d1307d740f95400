// Reference for the comparison: the walk transcribed step by step, scanning Article 2 word by
// word on case-folded copies, with no index. Slow on purpose; tests and benchmarks compare the
// engine against it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UWords.h"

namespace vellora::reference {

class LiteralComparison {
 public:
  LiteralComparison(std::u16string_view text1, TListWords& words1, const TListSentences& sentences1,
                    const TListParagraphs& paragraphs1, std::u16string_view text2,
                    TListWords& words2, std::int32_t minLength, std::int32_t unitType);

  void Run();
  bool NextWindow(std::int32_t& s1, std::int32_t& e1);
  bool FindMatch(std::int32_t s1, std::int32_t e1);

  std::int32_t Cursor() const { return Cursor_; }
  std::int32_t ResumeAt() const { return ResumeAt_; }
  std::int32_t ColorIndex() const { return ColorIndex_; }

 private:
  bool WordsEqual(std::int32_t i1, std::int32_t i2) const;

  std::u16string_view Text1_;
  std::u16string_view Text2_;
  TListWords& Words1_;
  const TListSentences& Sentences1_;
  const TListParagraphs& Paragraphs1_;
  TListWords& Words2_;
  std::int32_t MinLength_;
  std::int32_t UnitType_;
  std::int32_t Cursor_ = -1;
  std::int32_t ResumeAt_ = -1;
  std::int32_t ColorIndex_ = 0;
};

}  // namespace vellora::reference
