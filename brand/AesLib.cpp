#include "AesLib.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/params.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "AtomicFile.h"

namespace vellora {
namespace fs = std::filesystem;

namespace {

// Key stream blocks made per cipher call when whole blocks are wanted.
constexpr std::size_t kBatchBlocks = 256;

const EVP_CIPHER* AesEcbFor(int keyStrength) {
  switch (keyStrength) {
    case 1:
      return EVP_aes_128_ecb();
    case 2:
      return EVP_aes_192_ecb();
    default:
      return EVP_aes_256_ecb();
  }
}

void IncrementCounter(std::array<std::uint8_t, 16>& block) {
  // The first 8 bytes are a little-endian 64-bit number; the last 8 stay zero.
  for (std::size_t i = 0; i < 8; ++i) {
    if (++block[i] != 0) break;
  }
}

std::string Quoted(const fs::path& p) {
  return "\"" + p.string() + "\"";
}

}  // namespace

void CipherContextFree::operator()(evp_cipher_ctx_st* ctx) const {
  EVP_CIPHER_CTX_free(ctx);
}

int KeyStrengthForPassword(std::size_t passwordLength) {
  if (passwordLength < 32) return 1;
  if (passwordLength < 48) return 2;
  return 3;
}

std::size_t AesKeyLength(int keyStrength) {
  return keyStrength == 1 ? 16 : keyStrength == 2 ? 24 : 32;
}

std::size_t SaltLength(int keyStrength) {
  return keyStrength == 1 ? 8 : keyStrength == 2 ? 12 : 16;
}

std::string_view DescribeCryptStatus(CryptStatus status) {
  switch (status) {
    case CryptStatus::Ok:
      return "done";
    case CryptStatus::OpenFailed:
      return "cannot be opened";
    case CryptStatus::CreateFailed:
      return "cannot be created";
    case CryptStatus::ReadFailed:
      return "cannot be read";
    case CryptStatus::WriteFailed:
      return "cannot be written";
    case CryptStatus::TooShort:
      return "is too short to be an encrypted container";
    case CryptStatus::Truncated:
      return "ends before the end of its encrypted data (truncated)";
    case CryptStatus::TooLarge:
      return "is too large";
    case CryptStatus::WrongPassword:
      return "does not match the password (wrong password or not an encrypted container)";
    case CryptStatus::AuthenticationFailed:
      return "is damaged: its authentication code does not match the data";
    case CryptStatus::CryptoError:
      return "could not be processed by the crypto library";
  }
  return "failed";
}

// ---------------------------------------------------------------------------------------------
// TCrypt

TCrypt::TCrypt(std::string password, std::size_t bufferSize)
    : password_(std::move(password)), bufferSize_(bufferSize) {
  if (password_.size() > kMaxPasswordLength) {
    OPENSSL_cleanse(password_.data(), password_.size());
    throw std::invalid_argument("The password is longer than 128 bytes");
  }
  if (bufferSize_ == 0) throw std::invalid_argument("The work buffer size must not be 0");
  keyStrength_ = KeyStrengthForPassword(password_.size());
  buffer_.resize(bufferSize_);
  aes_.reset(EVP_CIPHER_CTX_new());
  if (!aes_) throw std::bad_alloc();
}

TCrypt::~TCrypt() {
  OPENSSL_cleanse(counterBlock_.data(), counterBlock_.size());
  OPENSSL_cleanse(keyStreamBlock_.data(), keyStreamBlock_.size());
  if (!password_.empty()) OPENSSL_cleanse(password_.data(), password_.size());
  if (!buffer_.empty()) OPENSSL_cleanse(buffer_.data(), buffer_.size());
}

bool TCrypt::SetUpContainer(std::span<const std::uint8_t> salt,
                            std::array<std::uint8_t, kVerifierLength>& verifier) {
  const std::size_t keyLength = AesKeyLength(keyStrength_);
  std::vector<std::uint8_t> material(2 * keyLength + kVerifierLength);
  struct Wipe {
    std::vector<std::uint8_t>& bytes;
    ~Wipe() { OPENSSL_cleanse(bytes.data(), bytes.size()); }
  } wipe{material};

  if (!Pbkdf2HmacSha1(password_, salt, kKeyDerivationIterations, material)) return false;

  if (EVP_CIPHER_CTX_reset(aes_.get()) != 1 ||
      EVP_EncryptInit_ex(aes_.get(), AesEcbFor(keyStrength_), nullptr, material.data(), nullptr) !=
          1 ||
      EVP_CIPHER_CTX_set_padding(aes_.get(), 0) != 1) {
    return false;
  }

  if (!hmac_.Init(std::span(material).subspan(keyLength, keyLength))) return false;

  std::copy_n(material.data() + 2 * keyLength, kVerifierLength, verifier.begin());
  counterBlock_.fill(0);
  keyStreamBlock_.fill(0);
  keyStreamPos_ = 16;
  containerPasswordLength_ = password_.size();
  containerKeyStrength_ = keyStrength_;
  return true;
}

bool TCrypt::CryptInPlace(std::uint8_t* data, std::size_t n) {
  std::uint8_t counters[kBatchBlocks * 16];
  std::uint8_t stream[kBatchBlocks * 16];
  while (n > 0) {
    if (keyStreamPos_ == 16 && n >= 16) {
      // Whole blocks at a block boundary: one cipher call for many counter blocks.
      const std::size_t blocks = std::min(n / 16, kBatchBlocks);
      for (std::size_t b = 0; b < blocks; ++b) {
        IncrementCounter(counterBlock_);
        std::memcpy(counters + 16 * b, counterBlock_.data(), 16);
      }
      int outLength = 0;
      const int inLength = static_cast<int>(blocks * 16);
      if (EVP_EncryptUpdate(aes_.get(), stream, &outLength, counters, inLength) != 1 ||
          outLength != inLength) {
        return false;
      }
      for (std::size_t i = 0; i < blocks * 16; ++i) data[i] ^= stream[i];
      std::memcpy(keyStreamBlock_.data(), stream + 16 * (blocks - 1), 16);
      data += blocks * 16;
      n -= blocks * 16;
      continue;
    }
    if (keyStreamPos_ == 16) {
      IncrementCounter(counterBlock_);
      int outLength = 0;
      if (EVP_EncryptUpdate(aes_.get(), keyStreamBlock_.data(), &outLength, counterBlock_.data(),
                            16) != 1 ||
          outLength != 16) {
        return false;
      }
      keyStreamPos_ = 0;
    }
    *data++ ^= keyStreamBlock_[keyStreamPos_++];
    --n;
  }
  OPENSSL_cleanse(stream, sizeof stream);
  return true;
}

bool TCrypt::AuthUpdate(const std::uint8_t* data, std::size_t n) {
  return hmac_.Update({data, n});
}

bool TCrypt::AuthFinish(std::array<std::uint8_t, kAuthCodeLength>& code) {
  std::array<std::uint8_t, HmacSha1::kDigestLength> digest{};
  if (!hmac_.Final(digest)) return false;
  std::copy_n(digest.begin(), code.size(), code.begin());
  OPENSSL_cleanse(digest.data(), digest.size());
  return true;
}

// ---------------------------------------------------------------------------------------------
// TEncryption

TEncryption::TEncryption(std::string password, std::size_t bufferSize)
    : TCrypt(std::move(password), bufferSize) {}

TEncryption::TEncryption(std::string password, std::size_t bufferSize,
                         SaltPool::EntropySource entropy)
    : TCrypt(std::move(password), bufferSize), saltPool_(std::move(entropy)) {}

bool TEncryption::WriteHeader(std::ostream& destination, std::span<const std::uint8_t> salt) {
  std::array<std::uint8_t, kVerifierLength> verifier{};
  if (!SetUpContainer(salt, verifier)) return Fail(CryptStatus::CryptoError);
  destination.write(reinterpret_cast<const char*>(salt.data()),
                    static_cast<std::streamsize>(salt.size()));
  destination.write(reinterpret_cast<const char*>(verifier.data()), verifier.size());
  if (!destination) return Fail(CryptStatus::WriteFailed);
  return true;
}

bool TEncryption::WriteTrailer(std::ostream& destination) {
  std::array<std::uint8_t, kAuthCodeLength> code{};
  if (!AuthFinish(code)) return Fail(CryptStatus::CryptoError);
  destination.write(reinterpret_cast<const char*>(code.data()), code.size());
  if (!destination) return Fail(CryptStatus::WriteFailed);
  return true;
}

bool TEncryption::EncryptStream(std::istream& source, std::ostream& destination) {
  std::vector<std::uint8_t> salt(SaltLength(KeyStrength()));
  saltPool_.Take(salt.data(), salt.size());
  return EncryptStreamWithSalt(source, destination, salt);
}

bool TEncryption::EncryptStreamWithSalt(std::istream& source, std::ostream& destination,
                                        std::span<const std::uint8_t> salt) {
  lastStatus_ = CryptStatus::Ok;
  if (salt.size() != SaltLength(KeyStrength())) return Fail(CryptStatus::CryptoError);
  if (!WriteHeader(destination, salt)) return false;
  char* work = reinterpret_cast<char*>(buffer_.data());
  for (;;) {
    source.read(work, static_cast<std::streamsize>(bufferSize_));
    const auto n = static_cast<std::size_t>(source.gcount());
    if (source.bad()) return Fail(CryptStatus::ReadFailed);
    if (!CryptInPlace(buffer_.data(), n) || !AuthUpdate(buffer_.data(), n)) {
      return Fail(CryptStatus::CryptoError);
    }
    destination.write(work, static_cast<std::streamsize>(n));
    if (!destination) return Fail(CryptStatus::WriteFailed);
    if (n != bufferSize_) break;
  }
  // End of input is the normal end here; leave the source usable at its end.
  if (source.eof()) source.clear(std::ios::eofbit);
  return WriteTrailer(destination);
}

bool TEncryption::ReadHeader(std::istream& source) {
  std::vector<std::uint8_t> salt(SaltLength(KeyStrength()));
  source.read(reinterpret_cast<char*>(salt.data()), static_cast<std::streamsize>(salt.size()));
  if (static_cast<std::size_t>(source.gcount()) != salt.size()) {
    return Fail(source.bad() ? CryptStatus::ReadFailed : CryptStatus::Truncated);
  }
  std::array<std::uint8_t, kVerifierLength> expected{};
  if (!SetUpContainer(salt, expected)) return Fail(CryptStatus::CryptoError);
  std::array<std::uint8_t, kVerifierLength> stored{};
  source.read(reinterpret_cast<char*>(stored.data()), stored.size());
  if (static_cast<std::size_t>(source.gcount()) != stored.size()) {
    return Fail(source.bad() ? CryptStatus::ReadFailed : CryptStatus::Truncated);
  }
  if (stored != expected) return Fail(CryptStatus::WrongPassword);
  return true;
}

bool TEncryption::CheckTrailer(std::istream& source) {
  std::array<std::uint8_t, kAuthCodeLength> computed{};
  if (!AuthFinish(computed)) return Fail(CryptStatus::CryptoError);
  std::array<std::uint8_t, kAuthCodeLength> stored{};
  source.read(reinterpret_cast<char*>(stored.data()), stored.size());
  if (static_cast<std::size_t>(source.gcount()) != stored.size()) {
    return Fail(source.bad() ? CryptStatus::ReadFailed : CryptStatus::Truncated);
  }
  if (CRYPTO_memcmp(stored.data(), computed.data(), stored.size()) != 0) {
    return Fail(CryptStatus::AuthenticationFailed);
  }
  return true;
}

bool TEncryption::DecryptStream(std::istream& source, std::ostream& destination,
                                std::int64_t size) {
  lastStatus_ = CryptStatus::Ok;
  const auto overhead =
      static_cast<std::int64_t>(SaltLength(KeyStrength()) + kVerifierLength + kAuthCodeLength);
  if (size < overhead) return Fail(CryptStatus::TooShort);
  if (!ReadHeader(source)) return false;

  std::int64_t remaining = size - overhead;
  char* work = reinterpret_cast<char*>(buffer_.data());
  while (remaining > 0) {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(remaining, static_cast<std::int64_t>(bufferSize_)));
    source.read(work, static_cast<std::streamsize>(wanted));
    const auto n = static_cast<std::size_t>(source.gcount());
    if (source.bad()) return Fail(CryptStatus::ReadFailed);
    if (!AuthUpdate(buffer_.data(), n) || !CryptInPlace(buffer_.data(), n)) {
      return Fail(CryptStatus::CryptoError);
    }
    destination.write(work, static_cast<std::streamsize>(n));
    if (!destination) return Fail(CryptStatus::WriteFailed);
    // A source that ends early must not make the loop wait or spin.
    if (n < wanted) return Fail(CryptStatus::Truncated);
    remaining -= static_cast<std::int64_t>(n);
  }
  return CheckTrailer(source);
}

