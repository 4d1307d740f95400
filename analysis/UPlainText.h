// Turning the bytes of a plain-text file into the text a pane would hold.
#pragma once

#include <string>
#include <string_view>

namespace vellora {

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Windows-1252; the five unassigned bytes keep the C1 control of the same value.
std::u16string DecodeWindows1252(std::string_view bytes);

// UTF-8 (a leading BOM is dropped) when the bytes are valid UTF-8, otherwise Windows-1252.
// Line breaks are left as they are.
std::u16string DecodeTextBytes(std::string_view bytes);

// CR LF and lone CR become LF, so that every line break is one unit as in a pane.
std::u16string NormalizeLineBreaks(std::u16string_view text);
// The same in place: the text only shrinks, so nothing is copied.
void NormalizeLineBreaksInPlace(std::u16string& text);

// Both steps: the text a pane would hold after loading the file's bytes.
std::u16string DecodeArticleBytes(std::string_view bytes);

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view utf8);  // invalid sequences become U+FFFD

}  // namespace vellora
