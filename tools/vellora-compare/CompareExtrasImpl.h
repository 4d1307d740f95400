// The extras' implementations (Qt Gui and Qt Network), for the module and for direct linking.
#pragma once

#include "CompareExtras.h"

namespace vellora {

const CompareExtras& CompareExtrasImplementation();

}  // namespace vellora
