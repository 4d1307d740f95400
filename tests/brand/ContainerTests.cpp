// The encrypted container: primitives against published vectors, byte-exact agreement with AES
// ZIP entries made by 7-Zip, and the container's edge cases.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <random>
#include <sstream>

#include "AesLib.h"
#include "AtomicFile.h"
#include "CryptoPrimitives.h"
#include "TestSupport.h"
#include "UUtils.h"
#include "ZipPeer.h"

namespace vellora {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::FromHex;
using test::ReadFile;
using test::TempFolder;
using test::ToHex;
using test::WriteFile;

std::string Encrypt(const std::string& password, const std::string& plain,
                    const std::vector<std::uint8_t>& salt, std::size_t bufferSize = 0x40000) {
  TEncryption codec(password, bufferSize);
  std::istringstream in(plain);
  std::ostringstream out;
  EXPECT_TRUE(codec.EncryptStreamWithSalt(in, out, salt));
  return out.str();
}

std::string EncryptFresh(const std::string& password, const std::string& plain) {
  TEncryption codec(password, 4096);
  std::istringstream in(plain);
  std::ostringstream out;
  EXPECT_TRUE(codec.EncryptStream(in, out));
  return out.str();
}

struct Decrypted {
  bool Ok;
  CryptStatus Status;
  std::string Plain;
};

Decrypted Decrypt(const std::string& password, const std::string& container, std::int64_t size = -1,
                  std::size_t bufferSize = 0x40000) {
  TEncryption codec(password, bufferSize);
  std::istringstream in(container);
  std::ostringstream out;
  bool ok =
      codec.DecryptStream(in, out, size < 0 ? static_cast<std::int64_t>(container.size()) : size);
  return {ok, codec.LastStatus(), out.str()};
}

std::string Pattern(std::size_t n, unsigned seed = 1) {
  std::string s(n, '\0');
  std::mt19937 rng(seed);
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

// --- Primitives ------------------------------------------------------------------------------

struct Pbkdf2Vector {
  std::string Password, Salt;
  int Iterations;
  std::string Expected;
};

// RFC 6070, "PKCS #5: Password-Based Key Derivation Function 2 (PBKDF2) Test Vectors", section 2
// (the 16777216-iteration case is left out for time).
TEST(ContainerPrimitives, Pbkdf2MatchesRfc6070) {
  const Pbkdf2Vector vectors[] = {
      {"password", "salt", 1, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
      {"password", "salt", 2, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
      {"password", "salt", 4096, "4b007901b765489abead49d926f721d065a429c1"},
      {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096,
       "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
      {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096,
       "56fa6aa75548099dcc37d7f03425e0c3"},
  };
  for (const auto& v : vectors) {
    std::vector<std::uint8_t> out(v.Expected.size() / 2);
    const std::vector<std::uint8_t> salt(v.Salt.begin(), v.Salt.end());
    ASSERT_TRUE(Pbkdf2HmacSha1(v.Password, salt, v.Iterations, out));
    EXPECT_EQ(ToHex(Bytes(out)), v.Expected) << v.Password << " / " << v.Iterations;
  }
}

// RFC 2202, "Test Cases for HMAC-MD5 and HMAC-SHA-1", section 3 (HMAC-SHA-1 cases 1 to 7).
TEST(ContainerPrimitives, HmacSha1MatchesRfc2202) {
  std::string key4;
  for (int i = 1; i <= 25; ++i) key4.push_back(static_cast<char>(i));
  const std::pair<std::string, std::string> inputs[] = {
      {std::string(20, '\x0b'), "Hi There"},
      {"Jefe", "what do ya want for nothing?"},
      {std::string(20, '\xaa'), std::string(50, '\xdd')},
      {key4, std::string(50, '\xcd')},
      {std::string(20, '\x0c'), "Test With Truncation"},
      {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"},
      {std::string(80, '\xaa'),
       "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"},
  };
  const char* expected[] = {
      "b617318655057264e28bc0b6fb378c8ef146be00", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79",
      "125d7342b9ac11cd91a39af48aa17b4f63f175d3", "4c9007f4026250c6bc8414f9bf50c86c2d7235da",
      "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04", "aa4ae5e15272d00e95705637ce8a3b55ed402112",
      "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"};
  for (std::size_t i = 0; i < std::size(inputs); ++i) {
    HmacSha1 mac;
    const auto& [key, data] = inputs[i];
    ASSERT_TRUE(mac.Init({reinterpret_cast<const std::uint8_t*>(key.data()), key.size()}));
    // Fed in two pieces: the code must not depend on how the data is handed over.
    const std::size_t half = data.size() / 2;
    ASSERT_TRUE(mac.Update({reinterpret_cast<const std::uint8_t*>(data.data()), half}));
    ASSERT_TRUE(mac.Update(
        {reinterpret_cast<const std::uint8_t*>(data.data()) + half, data.size() - half}));
    std::array<std::uint8_t, 20> digest{};
    ASSERT_TRUE(mac.Final(digest));
    EXPECT_EQ(ToHex(std::string(digest.begin(), digest.end())), expected[i]) << "case " << i + 1;
  }
}

// --- Known answers from 7-Zip ----------------------------------------------------------------

struct PeerVector {
  const char* Label;
  std::string Password;
  int Strength;
  std::string ContainerHex;  // the stored data of short.txt, written by 7-Zip
};

const std::string kShortText = "Vellora brand settings\r\n";

const PeerVector kPeerVectors[] = {
    {"AES-128", "pqhrtzmwvx", 1,
     "8399b0451933f1c414c48a2b1e7a5fc9c90fff8dd06a6248cd71ce329d1c4c734e60953ce49802d4df97bec9"},
    {"AES-192", "abcdefghijklmnopqrstuvwxyz012345", 2,
     "9bff4ab867a56df90e89bc239af466ac3d086f1b37d7bd1ac7f4afb587acedbfbb824b1a04267891408894804e9b5"
     "e3a"},
    {"AES-256", "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKL", 3,
     "fa80f4e587754b87e35939e51460b110c11e5772654d56ebb83c5565d6f97a269686f69ce06d11b6fc0e57d5aab47"
     "1"
     "581191f33b"},
};

TEST(ContainerKnownAnswers, FixedSaltGivesThe7ZipBytesAtAllStrengths) {
  for (const auto& v : kPeerVectors) {
    const auto expected = FromHex(v.ContainerHex);
    const std::size_t s = SaltLength(v.Strength);
    ASSERT_EQ(KeyStrengthForPassword(v.Password.size()), v.Strength) << v.Label;
    const std::vector<std::uint8_t> salt(expected.begin(), expected.begin() + s);
    EXPECT_EQ(ToHex(Encrypt(v.Password, kShortText, salt)), v.ContainerHex) << v.Label;
  }
}

TEST(ContainerKnownAnswers, DecryptsThe7ZipBytesAtAllStrengths) {
  for (const auto& v : kPeerVectors) {
    auto d = Decrypt(v.Password, Bytes(FromHex(v.ContainerHex)));
    EXPECT_TRUE(d.Ok) << v.Label;
    EXPECT_EQ(d.Plain, kShortText) << v.Label;
  }
}

TEST(ContainerKnownAnswers, EveryEntryOfThe7ZipArchivesDecryptsAndReencryptsIdentically) {
  const fs::path dir = test::TestDataDir() / "7z";
  const std::pair<const char*, std::string> archives[] = {
      {"aes128.zip", "pqhrtzmwvx"},
      {"aes192.zip", "abcdefghijklmnopqrstuvwxyz012345"},
      {"aes256.zip", "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKL"}};
  int checked = 0;
  for (const auto& [archive, password] : archives) {
    for (const auto& entry : test::ReadRawAesEntries(dir / archive)) {
      SCOPED_TRACE(std::string(archive) + ":" + entry.Name);
      const std::string plain = ReadFile(dir / entry.Name);
      const int strength = KeyStrengthForPassword(password.size());
      ASSERT_EQ(entry.AesStrength, strength);
      ASSERT_EQ(entry.Raw.size(), SaltLength(strength) + plain.size() + 12);
      auto d = Decrypt(password, entry.Raw, -1, 100);  // a small buffer: many chunks
      EXPECT_TRUE(d.Ok);
      EXPECT_EQ(d.Plain, plain);
      const std::vector<std::uint8_t> salt(
          entry.Raw.begin(), entry.Raw.begin() + static_cast<long>(SaltLength(strength)));
      EXPECT_EQ(Encrypt(password, plain, salt, 37), entry.Raw);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 9);
}

TEST(ContainerKnownAnswers, SevenZipOpensOurContainersWrappedAsZipEntries) {
  if (!test::ProgramOnPath("7z")) GTEST_SKIP() << "7z is not on PATH";
  TempFolder tmp;
  // One password per key strength; 7-Zip refuses passwords above 99 bytes for these entries.
  const std::string passwords[] = {"pqhrtzmwvx", std::string(40, 'q'), std::string(99, 'z')};
  for (const auto& password : passwords) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{16}, std::size_t{70001}}) {
      SCOPED_TRACE(std::to_string(password.size()) + "/" + std::to_string(size));
      const std::string plain = Pattern(size, static_cast<unsigned>(size + password.size()));
      const std::string container = EncryptFresh(password, plain);
      const fs::path zip = tmp / "ours.zip";
      test::WriteAesZip(zip, "entry.bin", container, plain.size(),
                        KeyStrengthForPassword(password.size()));
      std::string out;
      const int rc = test::RunCommand(
          "7z x -so -p'" + password + "' '" + zip.string() + "' entry.bin 2>/dev/null", &out);
      EXPECT_EQ(rc, 0);
      EXPECT_EQ(out.size(), plain.size());
      EXPECT_TRUE(out == plain);
    }
  }
}

// --- Layout and edge cases -------------------------------------------------------------------

TEST(Container, EmptyPlainGivesTwentyBytesWithTheCodeOfTheEmptyMessage) {
  const std::string container = EncryptFresh(kBrandPassword, "");
  ASSERT_EQ(container.size(), 20u);
  // The code is the truncated HMAC-SHA1, under the derived authentication key, of no bytes.
  std::vector<std::uint8_t> material(34);
  const std::vector<std::uint8_t> salt(container.begin(), container.begin() + 8);
  ASSERT_TRUE(Pbkdf2HmacSha1(kBrandPassword, salt, 1000, material));
  EXPECT_EQ(container.substr(8, 2), Bytes({material[32], material[33]}));
  HmacSha1 mac;
  ASSERT_TRUE(mac.Init(std::span(material).subspan(16, 16)));
  std::array<std::uint8_t, 20> digest{};
  ASSERT_TRUE(mac.Final(digest));
  EXPECT_EQ(container.substr(10), std::string(digest.begin(), digest.begin() + 10));
  auto d = Decrypt(kBrandPassword, container);
  EXPECT_TRUE(d.Ok);
  EXPECT_EQ(d.Plain, "");
}

// The reference key stream block: AES-128 of the counter block, straight from OpenSSL.
std::string AesBlock(const std::vector<std::uint8_t>& key, std::uint64_t counter) {
  std::uint8_t block[16] = {};
  for (int i = 0; i < 8; ++i) block[i] = static_cast<std::uint8_t>(counter >> (8 * i));
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      &EVP_CIPHER_CTX_free);
  std::uint8_t out[32];
  int n = 0;
  EXPECT_EQ(EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key.data(), nullptr), 1);
  EXPECT_EQ(EVP_CIPHER_CTX_set_padding(ctx.get(), 0), 1);
  EXPECT_EQ(EVP_EncryptUpdate(ctx.get(), out, &n, block, 16), 1);
  return std::string(reinterpret_cast<char*>(out), 16);
}

TEST(Container, KeyStreamIsAesOfLittleEndianCountersFromOne) {
  // With zero plain bytes the encrypted bytes are the key stream itself.
  const std::vector<std::uint8_t> salt(8, 0x11);
  const std::size_t blocks = 258;  // past 255, so the counter's second byte must carry
  const std::string container = Encrypt(kBrandPassword, std::string(16 * blocks, '\0'), salt, 100);
  std::vector<std::uint8_t> material(34);
  ASSERT_TRUE(Pbkdf2HmacSha1(kBrandPassword, salt, 1000, material));
  const std::vector<std::uint8_t> key(material.begin(), material.begin() + 16);
  for (std::uint64_t b : {0u, 1u, 254u, 255u, 256u, 257u}) {
    EXPECT_EQ(ToHex(container.substr(10 + 16 * b, 16)), ToHex(AesBlock(key, b + 1))) << b;
  }
}

TEST(Container, ChunkingDoesNotChangeTheContainer) {
  const std::string plain = Pattern(262144, 7);
  const std::vector<std::uint8_t> salt(8, 0x5a);
  const std::string whole = Encrypt(kBrandPassword, plain, salt, 262144);
  EXPECT_EQ(whole.size(), 262144u + 20);
  for (std::size_t buffer : {1u, 15u, 16u, 17u, 4096u, 100000u, 262143u, 262145u}) {
    EXPECT_EQ(Encrypt(kBrandPassword, plain, salt, buffer), whole) << buffer;
  }
  auto d = Decrypt(kBrandPassword, whole, -1, 333);
  EXPECT_TRUE(d.Ok);
  EXPECT_EQ(d.Plain, plain);
}

TEST(Container, FileOfExactlyOneBufferRoundTripsThroughTheFileRoutines) {
  TempFolder tmp;
  const std::string plain = Pattern(262144, 3);
  WriteFile(tmp / "plain.bin", plain);
  ASSERT_TRUE(EncryptFileToFile(tmp / "plain.bin", tmp / "box.dat").Ok());
  EXPECT_EQ(fs::file_size(tmp / "box.dat"), 262144u + 20);
  ASSERT_TRUE(DecryptFileToFile(tmp / "box.dat", tmp / "back.bin").Ok());
  EXPECT_EQ(ReadFile(tmp / "back.bin"), plain);
}

TEST(Container, EncryptingTwiceGivesDifferentContainersWithTheSamePlainText) {
  const std::string plain = "same text";
  const std::string a = EncryptFresh(kBrandPassword, plain);
  const std::string b = EncryptFresh(kBrandPassword, plain);
  EXPECT_NE(a.substr(0, 8), b.substr(0, 8));
  EXPECT_NE(a, b);
  EXPECT_EQ(Decrypt(kBrandPassword, a).Plain, plain);
  EXPECT_EQ(Decrypt(kBrandPassword, b).Plain, plain);
}

TEST(Container, PasswordLengthChoosesTheKeyStrength) {
  struct Row {
    std::size_t Length;
    int Strength;
    std::size_t Salt;
  };
  const Row rows[] = {{0, 1, 8},   {10, 1, 8},  {31, 1, 8},  {32, 2, 12},
                      {47, 2, 12}, {48, 3, 16}, {128, 3, 16}};
  for (const auto& r : rows) {
    const std::string password(r.Length, 'p');
    TEncryption codec(password, 64);
    EXPECT_EQ(codec.KeyStrength(), r.Strength) << r.Length;
    const std::string container = EncryptFresh(password, "12345");
    EXPECT_EQ(container.size(), r.Salt + 5 + 12) << r.Length;
    EXPECT_EQ(Decrypt(password, container).Plain, "12345") << r.Length;
  }
}

TEST(Container, PasswordsLongerThan128BytesAreRefused) {
  EXPECT_THROW(TEncryption(std::string(129, 'x'), 64), std::invalid_argument);
  EXPECT_THROW(TEncryption("pw", 0), std::invalid_argument);
}

TEST(Container, ChangedDataOrCodeFailsAfterWritingTheFullLength) {
  const std::string plain = Pattern(1000, 9);
  const std::string container = EncryptFresh(kBrandPassword, plain);
  for (std::size_t at : {std::size_t{10}, std::size_t{500}, std::size_t{1009}, std::size_t{1010},
                         container.size() - 1}) {
    std::string damaged = container;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
    auto d = Decrypt(kBrandPassword, damaged);
    EXPECT_FALSE(d.Ok) << at;
    EXPECT_EQ(d.Status, CryptStatus::AuthenticationFailed) << at;
    EXPECT_EQ(d.Plain.size(), plain.size()) << at;
  }
}

TEST(Container, OtherPasswordStopsAtTheHeaderWritingNothing) {
  const std::vector<std::uint8_t> salt = FromHex("0001020304050607");
  const std::string container = Encrypt(kBrandPassword, "secret brand", salt);
  auto d = Decrypt("another password", container);
  EXPECT_FALSE(d.Ok);
  EXPECT_EQ(d.Status, CryptStatus::WrongPassword);
  EXPECT_EQ(d.Plain, "");
}

TEST(Container, ShortContainersFailAtOnceWithoutReading) {
  for (std::size_t n = 0; n < 20; ++n) {
    std::istringstream in(std::string(n, 'x'));
    std::ostringstream out;
    TEncryption codec(kBrandPassword, 64);
    EXPECT_FALSE(codec.DecryptStream(in, out, static_cast<std::int64_t>(n))) << n;
    EXPECT_EQ(codec.LastStatus(), CryptStatus::TooShort);
    EXPECT_EQ(in.tellg(), 0) << n;
    EXPECT_EQ(out.str(), "");
  }
  TEncryption codec(kBrandPassword, 64);
  std::istringstream in("whatever");
  std::ostringstream out;
  EXPECT_FALSE(codec.DecryptStream(in, out, -5));
}

TEST(Container, SourceEndingBeforeTheAnnouncedSizeFailsWithoutWaiting) {
  const std::string container = EncryptFresh(kBrandPassword, Pattern(5000, 2));
  // Cut at every region: inside the salt, the verifier, the data and the code; and a size far
  // beyond anything present, above 4 GiB.
  for (std::size_t keep :
       {std::size_t{3}, std::size_t{9}, std::size_t{11}, std::size_t{3000}, container.size() - 4}) {
    auto d = Decrypt(kBrandPassword, container.substr(0, keep),
                     static_cast<std::int64_t>(container.size()));
    EXPECT_FALSE(d.Ok) << keep;
    EXPECT_EQ(d.Status, CryptStatus::Truncated) << keep;
  }
  auto huge = Decrypt(kBrandPassword, container, std::int64_t{5} << 30, 4096);
  EXPECT_FALSE(huge.Ok);
  EXPECT_EQ(huge.Status, CryptStatus::Truncated);
}

TEST(Container, RandomBytesNeverDecrypt) {
  std::mt19937 rng(42);
  for (int round = 0; round < 200; ++round) {
    const std::size_t n = rng() % 300;
    const std::string junk = Pattern(n, static_cast<unsigned>(round));
    auto d = Decrypt(kBrandPassword, junk);
    EXPECT_FALSE(d.Ok) << round;
  }
}

TEST(Container, StreamsStartAndStopAtTheirPositions) {
  const std::string container = EncryptFresh(kBrandPassword, "payload");
  std::istringstream in("HEAD" + container + "TAIL");
  in.seekg(4);
  std::ostringstream out;
  out << "pre:";
  TEncryption codec(kBrandPassword, 3);
  ASSERT_TRUE(codec.DecryptStream(in, out, static_cast<std::int64_t>(container.size())));
  EXPECT_EQ(out.str(), "pre:payload");
  std::string rest;
  in >> rest;
  EXPECT_EQ(rest, "TAIL");
}

TEST(Container, FailingDestinationGivesFalse) {
  std::istringstream in("data");
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  TEncryption codec(kBrandPassword, 64);
  EXPECT_FALSE(codec.EncryptStream(in, out));
  EXPECT_EQ(codec.LastStatus(), CryptStatus::WriteFailed);
}

// A source of n pseudo-random bytes made on demand, and a sink that checks what it is given
// against the same sequence: the data never exists in memory as a whole.
class GeneratedBuf : public std::streambuf {
 public:
  explicit GeneratedBuf(std::uint64_t n) : left_(n) {}

 protected:
  int_type underflow() override {
    if (left_ == 0) return traits_type::eof();
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left_, sizeof chunk_));
    for (std::size_t i = 0; i < n; ++i) chunk_[i] = static_cast<char>(rng_());
    left_ -= n;
    setg(chunk_, chunk_, chunk_ + n);
    return traits_type::to_int_type(chunk_[0]);
  }

