// Finding the character set of a web page's bytes and decoding them: byte order mark, then the
// charset the server named, then the page's own <meta>, then UTF-8 when valid, else Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace vellora {

struct DecodedPage {
  std::u16string Text;
  std::string Charset;  // the encoding used, e.g. "UTF-8", "windows-1252"
};

// The charset parameter of a Content-Type header value ("text/html; charset=UTF-8"), lower-cased,
// or empty when there is none.
std::string CharsetFromContentType(std::string_view contentType);

// The charset that a <meta charset> or <meta http-equiv="Content-Type"> in the first 1024 bytes
// declares, found without parsing the page; empty when there is none.
std::string FindMetaCharset(std::string_view bytes);

// Decodes the page; httpCharset is the server's charset for a downloaded page (empty for a file).
// A label that names no encoding known here is passed over for the next source.
DecodedPage DecodePageBytes(std::string_view bytes, std::string_view httpCharset = {});

}  // namespace vellora
