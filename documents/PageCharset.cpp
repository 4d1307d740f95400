#include "PageCharset.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cctype>

#include "AsciiText.h"
#include "UPlainText.h"

namespace vellora {
namespace {

constexpr std::size_t kMetaScanBytes = 1024;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(text[i]) != prefix[i]) return false;
  return true;
}

// The value after "charset=" in a Content-Type value or a meta's content attribute.
std::string CharsetParameter(std::string_view text) {
  const std::string lowered = AsciiLowered(text);
  std::size_t at = 0;
  while ((at = lowered.find("charset", at)) != std::string::npos) {
    std::size_t i = at + 7;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    if (i >= text.size() || text[i] != '=') {
      at = i;
      continue;
    }
    ++i;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    if (i >= text.size()) return {};
    if (text[i] == '"' || text[i] == '\'') {
      const char quote = text[i];
      const std::size_t end = text.find(quote, i + 1);
      if (end == std::string_view::npos) return {};
      return AsciiLowered(Trimmed(text.substr(i + 1, end - i - 1)));
    }
    std::size_t end = i;
    while (end < text.size() && !IsAsciiSpace(text[end]) && text[end] != ';') ++end;
    return AsciiLowered(text.substr(i, end - i));
  }
  return {};
}

enum class Encoding { Unknown, Utf8, Windows1252, Utf16LE, Utf16BE, Named };

struct ResolvedEncoding {
  Encoding Kind = Encoding::Unknown;
  std::string Name;  // for Named: the label the system decoder accepts
};

// Labels as browsers read them: every Latin-1 and ASCII label means Windows-1252.
ResolvedEncoding Resolve(std::string_view rawLabel) {
  const std::string label = AsciiLowered(Trimmed(rawLabel));
  if (label.empty()) return {};
  static constexpr std::array<std::string_view, 6> kUtf8 = {
      "utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8"};
  static constexpr std::array<std::string_view, 18> k1252 = {
      "windows-1252", "cp1252",      "x-cp1252",      "iso-8859-1",      "iso8859-1",
      "iso88591",     "iso_8859-1",  "iso-ir-100",    "iso_8859-1:1987", "latin1",
      "l1",           "ascii",       "us-ascii",      "ansi_x3.4-1968",  "cp819",
      "ibm819",       "csisolatin1", "x-user-defined"};
  static constexpr std::array<std::string_view, 7> kUtf16LE = {
      "utf-16", "utf-16le", "csunicode", "iso-10646-ucs-2", "ucs-2", "unicode", "unicodefeff"};
  static constexpr std::array<std::string_view, 2> kUtf16BE = {"utf-16be", "unicodefffe"};
  const auto in = [&](const auto& list) {
    return std::find(list.begin(), list.end(), label) != list.end();
  };
  if (in(kUtf8)) return {Encoding::Utf8, "UTF-8"};
  if (in(k1252)) return {Encoding::Windows1252, "windows-1252"};
  if (in(kUtf16LE)) return {Encoding::Utf16LE, "UTF-16LE"};
  if (in(kUtf16BE)) return {Encoding::Utf16BE, "UTF-16BE"};
  if (label.size() > 40) return {};
  if (QStringDecoder(label.c_str()).isValid()) return {Encoding::Named, label};
  return {};
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

std::u16string DecodeAs(std::string_view bytes, const ResolvedEncoding& encoding) {
  switch (encoding.Kind) {
    case Encoding::Utf8:
      return FromUtf8(bytes);
    case Encoding::Windows1252:
      return DecodeWindows1252(bytes);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      QStringDecoder decoder(encoding.Kind == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                                : QStringConverter::Utf16BE,
                             QStringConverter::Flag::Stateless);
      return FromQString(decoder.decode(QByteArrayView(bytes.data(), bytes.size())));
    }
    case Encoding::Named: {
      QStringDecoder decoder(encoding.Name.c_str(), QStringConverter::Flag::Stateless);
      return FromQString(decoder.decode(QByteArrayView(bytes.data(), bytes.size())));
    }
    case Encoding::Unknown:
      break;
  }
  return DecodeWindows1252(bytes);
}

// One attribute of a tag in the byte-stream prescan; position moves past it.
struct Attribute {
  std::string Name;
  std::string Value;
};