 private:
  std::uint64_t left_;
  std::minstd_rand rng_{5};
  char chunk_[65536];
};

class CheckingBuf : public std::streambuf {
 public:
  std::uint64_t Count = 0;
  bool Same = true;

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) Same = Same && s[i] == static_cast<char>(rng_());
    Count += static_cast<std::uint64_t>(n);
    return n;
  }
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) {
      char ch = traits_type::to_char_type(c);
      xsputn(&ch, 1);
    }
    return c;
  }

 private:
  std::minstd_rand rng_{5};
};

TEST(Container, LargeDataMovesThroughTheWorkBuffer) {
  TempFolder tmp;
  const std::uint64_t size = (24u << 20) + 12345;  // 24 MiB and an odd tail
  {
    GeneratedBuf gen(size);
    std::istream in(&gen);
    std::ofstream out(tmp / "big.dat", std::ios::binary);
    TEncryption codec(kBrandPassword, kFileBufferSize);
    ASSERT_TRUE(codec.EncryptStream(in, out));
  }
  EXPECT_EQ(fs::file_size(tmp / "big.dat"), size + 20);
  std::ifstream in(tmp / "big.dat", std::ios::binary);
  CheckingBuf check;
  std::ostream out(&check);
  TEncryption codec(kBrandPassword, kFileBufferSize);
  EXPECT_TRUE(codec.DecryptStream(in, out, static_cast<std::int64_t>(size + 20)));
  EXPECT_EQ(check.Count, size);
  EXPECT_TRUE(check.Same);
}

