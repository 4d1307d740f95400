#include <malloc.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "CompareTool.h"
#include "ImportedArticle.h"

namespace {

// The run is short and most of its memory is large buffers allocated and freed in turn: keeping
// freed memory in the heap spares touching fresh pages for the next buffer, and asking for huge
// pages on the heap's first stretch turns thousands of page faults into a few dozen. The
// stretch is only reserved address space: pages are committed as they are first touched.
void PrepareHeap() {
  constexpr std::size_t kStretch = std::size_t{128} << 20;
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  // One arena: the reading thread allocates from the same prepared heap.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
  void* block = std::malloc(kStretch);
  if (block == nullptr) return;
  const auto start = (reinterpret_cast<std::uintptr_t>(block) + kHugePage - 1) & ~(kHugePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(block) + kStretch) & ~(kHugePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  std::free(block);
}

}  // namespace

int main(int argc, char** argv) {
  // Nothing here writes through C's stdio, so the streams need not keep in step with it; the JSON
  // of 100,000 words spent a fifth of the run handing each piece to stdio one by one.
  std::ios::sync_with_stdio(false);
  PrepareHeap();
  const int code = vellora::RunCompareTool(std::vector<std::string>(argv + 1, argv + argc),
                                           std::cout, std::cerr, vellora::ReadImportedArticle);
  // What is still buffered is written now, while a failure (a full disk) can still be told.
  errno = 0;
  if (!std::cout.flush()) {
    const int error = errno;
    std::cerr << "vellora-compare: cannot write the output"
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return code == 0 ? 1 : code;
  }
  return code;
}
