// Container decryption with the program's password. Any input: decryption succeeds only for a
// container that the same salt re-encrypts to exactly the same bytes. Plain input: encryption
// then decryption gives it back, and a changed byte makes decryption fail.
#include <sstream>
#include <vector>

#include "AesLib.h"
#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "UUtils.h"

namespace vellora::fuzz {

namespace {

constexpr std::size_t kBufferSize = 4096;

bool Decrypt(std::string_view container, std::string& plain, CryptStatus& status) {
  TEncryption codec(kBrandPassword, kBufferSize);
  std::istringstream source{std::string(container)};
  std::ostringstream destination;
  const bool ok =
      codec.DecryptStream(source, destination, static_cast<std::int64_t>(container.size()));
  status = codec.LastStatus();
  plain = destination.str();
  return ok;
}

std::string EncryptWithSalt(std::string_view plain, std::span<const std::uint8_t> salt) {
  TEncryption codec(kBrandPassword, kBufferSize);
  std::istringstream source{std::string(plain)};
  std::ostringstream destination;
  const bool ok = codec.EncryptStreamWithSalt(source, destination, salt);
  FUZZ_REQUIRE(ok, "encrypting from memory always works");
  return destination.str();
}

}  // namespace

int FuzzContainer(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  const std::uint8_t mode = input.Byte();
  const std::string_view rest = input.Rest();
  const std::size_t saltLength =
      SaltLength(KeyStrengthForPassword(std::string(kBrandPassword).size()));

  if (mode % 2 == 0) {
    std::string plain;
    CryptStatus status = CryptStatus::Ok;
    const bool ok = Decrypt(rest, plain, status);
    FUZZ_REQUIRE(ok == (status == CryptStatus::Ok), "success and status agree");
    if (rest.size() < saltLength + kVerifierLength + kAuthCodeLength)
      FUZZ_REQUIRE(!ok, "a container too short for its header and code is refused");
    if (ok) {
      FUZZ_REQUIRE(plain.size() == rest.size() - saltLength - kVerifierLength - kAuthCodeLength,
                   "the plain text is as long as the encrypted data");
      const std::span<const std::uint8_t> salt(reinterpret_cast<const std::uint8_t*>(rest.data()),
                                               saltLength);
      FUZZ_REQUIRE(EncryptWithSalt(plain, salt) == rest,
                   "an accepted container re-encrypts to itself");
    }
    return 0;
  }

  // The rest is plain text; its first bytes (repeated as needed) are the salt.
  std::vector<std::uint8_t> salt(saltLength);
  for (std::size_t i = 0; i < saltLength; ++i)
    salt[i] = rest.empty() ? 0 : static_cast<std::uint8_t>(rest[i % rest.size()]);
  const std::string container = EncryptWithSalt(rest, salt);
  FUZZ_REQUIRE(container.size() == saltLength + kVerifierLength + rest.size() + kAuthCodeLength,
               "a container is salt, verifier, data and code");
  std::string plain;
  CryptStatus status = CryptStatus::Ok;
  FUZZ_REQUIRE(Decrypt(container, plain, status) && plain == rest,
               "decryption gives back what was encrypted");
  std::string damaged = container;
  const std::size_t at = (mode / 2) % damaged.size();
  damaged[at] = static_cast<char>(damaged[at] ^ (1 + mode % 255));
  FUZZ_REQUIRE(!Decrypt(damaged, plain, status), "a container with a changed byte is refused");
  return 0;
}

}  // namespace vellora::fuzz
