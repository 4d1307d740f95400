// The libFuzzer entry of one target; VELLORA_FUZZ_ENTRY names its function (set by CMake).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return vellora::fuzz::VELLORA_FUZZ_ENTRY(data, size);
}
