#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "CompareTool.h"

namespace {

namespace fs = std::filesystem;

class CompareTool : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vellora-compare-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return vellora::RunCompareTool(args, out_, err_);
  }

  fs::path dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(CompareTool, TextReportShowsCountsShareAndKeyword) {
  const auto a = Write("a.txt", "The quick brown fox jumps over the lazy dog.");
  const auto b = Write("b.txt", "A quick brown fox jumps over a lazy dog.");
  ASSERT_EQ(Run({"--min", "3", "--keyword", " lazy ", a, b}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "Article 1: 9 words, 1 sentences, 1 paragraphs\n"
            "Article 2: 9 words, 1 sentences, 1 paragraphs\n"
            "Duplicate Content: 78 %\n"
            "Duplicate Content of Article 1: 78 %\n"
            "Shared blocks: 2\n"
            "Keyword phrase: lazy\n"
            "  Article 1: 1 occurrences, density 11.11 %\n"
            "  Article 2: 1 occurrences, density 11.11 %\n");
  EXPECT_EQ(err_.str(), "");
}

TEST_F(CompareTool, JsonListsEveryWordWithItsColour) {
  const auto a = Write("a.txt", "b a");
  const auto b = Write("b.txt", "a b");
  ASSERT_EQ(Run({"--json", "--keyword", "A", a, b}), 0) << err_.str();
  EXPECT_EQ(out_.str(),
            "{\"article1\": {\"words\": 2, \"sentences\": 1, \"paragraphs\": 1, \"spans\": "
            "[[1, 2, 16776960], [3, 4, 12639424]]}, "
            "\"article2\": {\"words\": 2, \"sentences\": 1, \"paragraphs\": 1, \"spans\": "
            "[[1, 2, 12639424], [3, 4, 16776960]]}, "
            "\"duplicate_percent\": 100, \"duplicate_shown\": 100, "
            "\"duplicate_percent_article1\": 100, \"duplicate_shown_article1\": 100, "
            "\"keyword\": {\"text\": \"A\", \"article1\": {\"count\": 1, \"density\": 50.00}, "
            "\"article2\": {\"count\": 1, \"density\": 50.00}}, \"match\": \"in-order\", "
            "\"blocks\": [{\"color\": 16776960, \"article1\": [0, 0], \"article2\": [1, 1]}, "
            "{\"color\": 12639424, \"article1\": [1, 1], \"article2\": [0, 0]}]}\n");
}

TEST_F(CompareTool, JsonGivesTheExactShare) {
  const auto a = Write("a.txt", "x a b");
  const auto b = Write("b.txt", "a b c");
  ASSERT_EQ(Run({"--json", a, b}), 0);
  EXPECT_NE(out_.str().find("\"duplicate_percent\": 66.66666666666667, \"duplicate_shown\": 67"),
            std::string::npos)
      << out_.str();
}

TEST_F(CompareTool, BlankArticleIsNotCompared) {
  const auto a = Write("a.txt", " \r\n\t ");
  const auto b = Write("b.txt", "some words");
  ASSERT_EQ(Run({"--json", a, b}), 0);
  EXPECT_NE(out_.str().find("\"duplicate_percent\": null, \"duplicate_shown\": null"),
            std::string::npos);
  EXPECT_NE(out_.str().find("[1, 5, 16777215], [6, 11, 16777215]"), std::string::npos)
      << out_.str();
  ASSERT_EQ(Run({a, b}), 0);
  EXPECT_NE(out_.str().find("Duplicate Content: not compared"), std::string::npos);
}

TEST_F(CompareTool, FilesAreReadAsAPaneHoldsThem) {
  // CR LF and a lone CR count one unit each; Windows-1252 bytes and a BOM are understood, and
  // the three normalised characters become their ASCII twins.
  const auto crlf = Write("crlf.txt", "it\x92s one\r\ntwo\rthree");
  const auto utf8 = Write("utf8.txt", "\xEF\xBB\xBFit\xE2\x80\x99s one\ntwo\nthree");
  ASSERT_EQ(Run({"--json", crlf, utf8}), 0);
  const std::string spans =
      "[[1, 5, 16776960], [6, 9, 16776960], [10, 13, 16776960], [14, 19, 16776960]]";
  const std::string json = out_.str();
  const auto first = json.find(spans);
  ASSERT_NE(first, std::string::npos) << json;
  EXPECT_NE(json.find(spans, first + 1), std::string::npos) << "both articles hold the same words\n"
                                                            << json;
  EXPECT_NE(out_.str().find("\"duplicate_shown\": 100"), std::string::npos);
}

TEST_F(CompareTool, UnitsAndMinimumAreHonoured) {
  const auto a = Write("a.txt", "Hello world. Second sentence here. Third one.");
  const auto b = Write("b.txt", "Third one. Hello world. Something else.");
  ASSERT_EQ(Run({"--unit", "sentences", "--min=1", a, b}), 0);
  EXPECT_NE(out_.str().find("Duplicate Content: 33 %"), std::string::npos) << out_.str();
  ASSERT_EQ(Run({"--unit=paragraphs", "--min", "-2", a, b}), 0) << "negative minimum acts as 1";
  EXPECT_NE(out_.str().find("Duplicate Content: 0 %"), std::string::npos) << out_.str();
  ASSERT_EQ(Run({"--min", "0", a, a}), 0);
  EXPECT_NE(out_.str().find("Duplicate Content: 0 %"), std::string::npos);
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};
void PrintTo(const UsageCase& c, std::ostream* os) {
  *os << c.name;
}

class CompareToolUsage : public CompareTool, public testing::WithParamInterface<UsageCase> {};

TEST_P(CompareToolUsage, BadCommandLineGivesUsageAndExitTwo) {
  const auto a = Write("a.txt", "x");
  std::vector<std::string> args = GetParam().args;
  for (std::string& arg : args) {
    if (arg == "FILE") arg = a;
  }
  EXPECT_EQ(Run(args), 2);
  EXPECT_NE(err_.str().find("usage: vellora-compare"), std::string::npos) << err_.str();
  EXPECT_EQ(out_.str(), "");
}

INSTANTIATE_TEST_SUITE_P(
    CompareTool, CompareToolUsage,
    testing::Values(
        UsageCase{"UnknownOption", {"--fast", "FILE", "FILE"}},
        UsageCase{"MinimumNotANumber", {"--min", "three", "FILE", "FILE"}},
        UsageCase{"MinimumWithFraction", {"--min", "1.5", "FILE", "FILE"}},
        UsageCase{"MinimumEmpty", {"--min=", "FILE", "FILE"}},
        UsageCase{"MinimumTooLarge", {"--min", "99999999999", "FILE", "FILE"}},
        UsageCase{"MinimumMissing", {"FILE", "FILE", "--min"}},
        UsageCase{"BadUnit", {"--unit", "letters", "FILE", "FILE"}}, UsageCase{"OneFile", {"FILE"}},
        UsageCase{"ThreeFiles", {"FILE", "FILE", "FILE"}},
        UsageCase{"JsonTakesNoValue", {"--json=yes", "FILE", "FILE"}},
        UsageCase{"BadMatch", {"--match", "fuzzy", "FILE", "FILE"}},
        UsageCase{"GapWithoutAnywhere", {"--gap", "1", "FILE", "FILE"}},
        UsageCase{"GapInOrder", {"--match=in-order", "--gap=0", "FILE", "FILE"}},
        UsageCase{"NegativeGap", {"--match", "anywhere", "--gap", "-1", "FILE", "FILE"}},
        UsageCase{"GapNotANumber", {"--match", "anywhere", "--gap", "x", "FILE", "FILE"}}),
    [](const testing::TestParamInfo<UsageCase>& info) { return info.param.name; });

TEST_F(CompareTool, AnywhereFindsMovedPassagesWithBlocksAndBothShares) {
  const auto a = Write("a.txt", "one two three four. five six seven eight.");
  const auto b = Write("b.txt", "five six seven eight, and then one two three four. extra");
  ASSERT_EQ(Run({"--match", "anywhere", "--min", "3", "--json", a, b}), 0) << err_.str();
  const std::string json = out_.str();
  EXPECT_NE(json.find("\"duplicate_percent\": 72.72727272727273, \"duplicate_shown\": 73, "
                      "\"duplicate_percent_article1\": 100, \"duplicate_shown_article1\": 100"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"match\": \"anywhere\", \"blocks\": ["
                      "{\"color\": 16776960, \"article1\": [4, 7], \"article2\": [0, 3]}, "
                      "{\"color\": 12639424, \"article1\": [0, 3], \"article2\": [6, 9]}]}"),
            std::string::npos)
      << json;

  // In order, the walk wraps round to the start of Article 2 and continues its one block there.
  ASSERT_EQ(Run({"--min", "3", a, b}), 0);
  EXPECT_NE(out_.str().find("Duplicate Content: 73 %\nDuplicate Content of Article 1: 100 %\n"
                            "Shared blocks: 1\n"),
            std::string::npos)
      << out_.str();

  ASSERT_EQ(Run({"--match", "anywhere", "--min", "3", a, b}), 0);
  EXPECT_NE(out_.str().find("Duplicate Content: 73 %\nDuplicate Content of Article 1: 100 %\n"
                            "Shared blocks: 2\n"),
            std::string::npos)
      << out_.str();
}

TEST_F(CompareTool, GapJoinsPassagesIntoOneBlock) {
  const auto a = Write("a.txt", "a b c d x e f g h");
  const auto b = Write("b.txt", "a b c d y e f g h");
  ASSERT_EQ(Run({"--match=anywhere", "--min", "4", "--json", a, b}), 0);
  EXPECT_NE(out_.str().find("\"blocks\": [{\"color\": 16776960, \"article1\": [0, 3], "
                            "\"article2\": [0, 3]}, {\"color\": 12639424, \"article1\": [5, 8], "
                            "\"article2\": [5, 8]}]"),
            std::string::npos)
      << out_.str();
  ASSERT_EQ(Run({"--match=anywhere", "--gap", "1", "--min", "4", "--json", a, b}), 0);
  EXPECT_NE(out_.str().find("\"blocks\": [{\"color\": 16776960, \"article1\": [0, 8], "
                            "\"article2\": [0, 8]}]"),
            std::string::npos)
      << out_.str();
}

TEST_F(CompareTool, HelpPrintsUsageAndSucceeds) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out_.str().find("usage: vellora-compare"), std::string::npos);
}

