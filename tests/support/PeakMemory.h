// The process's peak resident memory, so that a test can bound what one operation added to it.
#pragma once

#include <sys/resource.h>

#include <cstdint>

namespace vellora::test {

// Highest resident set size the process has reached so far, in bytes.
inline std::uint64_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // Linux reports kibibytes
}

// How far the peak rose while work ran. The peak never falls, so a small rise proves the work
// never held much memory at once (a high earlier peak can only hide growth, never invent it).
template <typename Work>
std::uint64_t PeakGrowth(Work&& work) {
  const std::uint64_t before = PeakResidentBytes();
  work();
  return PeakResidentBytes() - before;
}

}  // namespace vellora::test
