#include "CodePages.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <array>
#include <optional>

namespace vellora {
namespace {

// Windows-1252 0x80..0x9F; the unassigned bytes keep the C1 control of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string DecodeCp1252(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

const char* DecoderName(int codePage) {
  switch (codePage) {
    case 437:
      return "IBM437";
    case 850:
      return "IBM850";
    case 874:
      return "windows-874";
    case 932:
      return "Shift_JIS";
    case 936:
      return "GBK";
    case 949:
      return "windows-949";
    case 950:
      return "Big5";
    case 1250:
      return "windows-1250";
    case 1251:
      return "windows-1251";
    case 1253:
      return "windows-1253";
    case 1254:
      return "windows-1254";
    case 1255:
      return "windows-1255";
    case 1256:
      return "windows-1256";
    case 1257:
      return "windows-1257";
    case 1258:
      return "windows-1258";
    case 10000:
      return "macintosh";
    case 65001:
      return "UTF-8";
    default:
      return nullptr;
  }
}

}  // namespace

int CodePageForCharset(int charset) {
  switch (charset) {
    case 77:
      return 10000;
    case 128:
      return 932;
    case 129:
      return 949;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 254:
      return 437;
    default:
      return 0;  // ANSI, default and symbol fonts use the document's code page
  }
}

std::u16string DecodeCodePage(std::string_view bytes, int codePage) {
  if (codePage == kDefaultCodePage) return DecodeCp1252(bytes);
  const char* name = DecoderName(codePage);
  if (name == nullptr) return DecodeCp1252(bytes);
  QStringDecoder decoder(name);
  if (!decoder.isValid()) return DecodeCp1252(bytes);
  const QString text = decoder.decode(QByteArrayView(bytes.data(), bytes.size()));
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

}  // namespace vellora
