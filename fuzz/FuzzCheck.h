// Property checks inside the fuzz targets, and the list of targets. Under libFuzzer a broken
// property aborts so the fuzzer keeps the input; the replay tests turn it into a test failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vellora::fuzz {

// Called with a description of the broken property; it must not return normally (it may
// throw). The default prints the description and aborts.
using FailureHandler = void (*)(const std::string& description);
void SetFailureHandler(FailureHandler handler);

[[noreturn]] void PropertyFailed(const char* condition, const std::string& what);

// One fuzz target: the function libFuzzer calls with each input.
using TargetFunction = int (*)(const std::uint8_t* data, std::size_t size);
struct Target {
  std::string_view Name;  // also the folder of its seeds and regression inputs
  TargetFunction Run;
};
std::span<const Target> AllTargets();

// Takes an input apart: single bytes for choices, the rest as text.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}
  // The next byte, or 0 once the input is used up.
  std::uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }
  // Up to the next NUL byte (consumed, not returned), or everything left.
  std::string_view UpToNul() {
    const std::size_t cut = bytes_.find('\0');
    const std::string_view piece = bytes_.substr(0, cut);
    bytes_.remove_prefix(cut == std::string_view::npos ? bytes_.size() : cut + 1);
    return piece;
  }
  std::string_view Rest() const { return bytes_; }

 private:
  std::string_view bytes_;
};

}  // namespace vellora::fuzz

// Stops the run when a property does not hold; `what` says what was expected.
#define FUZZ_REQUIRE(condition, what)                                      \
  do {                                                                     \
    if (!(condition)) ::vellora::fuzz::PropertyFailed(#condition, (what)); \
  } while (false)
