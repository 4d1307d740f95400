#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

#include "FuzzTargets.h"

namespace vellora::fuzz {
namespace {

void PrintAndAbort(const std::string& description) {
  std::fprintf(stderr, "fuzz property broken: %s\n", description.c_str());
  std::abort();
}

FailureHandler handler = PrintAndAbort;

}  // namespace

void SetFailureHandler(FailureHandler h) {
  handler = h != nullptr ? h : PrintAndAbort;
}

void PropertyFailed(const char* condition, const std::string& what) {
  handler(what + " (" + condition + ")");
  std::abort();  // a handler that returns is not allowed to let the target go on
}

std::span<const Target> AllTargets() {
  static const Target kTargets[] = {
      {"rtf", FuzzRtf},
      {"word", FuzzWordXml},
      {"plaintext", FuzzPlainText},
      {"brandtext", FuzzBrandText},
      {"container", FuzzContainer},
      {"online", FuzzOnlineReplies},
      {"engine", FuzzTextEngine},
      {"differential", FuzzEngineAgainstLiteralWalk},
  };
  return kTargets;
}

}  // namespace vellora::fuzz
