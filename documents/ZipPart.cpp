#include "ZipPart.h"

#include <zip.h>

#include "FileBytes.h"

namespace vellora {
namespace {

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

ReadOutcome<std::shared_ptr<ZipPackage>> ZipPackage::Open(std::string_view bytes) {
  using Outcome = ReadOutcome<std::shared_ptr<ZipPackage>>;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source == nullptr) {
    zip_error_fini(&error);
    return Outcome::Failure("the zip archive cannot be opened");
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (archive == nullptr) {
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    zip_source_free(source);
    return Outcome::Failure("the zip archive is damaged or truncated (" + ZipErrorText(code) + ")");
  }
  zip_error_fini(&error);
  return Outcome::Success(std::shared_ptr<ZipPackage>(new ZipPackage(archive)));
}

ZipPackage::~ZipPackage() {
  zip_discard(archive_);
}

bool ZipPackage::HasPart(const std::string& name) const {
  return zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

ReadOutcome<std::string> ZipPackage::ReadPart(const std::string& name, std::uint64_t limit) const {
  using Outcome = ReadOutcome<std::string>;
  const std::string part = "the document part " + name;
  const std::string tooLarge =
      part + " unpacks to more than " + DescribeByteCount(limit) + " (a damaged or hostile file)";
  const zip_int64_t index = zip_name_locate(archive_, name.c_str(), 0);
  if (index < 0) return Outcome::Failure(part + " is missing");

  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0)
    return Outcome::Failure(part + " cannot be examined");
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
    return Outcome::Failure("the document is protected with a password");
  if ((stat.valid & ZIP_STAT_SIZE) && stat.size > limit) return Outcome::Failure(tooLarge);

  zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
  if (file == nullptr)
    return Outcome::Failure(part + " cannot be unpacked (" + std::string(zip_strerror(archive_)) +
                            ")");
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
    if (got < 0) {
      std::string why = zip_file_strerror(file);
      zip_fclose(file);
      return Outcome::Failure(part + " is damaged (" + why + ")");
    }
    if (got == 0) break;
    // The declared size may lie: the cap holds for the bytes that actually come out.
    if (static_cast<std::uint64_t>(got) > limit - bytes.size()) {
      zip_fclose(file);
      return Outcome::Failure(tooLarge);
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  zip_fclose(file);
  return Outcome::Success(std::move(bytes));
}

}  // namespace vellora
