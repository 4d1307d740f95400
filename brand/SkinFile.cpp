#include "SkinFile.h"

#include <zlib.h>

#include <QStringDecoder>
#include <fstream>
#include <iterator>
#include <system_error>

namespace vellora {

namespace {

struct InflateStream {
  z_stream z{};
  bool open = false;
  ~InflateStream() {
    if (open) inflateEnd(&z);
  }
};

bool LooksLikeText(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') return false;
  }
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  return !utf8.hasError();
}

}  // namespace

std::optional<std::string> InflateSkin(std::string_view compressed, std::size_t maxText) {
  if (compressed.empty()) return std::nullopt;
  InflateStream s;
  // 15 window bits, +32: accept zlib and gzip framing alike.
  if (inflateInit2(&s.z, 15 + 32) != Z_OK) return std::nullopt;
  s.open = true;
  s.z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  s.z.avail_in = static_cast<uInt>(compressed.size());

  std::string text;
  char chunk[16384];
  for (;;) {
    s.z.next_out = reinterpret_cast<Bytef*>(chunk);
    s.z.avail_out = sizeof chunk;
    const int rc = inflate(&s.z, Z_NO_FLUSH);
    const std::size_t produced = sizeof chunk - s.z.avail_out;
    if (text.size() + produced > maxText) return std::nullopt;
    text.append(chunk, produced);
    if (rc == Z_STREAM_END) break;
    if (rc != Z_OK) return std::nullopt;  // damaged data, or input ended inside the stream
    if (produced == 0 && s.z.avail_in == 0) return std::nullopt;
  }
  if (!LooksLikeText(text)) return std::nullopt;
  return text;
}

std::optional<std::string> LoadSkinFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxSkinFileSize) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::uint64_t>(in.gcount()) != size) return std::nullopt;
  return InflateSkin(bytes);
}

std::string DeflateSkin(std::string_view styleSheet) {
  uLongf bound = compressBound(static_cast<uLong>(styleSheet.size()));
  std::string out(bound, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &bound,
                reinterpret_cast<const Bytef*>(styleSheet.data()),
                static_cast<uLong>(styleSheet.size()), Z_BEST_COMPRESSION) != Z_OK) {
    return {};
  }
  out.resize(bound);
  return out;
}

}  // namespace vellora