TEST_F(CompareTool, UnreadableFilesAreNamedWithExitOne) {
  const auto a = Write("a.txt", "x");
  const std::string missing = (dir_ / "missing.txt").string();
  EXPECT_EQ(Run({a, missing}), 1);
  EXPECT_NE(err_.str().find("\"" + missing + "\""), std::string::npos) << err_.str();
  EXPECT_EQ(out_.str(), "");

  EXPECT_EQ(Run({dir_.string(), a}), 1);
  EXPECT_NE(err_.str().find("folder"), std::string::npos) << err_.str();
}

TEST_F(CompareTool, OversizedFileIsRefusedWithoutReadingIt) {
  const auto a = Write("a.txt", "x");
  const fs::path huge = dir_ / "huge.txt";
  std::ofstream(huge).put('x');
  fs::resize_file(huge, vellora::kMaxArticleFileBytes + 1);  // sparse: costs no disk
  EXPECT_EQ(Run({a, huge.string()}), 1);
  EXPECT_NE(err_.str().find("larger than 256 MB"), std::string::npos) << err_.str();
}

TEST_F(CompareTool, BinaryInputIsComparedLikeAnyText) {
  std::mt19937 rng(5);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(static_cast<std::size_t>(rng() % 20000), '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    const auto a = Write("bin1", bytes);
    const auto b = Write("bin2", bytes.substr(bytes.size() / 3));
    EXPECT_EQ(Run({"--json", "--keyword", "\x01", a, b}), 0) << err_.str();
    EXPECT_EQ(out_.str().back(), '\n');
  }
}

}  // namespace
