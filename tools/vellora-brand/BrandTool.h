// The brand maker's command line: encrypt, decrypt and lint brand settings files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vellora {

// args are the arguments after the program name. Returns the exit status: 0 success, 1 failure
// (or faults found by lint), 2 wrong usage.
int RunBrandTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vellora
