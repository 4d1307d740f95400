// The extras loaded on first use from vellora-compare-extras.so in the program's own folder.
#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>

#include "CompareExtras.h"

namespace vellora {
namespace {

constexpr const char* kModuleName = "vellora-compare-extras.so";

struct Loaded {
  const CompareExtras* Extras = nullptr;
  std::string Error;
};

Loaded Load() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {nullptr, "cannot find the program's own folder: " + ec.message()};
  const std::string module = (program.parent_path() / kModuleName).string();
  const std::string needed =
      " (needed for PDF reports, web addresses and documents other than plain text)";
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* cause = dlerror();
    return {nullptr, "cannot load \"" + module + "\"" + needed + ": " +
                         (cause != nullptr ? cause : "unknown error")};
  }
  using Entry = const CompareExtras* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(handle, kCompareExtrasEntry));
  if (entry == nullptr || entry() == nullptr) {
    return {nullptr, "\"" + module + "\" is not this version's extras module" + needed};
  }
  // The module stays loaded for the rest of the run.
  return {entry(), {}};
}

}  // namespace

const CompareExtras* LoadCompareExtras(std::string& error) {
  static std::once_flag once;
  static Loaded loaded;
  std::call_once(once, [] { loaded = Load(); });
  if (loaded.Extras == nullptr) error = loaded.Error;
  return loaded.Extras;
}

}  // namespace vellora
