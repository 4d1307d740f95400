// Password-based authenticated encryption of a whole byte stream into a self-contained container:
// salt, two-byte password verifier, the encrypted data (AES in counter mode) and a ten-byte
// HMAC-SHA1 code over the encrypted data. The layout is that of AES-encrypted ZIP entries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CryptoPrimitives.h"

// OpenSSL's own struct tags, so that callers do not need the OpenSSL headers.
struct evp_cipher_ctx_st;

namespace vellora {

inline constexpr std::size_t kVerifierLength = 2;
inline constexpr std::size_t kAuthCodeLength = 10;
inline constexpr std::size_t kMaxPasswordLength = 128;
inline constexpr int kKeyDerivationIterations = 1000;

// 1 (AES-128) for passwords of 0 to 31 bytes, 2 (AES-192) for 32 to 47, 3 (AES-256) beyond.
int KeyStrengthForPassword(std::size_t passwordLength);
std::size_t AesKeyLength(int keyStrength);  // 16, 24 or 32
std::size_t SaltLength(int keyStrength);    // 8, 12 or 16

// Why a container operation stopped.
enum class CryptStatus {
  Ok,
  OpenFailed,            // the source file could not be opened
  CreateFailed,          // the destination could not be created
  ReadFailed,            // the source could not be read
  WriteFailed,           // the destination could not be written
  TooShort,              // fewer bytes than salt, verifier and code need
  Truncated,             // the source ended before the announced size
  TooLarge,              // above the caller's limit for an in-memory result
  WrongPassword,         // the password verification value differs
  AuthenticationFailed,  // the authentication code differs: damaged data
  CryptoError,           // the crypto library refused an operation
};

struct CryptResult {
  CryptStatus Status = CryptStatus::Ok;
  std::string Message;  // for the user: names the file and the cause; empty when Ok

  bool Ok() const { return Status == CryptStatus::Ok; }
  static CryptResult Success() { return {}; }
  static CryptResult Failure(CryptStatus status, std::string message) {
    return {status, std::move(message)};
  }
};

// Salt generator: a 260-byte pool stirred with the SHA-1 compression function and fed from a
// high-resolution clock. Salts only need to differ between containers.
class SaltPool {
 public:
  static constexpr std::size_t kPoolSize = 260;
  // Writes up to `wanted` bytes of entropy to `out` and returns how many it wrote.
  using EntropySource = std::function<std::size_t(std::uint8_t* out, std::size_t wanted)>;

  SaltPool();  // entropy from std::chrono::steady_clock
  explicit SaltPool(EntropySource source);
  ~SaltPool();
  SaltPool(const SaltPool&) = delete;
  SaltPool& operator=(const SaltPool&) = delete;

  void Take(std::uint8_t* out, std::size_t n);

  // The clock source: the first min(8, wanted) bytes of the steady clock's tick count,
  // little-endian.
  static std::size_t ClockEntropy(std::uint8_t* out, std::size_t wanted);

 private:
  void Start();
  void Refill();
  static void Mix(std::array<std::uint8_t, kPoolSize>& buffer);

  std::array<std::uint8_t, kPoolSize> pool_{};
  std::array<std::uint8_t, kPoolSize> output_{};
  std::size_t readPos_ = 0;
  EntropySource source_;
};

struct CipherContextFree {
  void operator()(evp_cipher_ctx_st* ctx) const;
};

// The cipher state and settings of one codec.
class TCrypt {
 public:
  // Throws std::invalid_argument for a password longer than 128 bytes or a zero buffer size.
  TCrypt(std::string password, std::size_t bufferSize);
  virtual ~TCrypt();
  TCrypt(const TCrypt&) = delete;
  TCrypt& operator=(const TCrypt&) = delete;

  int KeyStrength() const { return keyStrength_; }
  std::size_t BufferSize() const { return bufferSize_; }

 protected:
  // Derives key, authentication key and verifier from the password and salt and resets the
  // counter, key stream and HMAC for a new container.
  bool SetUpContainer(std::span<const std::uint8_t> salt,
                      std::array<std::uint8_t, kVerifierLength>& verifier);
  // Combines data with the key stream in place; the stream position carries over calls.
  bool CryptInPlace(std::uint8_t* data, std::size_t n);
  bool AuthUpdate(const std::uint8_t* data, std::size_t n);
  bool AuthFinish(std::array<std::uint8_t, kAuthCodeLength>& code);

  int keyStrength_ = 1;
  std::array<std::uint8_t, 16> counterBlock_{};
  std::array<std::uint8_t, 16> keyStreamBlock_{};
  std::unique_ptr<evp_cipher_ctx_st, CipherContextFree> aes_;
  HmacSha1 hmac_;
  std::size_t keyStreamPos_ = 16;  // 16: the next byte needs a new block
  std::size_t containerPasswordLength_ = 0;
  int containerKeyStrength_ = 0;
  std::string password_;
  std::size_t bufferSize_ = 0;
  std::vector<std::uint8_t> buffer_;
};

// The stream operations and the salt generator.
class TEncryption : public TCrypt {
 public:
  TEncryption(std::string password, std::size_t bufferSize);
  TEncryption(std::string password, std::size_t bufferSize, SaltPool::EntropySource entropy);
  ~TEncryption() override = default;

  // Writes a complete container of everything the source holds from its position on.
  bool EncryptStream(std::istream& source, std::ostream& destination);
  // The same with a salt chosen by the caller (exactly SaltLength(KeyStrength()) bytes), for
  // reproducible containers.
  bool EncryptStreamWithSalt(std::istream& source, std::ostream& destination,
                             std::span<const std::uint8_t> salt);
  // Takes `size` container bytes from the source; true when verifier and code both match.
  // A source that ends early, or a size below salt + 12, gives false at once.
  bool DecryptStream(std::istream& source, std::ostream& destination, std::int64_t size);

  // Why the last operation returned false (Ok after a success).
  CryptStatus LastStatus() const { return lastStatus_; }

 private:
  bool Fail(CryptStatus status) {
    lastStatus_ = status;
    return false;
  }
  bool WriteHeader(std::ostream& destination, std::span<const std::uint8_t> salt);
  bool WriteTrailer(std::ostream& destination);
  bool ReadHeader(std::istream& source);
  bool CheckTrailer(std::istream& source);

  SaltPool saltPool_;
  CryptStatus lastStatus_ = CryptStatus::Ok;
};

// Describes a status for messages, e.g. "wrong password".
std::string_view DescribeCryptStatus(CryptStatus status);

// File and memory forms with any password. Destinations are written beside their final name and
// renamed over it only when complete, so a failure leaves no partial or unverified file.
CryptResult EncryptFileWithPassword(const std::filesystem::path& plainPath,
                                    const std::filesystem::path& containerPath,
                                    const std::string& password, std::size_t bufferSize);
CryptResult DecryptFileWithPassword(const std::filesystem::path& containerPath,
                                    const std::filesystem::path& plainPath,
                                    const std::string& password, std::size_t bufferSize);
// Decrypts a container file into memory; containers whose data exceeds maxPlainSize are refused
// before anything is read.
CryptResult DecryptFileToString(const std::filesystem::path& containerPath,
                                const std::string& password, std::uint64_t maxPlainSize,
                                std::string& plain);
CryptResult EncryptStringToFile(std::string_view plain, const std::filesystem::path& containerPath,
                                const std::string& password);

}  // namespace vellora
