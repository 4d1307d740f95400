// The SHA-1 compression function on its own: one 64-byte block into a five-word chaining value.
#pragma once

#include <array>
#include <cstdint>

namespace vellora {

void Sha1Compress(std::array<std::uint32_t, 5>& chainingValue, const std::uint8_t block[64]);

}  // namespace vellora
