// The reading thread is asked onto another core and then set free again.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <future>

#include "OtherCore.h"

namespace {

cpu_set_t CoresOf(pthread_t thread) {
  cpu_set_t set;
  CPU_ZERO(&set);
  EXPECT_EQ(pthread_getaffinity_np(thread, sizeof set, &set), 0);
  return set;
}

TEST(OtherCore, ThreadLeavesTheCallersCoreThenMayUseEveryCore) {
  const cpu_set_t process = CoresOf(pthread_self());
  std::promise<void> moved;
  std::promise<void> freed;
  std::promise<cpu_set_t> whileMoved;
  std::promise<cpu_set_t> afterwards;
  std::thread worker([&] {
    moved.get_future().wait();
    whileMoved.set_value(CoresOf(pthread_self()));
    vellora::AllowEveryCore();
    afterwards.set_value(CoresOf(pthread_self()));
  });
  const int left = vellora::MoveToAnotherCore(worker);
  moved.set_value();
  const cpu_set_t during = whileMoved.get_future().get();
  const cpu_set_t after = afterwards.get_future().get();
  worker.join();
  if (CPU_COUNT(&process) < 2) {
    // One core only: nothing to move to, and the thread keeps what the process has.
    EXPECT_EQ(left, -1);
    EXPECT_TRUE(CPU_EQUAL(&during, &process));
  } else {
    ASSERT_GE(left, 0);
    EXPECT_FALSE(CPU_ISSET(left, &during)) << "the caller's core " << left;
    EXPECT_EQ(CPU_COUNT(&during), CPU_COUNT(&process) - 1);
  }
  EXPECT_TRUE(CPU_EQUAL(&after, &process));
}

}  // namespace
