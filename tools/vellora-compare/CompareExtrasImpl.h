// The extras' implementations (Qt Gui, Qt Network and the document readers), for the module and
// for direct linking.
#pragma once

#include "CompareExtras.h"

namespace vellora {

const CompareExtras& CompareExtrasImplementation();

}  // namespace vellora