// --- Salt generator --------------------------------------------------------------------------

std::size_t CountingEntropy(std::uint8_t* out, std::size_t wanted, std::uint64_t& counter) {
  const std::size_t n = std::min<std::size_t>(8, wanted);
  const std::uint64_t v = counter++;
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
  return n;
}

TEST(SaltPoolTest, SameEntropyGivesTheSameBytesAndOtherEntropyOthers) {
  std::uint64_t c1 = 0, c2 = 0, c3 = 1000;
  SaltPool a([&](std::uint8_t* o, std::size_t w) { return CountingEntropy(o, w, c1); });
  SaltPool b([&](std::uint8_t* o, std::size_t w) { return CountingEntropy(o, w, c2); });
  SaltPool c([&](std::uint8_t* o, std::size_t w) { return CountingEntropy(o, w, c3); });
  std::string x(700, '\0'), y(700, '\0'), z(700, '\0');
  a.Take(reinterpret_cast<std::uint8_t*>(x.data()), x.size());  // crosses two refills
  b.Take(reinterpret_cast<std::uint8_t*>(y.data()), y.size());
  c.Take(reinterpret_cast<std::uint8_t*>(z.data()), z.size());
  EXPECT_EQ(x, y);
  EXPECT_NE(x, z);
  // The output is stirred, not the raw counter: no run of zero bytes from the counter's high end.
  EXPECT_EQ(x.find(std::string(6, '\0')), std::string::npos);
  // Successive salts from one pool differ.
  EXPECT_NE(x.substr(0, 8), x.substr(8, 8));
  EXPECT_NE(x.substr(0, 260), x.substr(260, 260));
}

