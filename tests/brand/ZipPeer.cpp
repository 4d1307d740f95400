#include "ZipPeer.h"

#include <zip.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

#include "TestSupport.h"

namespace vellora::test {

namespace {

struct ZipClose {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileClose {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>((v >> 8) & 0xff));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<RawZipEntry> ReadRawAesEntries(const std::filesystem::path& zipPath) {
  int error = 0;
  std::unique_ptr<zip_t, ZipClose> z(zip_open(zipPath.c_str(), ZIP_RDONLY, &error));
  if (!z) throw std::runtime_error("cannot open " + zipPath.string());
  std::vector<RawZipEntry> entries;
  const zip_int64_t count = zip_get_num_entries(z.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z.get(), i, 0, &st) != 0) throw std::runtime_error("zip_stat_index");
    RawZipEntry entry;
    entry.Name = st.name;
    switch (st.encryption_method) {
      case ZIP_EM_AES_128:
        entry.AesStrength = 1;
        break;
      case ZIP_EM_AES_192:
        entry.AesStrength = 2;
        break;
      case ZIP_EM_AES_256:
        entry.AesStrength = 3;
        break;
      default:
        entry.AesStrength = 0;
    }
    std::unique_ptr<zip_file_t, ZipFileClose> f(zip_fopen_index(z.get(), i, ZIP_FL_ENCRYPTED));
    if (!f) throw std::runtime_error("zip_fopen_index");
    entry.Raw.resize(st.comp_size);
    zip_int64_t got = zip_fread(f.get(), entry.Raw.data(), entry.Raw.size());
    if (got != static_cast<zip_int64_t>(entry.Raw.size())) throw std::runtime_error("zip_fread");
    entries.push_back(std::move(entry));
  }
  return entries;
}

void WriteAesZip(const std::filesystem::path& zipPath, const std::string& entryName,
                 const std::string& container, std::uint64_t plainSize, int aesStrength) {
  // AE-2 extra field: vendor version 2, vendor "AE", strength, real method 0 (stored).
  std::string extra;
  Put16(extra, 0x9901);
  Put16(extra, 7);
  Put16(extra, 2);
  extra += "AE";
  extra.push_back(static_cast<char>(aesStrength));
  Put16(extra, 0);

  auto header = [&](bool central) {
    std::string h;
    Put32(h, central ? 0x02014b50 : 0x04034b50);
    if (central) Put16(h, 63);  // made by
    Put16(h, 51);               // needed to extract: AES
    Put16(h, 0x0001);           // encrypted
    Put16(h, 99);               // AES
    Put16(h, 0);                // time
    Put16(h, 0x21);             // date
    Put32(h, 0);                // CRC is 0 in AE-2
    Put32(h, static_cast<std::uint32_t>(container.size()));
    Put32(h, static_cast<std::uint32_t>(plainSize));
    Put16(h, static_cast<unsigned>(entryName.size()));
    Put16(h, static_cast<unsigned>(extra.size()));
    if (central) {
      Put16(h, 0);  // comment
      Put16(h, 0);  // disk
      Put16(h, 0);  // internal attributes
      Put32(h, 0);  // external attributes
      Put32(h, 0);  // offset of the local header
    }
    return h + entryName + extra;
  };

  std::string zip = header(false) + container;
  const auto centralOffset = static_cast<std::uint32_t>(zip.size());
  const std::string central = header(true);
  zip += central;
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, 1);
  Put16(zip, 1);
  Put32(zip, static_cast<std::uint32_t>(central.size()));
  Put32(zip, centralOffset);
  Put16(zip, 0);
  WriteFile(zipPath, zip);
}

}  // namespace vellora::test
