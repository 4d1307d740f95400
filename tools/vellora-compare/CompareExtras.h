// The parts of vellora-compare that need Qt Gui or Qt Network (the PDF report, downloading an
// address), behind one table of functions, so that a plain comparison loads neither: the program
// loads them from the module vellora-compare-extras.so beside it only when they are asked for.
#pragma once

#include <optional>
#include <string>

#include "ComparisonReport.h"

namespace vellora {

struct CompareExtras {
  // Writes the report as a PDF; false with error set (naming the file and the cause) on failure.
  bool (*WritePdfReport)(const ComparisonReport& report, const std::string& path,
                         std::string& error);
  // Downloads an http or https address and reads it as Import from address does; nothing, with
  // error set (naming the address), on failure.
  std::optional<std::u16string> (*ReadAddress)(const std::string& address, std::string& error);
};

// The extras, or null with error set when they cannot be loaded (a message for the user). Linked
// into the program either as the loader of the module or directly (for the tests).
const CompareExtras* LoadCompareExtras(std::string& error);

// The name of the module's entry point, which returns the table.
inline constexpr const char* kCompareExtrasEntry = "vellora_compare_extras_v1";

}  // namespace vellora
