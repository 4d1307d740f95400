// A one-line progress bar for a terminal: count, rate and time left, redrawn in place.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>

namespace vellora {

class ProgressBar {
 public:
  explicit ProgressBar(std::ostream& out);
  void Show(std::size_t done, std::size_t total);
  // Ends the line, if anything was drawn.
  void Finish();

 private:
  std::ostream& out_;
  std::chrono::steady_clock::time_point start_;
  bool drawn_ = false;
};

}  // namespace vellora
