// The readers' implementation (Import's document readers), for the module and for direct linking.
#pragma once

#include "CompareReaders.h"

namespace vellora {

const CompareReaders& CompareReadersImplementation();

}  // namespace vellora
