// Runs function(index, worker) over the indices 0..count-1 on a few threads (worker numbers the
// thread, from 0, so that each can keep scratch space of its own); the first exception thrown by
// any call is rethrown once every thread has stopped.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace vellora {

inline int WorkerThreads(int requested) {
  if (requested > 0) return requested;
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

template <typename Function>
void ParallelFor(std::size_t count, int threads, Function&& function) {
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::mutex failureMutex;
  const auto work = [&](std::size_t worker) {
    for (std::size_t i = next++; i < count; i = next++) {
      try {
        function(i, worker);
      } catch (...) {
        const std::lock_guard lock(failureMutex);
        if (!failure) failure = std::current_exception();
        next = count;
      }
    }
  };
  const auto helpers = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
      static_cast<std::ptrdiff_t>(std::min<std::size_t>(static_cast<std::size_t>(threads), count)) -
          1,
      0, 64));
  std::vector<std::jthread> pool;
  pool.reserve(helpers);
  for (std::size_t t = 0; t < helpers; ++t) pool.emplace_back(work, t + 1);
  work(0);
  pool.clear();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vellora
