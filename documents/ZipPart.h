// Reading named parts out of a zip package held in memory, with a cap on what each part unpacks to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ImportLimits.h"
#include "PlainImport.h"
#include "ReadOutcome.h"

struct zip;

namespace vellora {

class ZipPackage {
 public:
  // The bytes must outlive the package. Fails when they are not a readable zip archive.
  static ReadOutcome<std::shared_ptr<ZipPackage>> Open(std::string_view bytes);
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  bool HasPart(const std::string& name) const;

  // The part's unpacked bytes. Fails when it is missing, damaged, encrypted, or would unpack to
  // more than limit bytes, whatever its header declares.
  ReadOutcome<std::string> ReadPart(const std::string& name,
                                    std::uint64_t limit = kMaxZipPartBytes) const;

 private:
  explicit ZipPackage(zip* archive) : archive_(archive) {}
  zip* archive_;
};

}  // namespace vellora
