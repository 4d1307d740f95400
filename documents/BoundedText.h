// A text being assembled by a reader that refuses to grow past the import limit.
#pragma once

#include <string>
#include <string_view>

#include "ImportLimits.h"

namespace vellora {

class BoundedText {
 public:
  explicit BoundedText(std::size_t limit = kMaxImportedTextUnits) : limit_(limit) {}

  // False (and nothing appended) once the text would pass the limit.
  bool Append(std::u16string_view part) {
    if (part.size() > limit_ - text_.size()) return Overflow();
    text_.append(part);
    return true;
  }
  bool Append(char16_t unit) { return Append(std::u16string_view(&unit, 1)); }
  bool AppendRepeated(char16_t unit, std::size_t count) {
    if (count > limit_ - text_.size()) return Overflow();
    text_.append(count, unit);
    return true;
  }

  void RemoveLast() {
    if (!text_.empty()) text_.pop_back();
  }

  bool Overflowed() const { return overflowed_; }
  const std::u16string& Text() const { return text_; }
  std::u16string Take() { return std::move(text_); }

 private:
  bool Overflow() {
    overflowed_ = true;
    return false;
  }

  std::size_t limit_;
  std::u16string text_;
  bool overflowed_ = false;
};

}  // namespace vellora
