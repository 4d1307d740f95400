// Bounds that keep every reader of imported files finite in time and memory, whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellora {

// No article file larger than this is read at all.
inline constexpr std::uint64_t kMaxImportFileBytes = 256ull * 1024 * 1024;
// No part of a zip package (docx, odt) is unpacked past this many bytes.
inline constexpr std::uint64_t kMaxZipPartBytes = 64ull * 1024 * 1024;
// Longest text, in UTF-16 units, that a reader hands back.
inline constexpr std::size_t kMaxImportedTextUnits = 128u * 1024 * 1024;
// Most text, in UTF-16 units, that one repeat construct (an ODT run of spaces) may stand for.
inline constexpr std::size_t kMaxRepeatUnits = 64u * 1024;
// Markup never holds more text than it has bytes; only repeat constructs and entities could make
// the text outgrow the input. The text of an input may reach this many units per input byte,
// plus one repeat construct's worth, and never more.
inline constexpr std::size_t kMaxTextUnitsPerInputByte = 16;
// No web page, saved or downloaded, larger than this is read.
inline constexpr std::uint64_t kMaxPageBytes = 32ull * 1024 * 1024;
// Most elements a web page may open: the HTML parser needs about 300 bytes and 10 µs for each.
inline constexpr std::size_t kMaxPageElements = 1'000'000;
// Deepest nesting of RTF groups, XML elements or web page elements accepted.
inline constexpr int kMaxNestingDepth = 1000;

// The longest text a reader hands back for an input (a whole RTF file, an XML part) of that size.
constexpr std::size_t ImportTextLimit(std::size_t inputBytes) {
  const std::size_t cap = (kMaxImportedTextUnits - kMaxRepeatUnits) / kMaxTextUnitsPerInputByte;
  return inputBytes >= cap ? kMaxImportedTextUnits
                           : inputBytes * kMaxTextUnitsPerInputByte + kMaxRepeatUnits;
}

}  // namespace vellora
