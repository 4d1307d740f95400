// Starting a helper thread on the other core at once. Some schedulers (virtual machines that pack
// work onto few virtual CPUs among them) leave a new thread waiting a few milliseconds on its
// parent's core before moving it, which is as long as the work it was started for.
#pragma once

#include <thread>

namespace vellora {

// Asks for `thread` to run on an allowed core other than the caller's, and returns the caller's
// core; does nothing and returns -1 when the process may use one core only.
int MoveToAnotherCore(std::thread& thread);
// Called first thing on the moved thread: lets it run anywhere again, so that a busy machine can
// still place it where there is room.
void AllowEveryCore();

}  // namespace vellora
