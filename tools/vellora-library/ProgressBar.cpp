#include "ProgressBar.h"

#include <cstdio>
#include <string>

namespace vellora {

ProgressBar::ProgressBar(std::ostream& out) : out_(out), start_(std::chrono::steady_clock::now()) {}

void ProgressBar::Show(std::size_t done, std::size_t total) {
  constexpr int kWidth = 30;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
  const int filled = total ? static_cast<int>(kWidth * done / total) : kWidth;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, '.');
  char line[160];
  if (rate > 0 && done < total) {
    const auto left = static_cast<long>(static_cast<double>(total - done) / rate);
    std::snprintf(line, sizeof line, "\r[%s] %zu/%zu  %.0f files/s  %ld:%02ld left ", bar.c_str(),
                  done, total, rate, left / 60, left % 60);
  } else {
    std::snprintf(line, sizeof line, "\r[%s] %zu/%zu  %.0f files/s            ", bar.c_str(), done,
                  total, rate);
  }
  out_ << line << std::flush;
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (drawn_) out_ << "\n" << std::flush;
  drawn_ = false;
}

}  // namespace vellora
