// The extras and the readers, each loaded on first use from its module in the program's own folder.
#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>

#include "CompareExtras.h"
#include "CompareReaders.h"

namespace vellora {
namespace {

template <typename Table>
struct Loaded {
  const Table* Functions = nullptr;
  std::string Error;
};

// kind names the module and needed says what it is for, as the user is told when it is missing.
template <typename Table>
Loaded<Table> Load(const char* moduleName, const char* entryName, const std::string& kind,
                   const std::string& needed) {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {nullptr, "cannot find the program's own folder: " + ec.message()};
  const std::string module = (program.parent_path() / moduleName).string();
  const std::string why = " (needed for " + needed + ")";
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* cause = dlerror();
    return {nullptr, "cannot load \"" + module + "\"" + why + ": " +
                         (cause != nullptr ? cause : "unknown error")};
  }
  using Entry = const Table* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(handle, entryName));
  if (entry == nullptr || entry() == nullptr) {
    return {nullptr, "\"" + module + "\" is not this version's " + kind + why};
  }
  // The module stays loaded for the rest of the run.
  return {entry(), {}};
}

}  // namespace

const CompareExtras* LoadCompareExtras(std::string& error) {
  static std::once_flag once;
  static Loaded<CompareExtras> loaded;
  std::call_once(once, [] {
    loaded = Load<CompareExtras>("vellora-compare-extras.so", kCompareExtrasEntry, "extras module",
                                 "PDF reports and web addresses");
  });
  if (loaded.Functions == nullptr) error = loaded.Error;
  return loaded.Functions;
}

const CompareReaders* LoadCompareReaders(std::string& error) {
  static std::once_flag once;
  static Loaded<CompareReaders> loaded;
  std::call_once(once, [] {
    loaded = Load<CompareReaders>("vellora-compare-readers.so", kCompareReadersEntry,
                                  "readers module", "documents other than plain text");
  });
  if (loaded.Functions == nullptr) error = loaded.Error;
  return loaded.Functions;
}

}  // namespace vellora
