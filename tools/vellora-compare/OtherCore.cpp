#include "OtherCore.h"

#include <pthread.h>
#include <sched.h>

namespace vellora {
namespace {

// The cores the process was allowed when it started, whatever one thread asks for later.
cpu_set_t AllowedCores() {
  static const cpu_set_t allowed = [] {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) CPU_ZERO(&set);
    return set;
  }();
  return allowed;
}

}  // namespace

int MoveToAnotherCore(std::thread& thread) {
  cpu_set_t allowed = AllowedCores();
  const int here = sched_getcpu();
  if (here < 0 || here >= CPU_SETSIZE) return -1;
  CPU_CLR(here, &allowed);
  if (CPU_COUNT(&allowed) == 0) return -1;
  pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
  return here;
}

void AllowEveryCore() {
  cpu_set_t allowed = AllowedCores();
  if (CPU_COUNT(&allowed) > 0) pthread_setaffinity_np(pthread_self(), sizeof allowed, &allowed);
}

}  // namespace vellora
