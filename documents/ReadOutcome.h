// The value a reader produced, or the cause of its failure in words for the user.
#pragma once

#include <string>
#include <utility>

namespace vellora {

template <typename T>
struct ReadOutcome {
  T Value{};
  std::string Cause;  // empty on success; otherwise why reading failed, without the file name

  bool Ok() const { return Cause.empty(); }

  static ReadOutcome Success(T value) { return ReadOutcome{std::move(value), {}}; }
  static ReadOutcome Failure(std::string cause) { return ReadOutcome{T{}, std::move(cause)}; }
};

}  // namespace vellora