TEST(SaltPoolTest, SilentEntropySourceDoesNotStall) {
  SaltPool pool([](std::uint8_t*, std::size_t) { return std::size_t{0}; });
  std::uint8_t out[600];
  pool.Take(out, sizeof out);
  SUCCEED();
}

TEST(SaltPoolTest, ClockEntropyDeliversAtMostEightBytes) {
  std::uint8_t out[16] = {};
  EXPECT_EQ(SaltPool::ClockEntropy(out, 16), 8u);
  EXPECT_EQ(SaltPool::ClockEntropy(out, 3), 3u);
  EXPECT_EQ(SaltPool::ClockEntropy(out, 0), 0u);
}

// --- File routines ---------------------------------------------------------------------------

TEST(ContainerFiles, MissingSourceNamesTheFile) {
  TempFolder tmp;
  auto r = EncryptFileToFile(tmp / "absent.txt", tmp / "out.dat");
  EXPECT_EQ(r.Status, CryptStatus::OpenFailed);
  EXPECT_NE(r.Message.find("absent.txt"), std::string::npos);
  EXPECT_FALSE(fs::exists(tmp / "out.dat"));
  auto d = DecryptFileToFile(tmp / "absent.dat", tmp / "out.txt");
  EXPECT_EQ(d.Status, CryptStatus::OpenFailed);
}

