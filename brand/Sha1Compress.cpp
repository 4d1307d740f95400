// OpenSSL 3 keeps the bare block function only as a deprecated call; the salt pool needs exactly
// that function, so the deprecation warning is silenced for this one file.
#define OPENSSL_SUPPRESS_DEPRECATED

#include "Sha1Compress.h"

#include <openssl/crypto.h>
#include <openssl/sha.h>

namespace vellora {

void Sha1Compress(std::array<std::uint32_t, 5>& chainingValue, const std::uint8_t block[64]) {
  SHA_CTX ctx{};
  ctx.h0 = chainingValue[0];
  ctx.h1 = chainingValue[1];
  ctx.h2 = chainingValue[2];
  ctx.h3 = chainingValue[3];
  ctx.h4 = chainingValue[4];
  SHA1_Transform(&ctx, block);
  chainingValue = {ctx.h0, ctx.h1, ctx.h2, ctx.h3, ctx.h4};
  OPENSSL_cleanse(&ctx, sizeof ctx);
}

}  // namespace vellora