bool NextAttribute(std::string_view s, std::size_t& i, Attribute& attribute) {
  while (i < s.size() && (IsAsciiSpace(s[i]) || s[i] == '/')) ++i;
  if (i >= s.size() || s[i] == '>') return false;
  attribute = {};
  while (i < s.size() && !IsAsciiSpace(s[i]) && s[i] != '/' && s[i] != '>' &&
         (s[i] != '=' || attribute.Name.empty()))
    attribute.Name.push_back(AsciiLower(s[i++]));
  while (i < s.size() && IsAsciiSpace(s[i])) ++i;
  if (i >= s.size() || s[i] != '=') return true;
  ++i;
  while (i < s.size() && IsAsciiSpace(s[i])) ++i;
  if (i >= s.size()) return true;
  if (s[i] == '"' || s[i] == '\'') {
    const char quote = s[i++];
    while (i < s.size() && s[i] != quote) attribute.Value.push_back(s[i++]);
    if (i < s.size()) ++i;
    return true;
  }
  while (i < s.size() && !IsAsciiSpace(s[i]) && s[i] != '>') attribute.Value.push_back(s[i++]);
  return true;
}

}  // namespace

std::string CharsetFromContentType(std::string_view contentType) {
  return CharsetParameter(contentType);
}

std::string FindMetaCharset(std::string_view bytes) {
  const std::string_view s = bytes.substr(0, std::min(bytes.size(), kMetaScanBytes));
  std::size_t i = 0;
  while (i < s.size()) {
    if (s.substr(i).starts_with("<!--")) {
      const std::size_t end = s.find("-->", i + 2);
      if (end == std::string_view::npos) return {};
      i = end + 3;
      continue;
    }
    if (StartsWithNoCase(s.substr(i), "<meta") && i + 5 < s.size() &&
        (IsAsciiSpace(s[i + 5]) || s[i + 5] == '/')) {
      i += 5;
      Attribute attribute;
      bool isContentType = false;
      std::string charset;
      std::string content;
      while (NextAttribute(s, i, attribute)) {
        if (attribute.Name == "charset" && charset.empty()) charset = attribute.Value;
        if (attribute.Name == "content" && content.empty()) content = attribute.Value;
        if (attribute.Name == "http-equiv" &&
            AsciiLowered(Trimmed(attribute.Value)) == "content-type")
          isContentType = true;
      }
      if (charset.empty() && isContentType) charset = CharsetParameter(content);
      if (!charset.empty()) return AsciiLowered(Trimmed(charset));
      continue;
    }
    const bool startTag =
        s[i] == '<' && i + 1 < s.size() && std::isalpha(static_cast<unsigned char>(s[i + 1]));
    const bool endTag = s.substr(i).starts_with("</") && i + 2 < s.size() &&
                        std::isalpha(static_cast<unsigned char>(s[i + 2]));
    if (startTag || endTag) {
      i += startTag ? 1 : 2;
      while (i < s.size() && !IsAsciiSpace(s[i]) && s[i] != '>') ++i;
      Attribute attribute;
      while (NextAttribute(s, i, attribute)) {
      }
      ++i;
      continue;
    }
    if (s.substr(i).starts_with("<!") || s.substr(i).starts_with("</") ||
        s.substr(i).starts_with("<?")) {
      const std::size_t end = s.find('>', i + 2);
      if (end == std::string_view::npos) return {};
      i = end + 1;
      continue;
    }
    ++i;
  }
  return {};
}

DecodedPage DecodePageBytes(std::string_view bytes, std::string_view httpCharset) {
  DecodedPage page;
  const auto decode = [&](std::string_view body, ResolvedEncoding encoding) {
    page.Text = DecodeAs(body, encoding);
    page.Charset = encoding.Kind == Encoding::Named ? encoding.Name : [&] {
      switch (encoding.Kind) {
        case Encoding::Utf8:
          return std::string("UTF-8");
        case Encoding::Utf16LE:
          return std::string("UTF-16LE");
        case Encoding::Utf16BE:
          return std::string("UTF-16BE");
        default:
          return std::string("windows-1252");
      }
    }();
    return page;
  };
  if (bytes.starts_with("\xEF\xBB\xBF")) return decode(bytes.substr(3), {Encoding::Utf8, {}});
  if (bytes.starts_with("\xFF\xFE")) return decode(bytes.substr(2), {Encoding::Utf16LE, {}});
  if (bytes.starts_with("\xFE\xFF")) return decode(bytes.substr(2), {Encoding::Utf16BE, {}});
  if (const ResolvedEncoding http = Resolve(httpCharset); http.Kind != Encoding::Unknown)
    return decode(bytes, http);
  ResolvedEncoding meta = Resolve(FindMetaCharset(bytes));
  // A page cannot declare a UTF-16 encoding in ASCII markup; browsers read it as UTF-8.
  if (meta.Kind == Encoding::Utf16LE || meta.Kind == Encoding::Utf16BE)
    meta = {Encoding::Utf8, "UTF-8"};
  if (meta.Kind != Encoding::Unknown) return decode(bytes, meta);
  if (IsValidUtf8(bytes)) return decode(bytes, {Encoding::Utf8, {}});
  return decode(bytes, {Encoding::Windows1252, {}});
}

}  // namespace vellora
