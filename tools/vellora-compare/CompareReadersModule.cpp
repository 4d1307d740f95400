// The entry point of vellora-compare-readers.so.
#include "CompareReaders.h"
#include "CompareReadersImpl.h"

extern "C" __attribute__((visibility("default"))) const vellora::CompareReaders*
vellora_compare_readers_v1() {
  return &vellora::CompareReadersImplementation();
}