// ---------------------------------------------------------------------------------------------
// Files and memory

namespace {

CryptResult FromOutcome(const TEncryption& codec, const fs::path& what) {
  return CryptResult::Failure(
      codec.LastStatus(),
      Quoted(what) + " " + std::string(DescribeCryptStatus(codec.LastStatus())));
}

CryptResult FromReplace(const ReplaceResult& r) {
  return CryptResult::Failure(r.Outcome == ReplaceOutcome::CreateFailed ? CryptStatus::CreateFailed
                                                                        : CryptStatus::WriteFailed,
                              r.Message);
}

CryptResult OpenForReading(const fs::path& path, std::ifstream& in, std::uint64_t& size) {
  in.open(path, std::ios::binary);
  if (!in) {
    return CryptResult::Failure(CryptStatus::OpenFailed,
                                "Cannot open " + Quoted(path) + ": " + std::strerror(errno));
  }
  std::error_code ec;
  size = fs::file_size(path, ec);
  if (ec) {
    return CryptResult::Failure(CryptStatus::ReadFailed,
                                "Cannot read " + Quoted(path) + ": " + ec.message());
  }
  return CryptResult::Success();
}

}  // namespace

CryptResult EncryptFileWithPassword(const fs::path& plainPath, const fs::path& containerPath,
                                    const std::string& password, std::size_t bufferSize) {
  std::ifstream in;
  std::uint64_t size = 0;
  if (auto opened = OpenForReading(plainPath, in, size); !opened.Ok()) return opened;
  TEncryption codec(password, bufferSize);
  bool encrypted = false;
  ReplaceResult replaced = ReplaceFileAtomically(containerPath, [&](std::ostream& out) {
    encrypted = codec.EncryptStream(in, out);
    return encrypted;
  });
  if (!encrypted && codec.LastStatus() != CryptStatus::Ok) {
    if (codec.LastStatus() == CryptStatus::ReadFailed) return FromOutcome(codec, plainPath);
    return FromOutcome(codec, containerPath);
  }
  if (!replaced.Ok()) return FromReplace(replaced);
  return CryptResult::Success();
}