TEST(ContainerFiles, UncreatableDestinationIsReported) {
  TempFolder tmp;
  WriteFile(tmp / "plain.txt", "x");
  auto r = EncryptFileToFile(tmp / "plain.txt", tmp / "no-such-folder" / "out.dat");
  EXPECT_EQ(r.Status, CryptStatus::CreateFailed);
  EXPECT_NE(r.Message.find("no-such-folder"), std::string::npos);
}

TEST(ContainerFiles, FailedDecryptionLeavesNoPlainFileAndKeepsAnOldOne) {
  TempFolder tmp;
  WriteFile(tmp / "plain.txt", Pattern(3000, 4));
  ASSERT_TRUE(EncryptFileToFile(tmp / "plain.txt", tmp / "box.dat").Ok());
  std::string box = ReadFile(tmp / "box.dat");
  box[100] ^= 0x40;
  WriteFile(tmp / "box.dat", box);

  auto r = DecryptFileToFile(tmp / "box.dat", tmp / "out.txt");
  EXPECT_EQ(r.Status, CryptStatus::AuthenticationFailed);
  EXPECT_NE(r.Message.find("box.dat"), std::string::npos);
  EXPECT_FALSE(fs::exists(tmp / "out.txt"));

  WriteFile(tmp / "out.txt", "previous");
  EXPECT_FALSE(DecryptFileToFile(tmp / "box.dat", tmp / "out.txt").Ok());
  EXPECT_EQ(ReadFile(tmp / "out.txt"), "previous");
  EXPECT_EQ(test::ListFolder(tmp.Path()),
            (std::vector<std::string>{"box.dat", "out.txt", "plain.txt"}));
}

