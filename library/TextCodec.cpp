#include "TextCodec.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cstdint>

#include "LibraryError.h"

namespace vellora {
namespace {

// Longest text a stored document may claim: the import readers hand back no more than this.
constexpr std::uint64_t kMaxStoredTextBytes = 512ull * 1024 * 1024;

}  // namespace

Sha256Digest Sha256Of(std::string_view bytes) {
  Sha256Digest digest{};
  unsigned int size = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(), nullptr) != 1) {
    throw LibraryError("SHA-256 is not available from OpenSSL");
  }
  return digest;
}

std::string HexDigest(const Sha256Digest& digest) {
  static const char* kHex = "0123456789abcdef";
  std::string hex;
  hex.reserve(64);
  for (const unsigned char b : digest) {
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
  }
  return hex;
}

std::vector<unsigned char> CompressText(std::string_view utf8) {
  uLongf size = compressBound(static_cast<uLong>(utf8.size()));
  std::vector<unsigned char> out(8 + size);
  const std::uint64_t length = utf8.size();
  for (int i = 0; i < 8; ++i)
    out[static_cast<std::size_t>(i)] = static_cast<unsigned char>(length >> (8 * i));
  const int rc = compress2(out.data() + 8, &size, reinterpret_cast<const Bytef*>(utf8.data()),
                           static_cast<uLong>(utf8.size()), 6);
  if (rc != Z_OK) throw LibraryError("cannot compress a document's text: out of memory");
  out.resize(8 + size);
  return out;
}

std::string DecompressText(const std::vector<unsigned char>& stored, std::string_view document) {
  const auto damaged = [&] {
    return LibraryError(std::string(document) + ": its stored text is damaged");
  };
  if (stored.size() < 8) throw damaged();
  std::uint64_t length = 0;
  for (int i = 7; i >= 0; --i) length = (length << 8) | stored[static_cast<std::size_t>(i)];
  if (length > kMaxStoredTextBytes) throw damaged();
  std::string text(length, '\0');
  uLongf size = static_cast<uLongf>(length);
  const int rc = uncompress(reinterpret_cast<Bytef*>(text.data()), &size, stored.data() + 8,
                            static_cast<uLong>(stored.size() - 8));
  if (rc != Z_OK || size != length) throw damaged();
  return text;
}

}  // namespace vellora
