#include "CodePages.h"

#include "UPlainText.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <array>
#include <optional>

namespace vellora {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr int kUtf8CodePage = 65001;

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
    default:
      return nullptr;
  }
}

constexpr char kSubstituteByte = '\x1A';

// Decodes one piece that holds no 0x1A byte, then ends it: a lead byte still waiting for its
// second byte at the end is a character cut short and becomes U+FFFD like any undecodable byte.
void AppendDecoded(QStringDecoder& decoder, std::string_view piece, std::u16string& text) {
  if (!piece.empty()) {
    const QString decoded = decoder.decode(QByteArrayView(piece.data(), piece.size()));
    for (const QChar c : decoded) {
      const char16_t unit = c.unicode();
      text.push_back(unit == u'\x1A' ? kReplacementCharacter : unit);
    }
  }
  // A line feed is never part of a longer character, so it flushes whatever is pending: the
  // decoder answers with the line feed alone unless a character was left unfinished.
  const QString rest = decoder.decode(QByteArrayView("\n", 1));
  if (rest != QStringLiteral("\n")) text.push_back(kReplacementCharacter);
  decoder.resetState();
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
  if (codePage == kDefaultCodePage) return DecodeWindows1252(bytes);
  if (codePage == kUtf8CodePage) return FromUtf8(bytes);
  const char* name = DecoderName(codePage);
  if (name == nullptr) return DecodeWindows1252(bytes);
  QStringDecoder decoder(name);
  if (!decoder.isValid()) return DecodeWindows1252(bytes);
  std::u16string text;
  text.reserve(bytes.size());
  // Some decoders write an undecodable byte as U+001A; cutting at every real 0x1A byte (which is
  // never part of a double-byte character) tells their mark from the control character itself.
  std::size_t from = 0;
  for (;;) {
    const std::size_t cut = bytes.find(kSubstituteByte, from);
    const std::size_t end = cut == std::string_view::npos ? bytes.size() : cut;
    AppendDecoded(decoder, bytes.substr(from, end - from), text);
    if (cut == std::string_view::npos) break;
    text.push_back(u'\x1A');
    from = cut + 1;
  }
  return text;
}

}  // namespace vellora
