// The extras linked in directly (the tests call the tool's functions in their own process).
#include "CompareExtras.h"
#include "CompareExtrasImpl.h"

namespace vellora {

const CompareExtras* LoadCompareExtras(std::string&) {
  return &CompareExtrasImplementation();
}

}  // namespace vellora
