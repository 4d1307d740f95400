// The skin file: a zlib-compressed style sheet, inflated within fixed bounds.
#include <gtest/gtest.h>
#include <zlib.h>

#include "SkinFile.h"
#include "TestSupport.h"

namespace vellora {
namespace {

using test::TempFolder;
using test::WriteFile;

std::string Gzip(const std::string& text) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(compressBound(static_cast<uLong>(text.size())) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

TEST(SkinFileTest, InflatesAStyleSheet) {
  const std::string sheet = "QMainWindow { background: #202020; }\nQLabel { color: white; }\n";
  EXPECT_EQ(InflateSkin(DeflateSkin(sheet)), sheet);
  EXPECT_EQ(InflateSkin(Gzip(sheet)), sheet);
}

TEST(SkinFileTest, TruncatedOrDamagedDataGivesNothing) {
  const std::string packed = DeflateSkin(std::string(5000, 'x') + "QWidget {}");
  EXPECT_FALSE(InflateSkin(packed.substr(0, packed.size() / 2)).has_value());
  EXPECT_FALSE(InflateSkin(packed.substr(0, packed.size() - 1)).has_value());
  std::string damaged = packed;
  damaged[packed.size() / 2] ^= 0x55;
  EXPECT_FALSE(InflateSkin(damaged).has_value());
  EXPECT_FALSE(InflateSkin("").has_value());
  EXPECT_FALSE(InflateSkin("QWidget { color: red; }").has_value());  // not compressed
}

TEST(SkinFileTest, ZipBombIsRefusedAtTheCap) {
  const std::string bomb = DeflateSkin(std::string(64u << 20, ' '));  // 64 MiB of blanks
  EXPECT_LT(bomb.size(), 200000u);
  EXPECT_FALSE(InflateSkin(bomb).has_value());
  EXPECT_FALSE(InflateSkin(DeflateSkin(std::string(1001, 'a')), 1000).has_value());
  EXPECT_TRUE(InflateSkin(DeflateSkin(std::string(1000, 'a')), 1000).has_value());
}

TEST(SkinFileTest, BinaryContentIsNotASkin) {
  EXPECT_FALSE(InflateSkin(DeflateSkin(std::string("QWidget {\0}", 11))).has_value());
  EXPECT_FALSE(InflateSkin(DeflateSkin("caf\xC3")).has_value());  // broken UTF-8
  EXPECT_TRUE(InflateSkin(DeflateSkin("/* caf\xC3\xA9 */")).has_value());
}

TEST(SkinFileTest, FilesAreReadWithinTheirLimit) {
  TempFolder dir;
  WriteFile(dir / "skin.dat", DeflateSkin("QWidget {}"));
  EXPECT_EQ(LoadSkinFile(dir / "skin.dat"), "QWidget {}");
  EXPECT_FALSE(LoadSkinFile(dir / "absent.dat").has_value());
  WriteFile(dir / "empty.dat", "");
  EXPECT_FALSE(LoadSkinFile(dir / "empty.dat").has_value());
  std::filesystem::create_directory(dir / "folder.dat");
  EXPECT_FALSE(LoadSkinFile(dir / "folder.dat").has_value());
}

}  // namespace
}  // namespace vellora
