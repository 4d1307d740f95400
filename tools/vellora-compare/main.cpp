#include <malloc.h>

#include <iostream>

#include "CompareTool.h"
#include "ImportedArticle.h"

int main(int argc, char** argv) {
  // The run is short and its large buffers are allocated and freed in turn: keeping freed memory
  // in the heap instead of returning it to the system spares the page faults of touching fresh
  // pages again for the next buffer.
  mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
  return vellora::RunCompareTool(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr, vellora::ReadImportedArticle);
}
