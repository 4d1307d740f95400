#include <openssl/crypto.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "AesLib.h"
#include "Sha1Compress.h"

namespace vellora {

namespace {
constexpr std::size_t kDigest = 20;
constexpr std::size_t kBlock = 64;
constexpr int kStartMixRounds = 20;
}  // namespace

SaltPool::SaltPool() : SaltPool(&SaltPool::ClockEntropy) {}

SaltPool::SaltPool(EntropySource source) : source_(std::move(source)) {
  Start();
}

SaltPool::~SaltPool() {
  OPENSSL_cleanse(pool_.data(), pool_.size());
  OPENSSL_cleanse(output_.data(), output_.size());
  readPos_ = 0;
}

std::size_t SaltPool::ClockEntropy(std::uint8_t* out, std::size_t wanted) {
  const auto ticks =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::size_t n = std::min<std::size_t>(8, wanted);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(ticks >> (8 * i));
  return n;
}

// Every 20-byte slot is replaced by one compression whose chaining value is the slot before it
// (wrapping to the last slot) and whose block is the 64 bytes from the slot on (wrapping).
void SaltPool::Mix(std::array<std::uint8_t, kPoolSize>& buffer) {
  for (std::size_t offset = 0; offset < kPoolSize; offset += kDigest) {
    const std::size_t chainAt = (offset + kPoolSize - kDigest) % kPoolSize;
    std::array<std::uint32_t, 5> chain{};
    std::memcpy(chain.data(), buffer.data() + chainAt, kDigest);
    std::uint8_t block[kBlock];
    for (std::size_t i = 0; i < kBlock; ++i) block[i] = buffer[(offset + i) % kPoolSize];
    Sha1Compress(chain, block);
    std::memcpy(buffer.data() + offset, chain.data(), kDigest);
    OPENSSL_cleanse(block, sizeof block);
  }
}

void SaltPool::Refill() {
  output_ = pool_;
  std::size_t filled = 0;
  while (filled < kPoolSize) {
    const std::size_t wanted = kPoolSize - filled;
    std::size_t got = source_ ? source_(pool_.data() + filled, wanted) : 0;
    if (got == 0) {
      // A source that delivers nothing must not stall salt generation.
      std::fill(pool_.begin() + static_cast<std::ptrdiff_t>(filled), pool_.end(), 0);
      break;
    }
    filled += std::min(got, wanted);
  }
  for (std::size_t i = 0; i < kPoolSize; ++i)
    pool_[i] = static_cast<std::uint8_t>(pool_[i] ^ static_cast<std::uint8_t>(~output_[i]));
  Mix(pool_);
  Mix(output_);
}

void SaltPool::Start() {
  pool_.fill(0);
  output_.fill(0);
  readPos_ = 0;
  Refill();
  for (int i = 0; i < kStartMixRounds; ++i) Mix(pool_);
  Refill();
  readPos_ = 0;
}

void SaltPool::Take(std::uint8_t* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = output_[readPos_++];
    if (readPos_ == kPoolSize) {
      Refill();
      readPos_ = 0;
    }
  }
}

}  // namespace vellora
