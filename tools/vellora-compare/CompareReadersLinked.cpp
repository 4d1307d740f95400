// The readers linked in directly (the tests call the tool's functions in their own process).
#include "CompareReaders.h"
#include "CompareReadersImpl.h"

namespace vellora {

const CompareReaders* LoadCompareReaders(std::string&) {
  return &CompareReadersImplementation();
}

}  // namespace vellora
