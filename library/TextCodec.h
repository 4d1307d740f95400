// How a document's text is kept: SHA-256 of its UTF-8 bytes, and zlib-compressed UTF-8 with
// its length in front.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "LibraryStore.h"

namespace vellora {

Sha256Digest Sha256Of(std::string_view bytes);
std::string HexDigest(const Sha256Digest& digest);

std::vector<unsigned char> CompressText(std::string_view utf8);
// Throws LibraryError (with `document`, which names the library and the document) when the bytes
// are not a text this program stored.
std::string DecompressText(const std::vector<unsigned char>& stored, std::string_view document);

}  // namespace vellora
