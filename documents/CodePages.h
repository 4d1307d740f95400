// Decoding 8-bit text in the Windows code pages that RTF documents name.
#pragma once

#include <string>
#include <string_view>

namespace vellora {

inline constexpr int kDefaultCodePage = 1252;

// The code page of an RTF font charset (\fcharsetN); 0 when the charset names none of its own.
int CodePageForCharset(int charset);

// Bytes in the given code page; an unknown code page is read as Windows-1252. Every byte the code
// page cannot decode, and a double-byte character cut short at the end, gives U+FFFD.
std::u16string DecodeCodePage(std::string_view bytes, int codePage);

}  // namespace vellora
