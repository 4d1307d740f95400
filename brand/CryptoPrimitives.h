// Thin checked wrappers over OpenSSL's PBKDF2-HMAC-SHA1 and HMAC-SHA1, so that the container
// code and its tests see plain C++ types and never a raw OpenSSL object.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

struct evp_mac_ctx_st;

namespace vellora {

// PBKDF2 with HMAC-SHA1 (RFC 2898); fills all of out. False when OpenSSL refuses.
bool Pbkdf2HmacSha1(std::string_view password, std::span<const std::uint8_t> salt, int iterations,
                    std::span<std::uint8_t> out);

// Incremental HMAC-SHA1 (RFC 2104). Init may be called again to start a new message.
class HmacSha1 {
 public:
  static constexpr std::size_t kDigestLength = 20;
  HmacSha1();
  ~HmacSha1();
  HmacSha1(const HmacSha1&) = delete;
  HmacSha1& operator=(const HmacSha1&) = delete;

  bool Init(std::span<const std::uint8_t> key);
  bool Update(std::span<const std::uint8_t> data);
  bool Final(std::array<std::uint8_t, kDigestLength>& digest);

 private:
  struct Free {
    void operator()(evp_mac_ctx_st* ctx) const;
  };
  std::unique_ptr<evp_mac_ctx_st, Free> ctx_;
  bool ready_ = false;
};

}  // namespace vellora
