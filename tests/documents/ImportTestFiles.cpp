#include "ImportTestFiles.h"

#include <zip.h>

#include <unistd.h>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace vellora::test {

std::string BuildZip(const std::vector<ZipEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  if (archive == nullptr) throw std::runtime_error("cannot create a zip");
  zip_source_keep(target);
  for (const ZipEntry& entry : entries) {
    zip_source_t* data = zip_source_buffer(archive, entry.Bytes.data(), entry.Bytes.size(), 0);
    const zip_int64_t index = zip_file_add(archive, entry.Name.c_str(), data, ZIP_FL_OVERWRITE);
    if (index < 0) throw std::runtime_error("cannot add " + entry.Name);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
  }
  if (zip_close(archive) != 0) throw std::runtime_error("cannot finish a zip");
  zip_stat_t stat;
  zip_source_stat(target, &stat);
  std::string bytes(static_cast<std::size_t>(stat.size), '\0');
  zip_source_open(target);
  zip_source_read(target, bytes.data(), bytes.size());
  zip_source_close(target);
  zip_source_free(target);
  zip_error_fini(&error);
  return bytes;
}

std::filesystem::path SamplePath(const std::string& name) {
  const char* root = std::getenv("VELLORA_TEST_DATA");
  const std::filesystem::path base =
      root != nullptr ? std::filesystem::path(root) : std::filesystem::path(VELLORA_TEST_DATA_DIR);
  return base / "import" / name;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string DocxXml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
         "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
         "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
         "<w:body>" +
         body + "</w:body></w:document>";
}

std::string OdtXml(const std::string& text) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
         "<office:document-content "
         "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
         "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
         "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
         "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\">"
         "<office:body><office:text>" +
         text + "</office:text></office:body></office:document-content>";
}

}  // namespace vellora::test
