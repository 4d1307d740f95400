// The entry point of vellora-compare-extras.so.
#include "CompareExtras.h"
#include "CompareExtrasImpl.h"

extern "C" __attribute__((visibility("default"))) const vellora::CompareExtras*
vellora_compare_extras_v1() {
  return &vellora::CompareExtrasImplementation();
}
