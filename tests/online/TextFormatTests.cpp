// The pure text formats of the online services: multipart bodies, INI texts, version numbers,
// news addresses, reply trimming and parsing, error codes and news ids.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "IniText.h"
#include "LiveUpdate.h"
#include "Multipart.h"
#include "NewsCommands.h"
#include "NewsService.h"
#include "OnlineFixture.h"

namespace vellora::test {
namespace {

TEST(Multipart, BodyHasOnlyTheDispositionHeaderPerPart) {
  const std::string body = BuildMultipartBody({{"a", "1"}, {"b", ""}}, "XYZ");
  EXPECT_EQ(body,
            "--XYZ\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n"
            "--XYZ\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\n\r\n"
            "--XYZ--\r\n");
  EXPECT_EQ(MultipartContentType("XYZ"), "multipart/form-data; boundary=XYZ");
}

TEST(Multipart, BoundaryNeverOccursInAValue) {
  const std::string boundary = MakeBoundary({{"x", "abc"}});
  std::vector<FormField> fields{{"x", "--" + boundary + "\r\n"}};
  const std::string other = MakeBoundary(fields);
  EXPECT_EQ(fields[0].Value.find(other), std::string::npos);
  EXPECT_GE(other.size(), 20u);
}

struct IniCase {
  const char* name;
  std::string text;
  std::string version;
};

class IniVersion : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniVersion, ReadsTheVersionOfApplication) {
  EXPECT_EQ(ReadIniValue(GetParam().text, "APPLICATION", "Version"), GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniVersion,
    ::testing::Values(
        IniCase{"Plain", "[APPLICATION]\r\nName=Vellora\r\nVersion=2.1\r\n", "2.1"},
        IniCase{"NamesInOtherCase", "[application]\nname=V\nVERSION=3\n", "3"},
        IniCase{"BlanksAroundKeyAndValue", "[ Application ]\n  Version =  2.10 \t\n", "2.10"},
        IniCase{"CarriageReturnsOnly", "[APPLICATION]\rVersion=4.5\r", "4.5"},
        IniCase{"ByteOrderMark", "\xEF\xBB\xBF[APPLICATION]\nVersion=2.2", "2.2"},
        IniCase{"OtherSectionFirst", "[OTHER]\nVersion=9\n[APPLICATION]\nVersion=2.3\n", "2.3"},
        IniCase{"KeyInOtherSectionOnly", "[APPLICATION]\nName=x\n[OTHER]\nVersion=9\n", ""},
        IniCase{"FirstKeyCounts", "[APPLICATION]\nVersion=5\nVersion=6\n", "5"},
        IniCase{"CommentLine", "[APPLICATION]\n;Version=7\nVersion=8\n", "8"},
        IniCase{"NoSection", "Version=2.5\n", ""},
        IniCase{"AbsentKey", "[APPLICATION]\nName=Vellora\n", ""}, IniCase{"EmptyText", "", ""},
        IniCase{"HtmlPage", "<html><body>[APPLICATION] Version=9</body></html>", ""},
        IniCase{"UnclosedSection", "[APPLICATION\nVersion=9\n", ""},
        IniCase{"LineWithoutEquals", "[APPLICATION]\nVersion 9\n", ""},
        IniCase{"BinaryBytes", std::string("\0\xFF[APP\0LICATION]\n\x01=\x02", 20), ""},
        IniCase{"NulInsideValue", std::string("[APPLICATION]\nVersion=2.5\0x\n", 28),
                std::string("2.5\0x", 5)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, OversizedMissingAndRegressionFilesReadAsEmpty) {
  QTemporaryDir dir;
  const std::filesystem::path folder(dir.path().toStdString());
  const std::filesystem::path big = folder / "big.inf";
  WriteWholeFile(big, "[APPLICATION]\nVersion=9\n" + std::string(kMaxIniFileSize, ';'));
  EXPECT_EQ(ReadIniFileValue(big, "APPLICATION", "Version"), "");
  EXPECT_EQ(ReadIniFileValue(folder / "absent.inf", "APPLICATION", "Version"), "");
  EXPECT_EQ(ReadIniFileValue(folder, "APPLICATION", "Version"), "");  // a folder
  const std::filesystem::path small = folder / "small.inf";
  WriteWholeFile(small, "[APPLICATION]\nVersion=9\n");
  EXPECT_EQ(ReadIniFileValue(small, "APPLICATION", "Version"), "9");
  const std::filesystem::path data(VELLORA_ONLINE_TEST_DATA);
  EXPECT_EQ(ReadIniFileValue(data / "garbage.inf", "APPLICATION", "Version"), "");
  EXPECT_EQ(ReadIniFileValue(data / "mixed-line-ends.inf", "APPLICATION", "Version"), "2.5");
}

struct VersionCase {
  const char* text;
  bool offered;
};

class UpdateVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(UpdateVersion, OfferedOnlyAboveTwoAsThirtyTwoBitNumbers) {
  EXPECT_EQ(IsNewerVersion(GetParam().text), GetParam().offered) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UpdateVersion,
    ::testing::Values(
        VersionCase{"2.0", false}, VersionCase{"2", false}, VersionCase{"2.01", true},
        VersionCase{"10", true}, VersionCase{"2.0.1", false}, VersionCase{"2.0000001", false},
        VersionCase{"2.0000002", true}, VersionCase{"", false}, VersionCase{"abc", false},
        VersionCase{"1.9", false}, VersionCase{"-3", false}, VersionCase{"+2.5", true},
        VersionCase{"2,5", false}, VersionCase{"2.5 beta", false}, VersionCase{"inf", false},
        VersionCase{"nan", false}, VersionCase{"0x10", false}, VersionCase{"1e1", true},
        VersionCase{"1e", false}, VersionCase{"1e999", false}, VersionCase{".", false},
        VersionCase{"2.10", true}, VersionCase{" 3", false}));

TEST(VersionNumber, ConvertsToThirtyTwoBits) {
  EXPECT_EQ(VersionNumber("2.0000001"), 2.0f);
  EXPECT_GT(VersionNumber("2.0000002"), 2.0f);
  EXPECT_EQ(VersionNumber("2.10"), 2.1f);
  EXPECT_EQ(VersionNumber("2.0.1"), 0.0f);
}

TEST(NewsAddress, TrailingSlashMakesNoDifference) {
  EXPECT_EQ(NewsScriptAddress("http://news.example/svc", kListScript),
            "http://news.example/svc/getlastnews.php");
  EXPECT_EQ(NewsScriptAddress("http://news.example/svc/", kListScript),
            "http://news.example/svc/getlastnews.php");
  EXPECT_EQ(NewsScriptAddress("http://news.example/svc", kDetailsScript),
            "http://news.example/svc/getnewsdetails.php");
  EXPECT_EQ(NewsScriptAddress("", kListScript), "/getlastnews.php");
}

struct LevelCase {
  const char* type;
  const char* productType;  // empty: no active level
};

class NewsLevelRule : public ::testing::TestWithParam<LevelCase> {};

TEST_P(NewsLevelRule, ExactTypeWithPublisherIdIsActive) {
  BrandSettingsRecord brand;
  brand.BranderType = GetParam().type;
  brand.MasterPublID = "m";
  brand.PlatinumPublID = "p";
  brand.GoldPublID = "g";
  const auto level = ActiveNewsLevel(brand);
  if (std::string(GetParam().productType).empty()) {
    EXPECT_FALSE(level.has_value());
  } else {
    ASSERT_TRUE(level.has_value());
    EXPECT_EQ(level->ProductType, GetParam().productType);
  }
}

INSTANTIATE_TEST_SUITE_P(Types, NewsLevelRule,
                         ::testing::Values(LevelCase{"Master", "BM"}, LevelCase{"Platinum", "BP"},
                                           LevelCase{"Gold", "BG"}, LevelCase{"Free", ""},
                                           LevelCase{"master", ""}, LevelCase{"GOLD", ""},
                                           LevelCase{"", ""}, LevelCase{"Master ", ""}));

TEST(NewsLevel, EmptyPublisherIdMeansNoLevel) {
  BrandSettingsRecord brand;
  brand.BranderType = "Gold";
  brand.GoldNewsBaseURL = "http://x/";
  EXPECT_FALSE(ActiveNewsLevel(brand).has_value());
  brand.GoldPublID = "g1";
  const auto level = ActiveNewsLevel(brand);
  ASSERT_TRUE(level.has_value());
  EXPECT_EQ(level->PublisherId, "g1");
  EXPECT_EQ(level->BaseURL, "http://x/");
}

TEST(NewsReply, TrimRemovesControlBytesAndBlanksOnly) {
  EXPECT_EQ(TrimReply(" \t\r\n INVALIDUSER\r\n"), "INVALIDUSER");
  EXPECT_EQ(TrimReply(std::string("\0\x1F"
                                  "a b\x20",
                                  6)),
            "a b");
  EXPECT_EQ(TrimReply("\xAF"
                      "OK\xAF"),
            "\xAF"
            "OK\xAF");  // 0xAF is above 32
  EXPECT_EQ(TrimReply("\xA0x\xFF"), "\xA0x\xFF");
  EXPECT_EQ(TrimReply("   "), "");
}

struct RecordsCase {
  const char* name;
  std::string reply;
  std::vector<std::string> records;
};

class NewsListReply : public ::testing::TestWithParam<RecordsCase> {};

TEST_P(NewsListReply, RecordsBetweenMarks) {
  EXPECT_EQ(NewsRecords(GetParam().reply), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Replies, NewsListReply,
                         ::testing::Values(RecordsCase{"OkAlone", "OK", {}},
                                           RecordsCase{"MarkAndOk",
                                                       "\xAF"
                                                       "OK",
                                                       {}},
                                           RecordsCase{"TwoRecords",
                                                       "1^A^May\xAF"
                                                       "2^B^June\xAF"
                                                       "OK",
                                                       {"1^A^May", "2^B^June"}},
                                           RecordsCase{"EmptyPieceBetweenMarks",
                                                       "1^A^x\xAF\xAF"
                                                       "2^B^y\xAF"
                                                       "OK",
                                                       {"1^A^x", "2^B^y"}},
                                           RecordsCase{"OkPieceInTheMiddle",
                                                       "1^A^x\xAF"
                                                       "OK\xAF"
                                                       "2^B^y\xAF"
                                                       "OK",
                                                       {"1^A^x", "2^B^y"}},
                                           RecordsCase{"TitleHoldingOk",
                                                       "3^OK then^z\xAF"
                                                       "OK",
                                                       {"3^OK then^z"}},
                                           RecordsCase{"HighBytesKept",
                                                       "4^Caf\xE9 \x80^d\xAF"
                                                       "OK",
                                                       {"4^Caf\xE9 \x80^d"}},
                                           RecordsCase{"NoFinalMark",
                                                       "5^t^p\xAF"
                                                       "OK\xAF"
                                                       "6^u^q",
                                                       {"5^t^p", "6^u^q"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NewsReply, RemoveRecordEndsTakesEveryMarkAndOk) {
  EXPECT_EQ(RemoveRecordEnds("17^Hi\xAF"
                             "OK"),
            "17^Hi");
  EXPECT_EQ(RemoveRecordEnds("a\xAF"
                             "OKb\xAF"
                             "OK"),
            "ab");
  EXPECT_EQ(RemoveRecordEnds("OK"), "OK");
  EXPECT_EQ(RemoveRecordEnds("\xAF\xAF"
                             "OK"),
            "\xAF");
  EXPECT_EQ(RemoveRecordEnds("\xAF"
                             "O"),
            "\xAF"
            "O");
}

struct ErrorCase {
  const char* reply;
  NewsRequest request;
  const char* message;
};

class NewsErrorCodes : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(NewsErrorCodes, MessagePerCodeAndRequest) {
  EXPECT_EQ(NewsErrorMessage(GetParam().request, GetParam().reply), GetParam().message);
}

constexpr NewsRequest kList = NewsRequest::List;
constexpr NewsRequest kCode = NewsRequest::LastCode;
constexpr NewsRequest kDetails = NewsRequest::Details;

INSTANTIATE_TEST_SUITE_P(
    Codes, NewsErrorCodes,
    ::testing::Values(ErrorCase{"", kList, kNewsSiteTroubleMessage},
                      ErrorCase{"", kCode, kNewsSiteTroubleMessage},
                      ErrorCase{"", kDetails, kNewsSiteTroubleMessage},
                      ErrorCase{"CONNECTIONFAIL", kList, kNewsSettingsTroubleMessage},
                      ErrorCase{"INVALIDUSER", kCode, kPublisherTroubleMessage},
                      ErrorCase{"INVALIDPRODUCT", kDetails, kProductTroubleMessage},
                      ErrorCase{"INVALIDNEWS", kDetails, kNewsTroubleMessage},
                      ErrorCase{"INVALIDNEWS", kList, ""}, ErrorCase{"INVALIDNEWS", kCode, ""},
                      ErrorCase{"invaliduser", kList, ""},
                      ErrorCase{"SOMETHING ELSE", kDetails, ""},
                      ErrorCase{"INVALIDUSER ", kList, ""}));

struct IdCase {
  const char* text;
  std::int32_t value;
};

class NewsIdText : public ::testing::TestWithParam<IdCase> {};

TEST_P(NewsIdText, IntegerOrZero) {
  EXPECT_EQ(NewsIdValue(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, NewsIdText,
                         ::testing::Values(IdCase{"", 0}, IdCase{"17", 17}, IdCase{"-4", -4},
                                           IdCase{"+8", 8}, IdCase{"abc", 0}, IdCase{"12a", 0},
                                           IdCase{" 5", 0}, IdCase{"2147483647", 2147483647},
                                           IdCase{"2147483648", 0}, IdCase{"+-1", 0},
                                           IdCase{"-2147483648", -2147483647 - 1}));

}  // namespace
}  // namespace vellora::test