CryptResult DecryptFileWithPassword(const fs::path& containerPath, const fs::path& plainPath,
                                    const std::string& password, std::size_t bufferSize) {
  std::ifstream in;
  std::uint64_t size = 0;
  if (auto opened = OpenForReading(containerPath, in, size); !opened.Ok()) return opened;
  TEncryption codec(password, bufferSize);
  bool verified = false;
  ReplaceResult replaced = ReplaceFileAtomically(plainPath, [&](std::ostream& out) {
    verified = codec.DecryptStream(in, out, static_cast<std::int64_t>(size));
    return verified;
  });
  if (!verified && codec.LastStatus() != CryptStatus::Ok) {
    if (codec.LastStatus() == CryptStatus::WriteFailed) return FromOutcome(codec, plainPath);
    return FromOutcome(codec, containerPath);
  }
  if (!replaced.Ok()) return FromReplace(replaced);
  return CryptResult::Success();
}

CryptResult DecryptFileToString(const fs::path& containerPath, const std::string& password,
                                std::uint64_t maxPlainSize, std::string& plain) {
  plain.clear();
  std::ifstream in;
  std::uint64_t size = 0;
  if (auto opened = OpenForReading(containerPath, in, size); !opened.Ok()) return opened;
  TEncryption codec(password, 0x40000);
  const std::uint64_t overhead =
      SaltLength(codec.KeyStrength()) + kVerifierLength + kAuthCodeLength;
  if (size > maxPlainSize + overhead) {
    return CryptResult::Failure(CryptStatus::TooLarge, Quoted(containerPath) + " is too large (" +
                                                           std::to_string(size) + " bytes)");
  }
  std::ostringstream out(std::ios::binary);
  if (!codec.DecryptStream(in, out, static_cast<std::int64_t>(size))) {
    return FromOutcome(codec, containerPath);
  }
  plain = std::move(out).str();
  return CryptResult::Success();
}

CryptResult EncryptStringToFile(std::string_view plain, const fs::path& containerPath,
                                const std::string& password) {
  TEncryption codec(password, 0x40000);
  std::istringstream in{std::string(plain), std::ios::binary};
  bool encrypted = false;
  ReplaceResult replaced = ReplaceFileAtomically(containerPath, [&](std::ostream& out) {
    encrypted = codec.EncryptStream(in, out);
    return encrypted;
  });
  if (!encrypted && codec.LastStatus() != CryptStatus::Ok) return FromOutcome(codec, containerPath);
  if (!replaced.Ok()) return FromReplace(replaced);
  return CryptResult::Success();
}

}  // namespace vellora