TEST(ContainerFiles, EmptyContainerFileFailsAsTooShort) {
  TempFolder tmp;
  WriteFile(tmp / "empty.dat", "");
  EXPECT_EQ(DecryptFileToFile(tmp / "empty.dat", tmp / "out.txt").Status, CryptStatus::TooShort);
  EXPECT_FALSE(fs::exists(tmp / "out.txt"));
}

TEST(ContainerFiles, DecryptToStringRefusesContainersAboveTheLimit) {
  TempFolder tmp;
  WriteFile(tmp / "plain.txt", std::string(1000, 'a'));
  ASSERT_TRUE(EncryptFileToFile(tmp / "plain.txt", tmp / "box.dat").Ok());
  std::string plain;
  EXPECT_EQ(DecryptFileToString(tmp / "box.dat", kBrandPassword, 999, plain).Status,
            CryptStatus::TooLarge);
  EXPECT_TRUE(DecryptFileToString(tmp / "box.dat", kBrandPassword, 1000, plain).Ok());
  EXPECT_EQ(plain, std::string(1000, 'a'));
}

// A full disk, simulated with the file size limit (which binds root as well): the old container
// stays whole and no temporary file is left.
TEST(ContainerFiles, FullDiskKeepsTheOldContainer) {
  TempFolder tmp;
  ASSERT_TRUE(EncryptStringToFile("old settings", tmp / "box.dat", kBrandPassword).Ok());
  const std::string before = ReadFile(tmp / "box.dat");

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  auto r = EncryptStringToFile(std::string(100000, 'n'), tmp / "box.dat", kBrandPassword);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(r.Ok());
  EXPECT_NE(r.Message.find("box.dat"), std::string::npos);
  EXPECT_EQ(ReadFile(tmp / "box.dat"), before);
  EXPECT_EQ(test::ListFolder(tmp.Path()), std::vector<std::string>{"box.dat"});
}

TEST(ContainerFiles, ReplacementGoesThroughATemporaryFileBeside) {
  TempFolder tmp;
  // A folder in the way of the temporary name makes the creation fail before the target is
  // touched.
  WriteFile(tmp / "box.dat", "keep me");
  fs::create_directory(TemporaryPathFor(tmp / "box.dat"));
  auto r = EncryptStringToFile("new", tmp / "box.dat", kBrandPassword);
  EXPECT_EQ(r.Status, CryptStatus::CreateFailed);
  EXPECT_EQ(ReadFile(tmp / "box.dat"), "keep me");
}

}  // namespace
}  // namespace vellora
