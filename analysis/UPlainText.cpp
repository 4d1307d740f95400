#include "UPlainText.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vellora {
namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Utf8Step {
  char32_t codePoint;
  std::size_t length;  // 0 when the sequence at this place is malformed
};

Utf8Step DecodeUtf8At(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) return {b0, 1};
  std::size_t len;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return {0, 0};
  }
  if (i + len > s.size()) return {0, 0};
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return {0, 0};
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {cp, len};
}

constexpr std::size_t kMalformed = static_cast<std::size_t>(-1);

// Copies the ASCII bytes at the front of in[0, n) to out as UTF-16, 16 at a time while whole
// chunks are ASCII; returns how many were copied.
std::size_t WidenAscii(const unsigned char* in, std::size_t n, char16_t* out) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  std::size_t i = 0;
  while (i + 16 <= n) {
    std::uint64_t a;
    std::uint64_t b;
    std::memcpy(&a, in + i, 8);
    std::memcpy(&b, in + i + 8, 8);
    if (((a | b) & kHighBits) != 0) break;
    for (std::size_t k = 0; k < 16; ++k) out[i + k] = in[i + k];
    i += 16;
  }
  while (i < n && in[i] < 0x80) {
    out[i] = in[i];
    ++i;
  }
  return i;
}

// Decodes UTF-8 into out, which has room for bytes.size() units (never too few: every sequence
// yields at most one unit per byte). A malformed sequence ends the decoding with kMalformed when
// strict, and otherwise becomes U+FFFD for its first byte. Returns the number of units written.
std::size_t DecodeUtf8Into(std::string_view bytes, char16_t* out, bool strict) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < n) {
    if (in[i] < 0x80) {
      const std::size_t copied = WidenAscii(in + i, n - i, out + o);
      i += copied;
      o += copied;
      continue;
    }
    const Utf8Step step = DecodeUtf8At(bytes, i);
    if (step.length == 0) {
      if (strict) return kMalformed;
      out[o++] = u'\uFFFD';
      ++i;
      continue;
    }
    char32_t cp = step.codePoint;
    if (cp < 0x10000) {
      out[o++] = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      out[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      out[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    i += step.length;
  }
  return o;
}

// Index of the first CR, or npos; four units at a time, since most texts have none.
std::size_t FindCarriageReturn(std::u16string_view text) {
  constexpr std::uint64_t kOnes = 0x0001000100010001ull;
  constexpr std::uint64_t kHighs = 0x8000800080008000ull;
  const char16_t* units = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    std::uint64_t chunk;
    std::memcpy(&chunk, units + i, 8);
    chunk ^= kOnes * u'\r';  // a CR lane becomes zero
    if (((chunk - kOnes) & ~chunk & kHighs) != 0) break;
  }
  for (; i < n; ++i) {
    if (units[i] == u'\r') return i;
  }
  return std::u16string_view::npos;
}

}  // namespace

// CR LF and lone CR become LF, in place: the text only shrinks.
void NormalizeLineBreaksInPlace(std::u16string& text) {
  std::size_t write = FindCarriageReturn(text);
  if (write == std::u16string::npos) return;
  const std::size_t n = text.size();
  for (std::size_t read = write; read < n; ++read) {
    if (text[read] == u'\r') {
      text[write++] = u'\n';
      if (read + 1 < n && text[read + 1] == u'\n') ++read;
    } else {
      text[write++] = text[read];
    }
  }
  text.resize(write);
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  for (std::size_t i = 0; i < bytes.size();) {
    if (in[i] < 0x80) {
      ++i;
      continue;
    }
    const Utf8Step step = DecodeUtf8At(bytes, i);
    if (step.length == 0) return false;
    i += step.length;
  }
  return true;
}

std::u16string FromUtf8(std::string_view utf8) {
  std::u16string out(utf8.size(), u'\0');
  out.resize(DecodeUtf8Into(utf8, out.data(), false));
  return out;
}

std::u16string DecodeTextBytes(std::string_view bytes) {
  // The byte order mark is itself valid UTF-8, so checking the rest decides for the whole.
  std::string_view body = bytes;
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  std::u16string out(body.size(), u'\0');
  const std::size_t length = DecodeUtf8Into(body, out.data(), true);
  if (length == kMalformed) return DecodeWindows1252(bytes);
  out.resize(length);
  return out;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  char16_t* o = out.data();
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    *o++ = b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
  }
  return out;
}

std::u16string NormalizeLineBreaks(std::u16string_view text) {
  std::u16string out(text);
  NormalizeLineBreaksInPlace(out);
  return out;
}

std::u16string DecodeArticleBytes(std::string_view bytes) {
  std::u16string text = DecodeTextBytes(bytes);
  NormalizeLineBreaksInPlace(text);
  return text;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate cannot be written as UTF-8
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace vellora
