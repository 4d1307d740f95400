// The program's version text, shown in the caption and the about box and compared by the
// update check.
#pragma once

namespace vellora {

inline constexpr char AppVersion[] = "2.0";

}  // namespace vellora
