#include "CryptoPrimitives.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/params.h>

namespace vellora {

namespace {
struct MacFree {
  void operator()(EVP_MAC* mac) const { EVP_MAC_free(mac); }
};
}  // namespace

bool Pbkdf2HmacSha1(std::string_view password, std::span<const std::uint8_t> salt, int iterations,
                    std::span<std::uint8_t> out) {
  // A non-null pointer even for the empty password: a null one would be read as a C string.
  static const char kEmpty[] = "";
  const char* pass = password.empty() ? kEmpty : password.data();
  static const unsigned char kNoSalt[1] = {0};
  const unsigned char* saltBytes = salt.empty() ? kNoSalt : salt.data();
  return PKCS5_PBKDF2_HMAC(pass, static_cast<int>(password.size()), saltBytes,
                           static_cast<int>(salt.size()), iterations, EVP_sha1(),
                           static_cast<int>(out.size()), out.data()) == 1;
}

void HmacSha1::Free::operator()(evp_mac_ctx_st* ctx) const {
  EVP_MAC_CTX_free(ctx);
}

HmacSha1::HmacSha1() {
  std::unique_ptr<EVP_MAC, MacFree> mac(EVP_MAC_fetch(nullptr, "HMAC", nullptr));
  if (mac) ctx_.reset(EVP_MAC_CTX_new(mac.get()));
}

HmacSha1::~HmacSha1() = default;

bool HmacSha1::Init(std::span<const std::uint8_t> key) {
  ready_ = false;
  if (!ctx_) return false;
  char digest[] = "SHA1";
  const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                               OSSL_PARAM_construct_end()};
  static const unsigned char kNoKey[1] = {0};
  ready_ = EVP_MAC_init(ctx_.get(), key.empty() ? kNoKey : key.data(), key.size(), params) == 1;
  return ready_;
}

bool HmacSha1::Update(std::span<const std::uint8_t> data) {
  if (!ready_) return false;
  return data.empty() || EVP_MAC_update(ctx_.get(), data.data(), data.size()) == 1;
}

bool HmacSha1::Final(std::array<std::uint8_t, kDigestLength>& digest) {
  if (!ready_) return false;
  ready_ = false;
  std::size_t length = 0;
  return EVP_MAC_final(ctx_.get(), digest.data(), &length, digest.size()) == 1 &&
         length == digest.size();
}

}  // namespace vellora
