// Real documents written by pandoc (tests/data/import/make-samples.sh) read on both routes.
#include <gtest/gtest.h>

#include "DocumentImport.h"
#include "ImportTestFiles.h"
#include "UPlainText.h"

namespace vellora {
namespace {

class ThreeParagraphs : public ::testing::TestWithParam<const char*> {};

TEST_P(ThreeParagraphs, ArriveAsThreeLinesOnTheWordRoute) {
  const ImportResult result = ImportDocument(test::SamplePath(GetParam()), ImportRoute::Word);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "First paragraph.\nSecond paragraph.\nThird paragraph.");
  EXPECT_TRUE(result.Document.Runs.empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, ThreeParagraphs,
                         ::testing::Values("three.docx", "three.odt", "three.rtf"));

TEST(SampleDocuments, ThreeParagraphRtfArrivesAsThreeLinesOnThePlainRoute) {
  const ImportResult result = ImportDocument(test::SamplePath("three.rtf"), ImportRoute::Plain);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), "First paragraph.\nSecond paragraph.\nThird paragraph.");
  ASSERT_FALSE(result.Document.Runs.empty());
}

// The same Markdown source in three formats; each format lays out tables and lists its own way.
struct FeatureCase {
  const char* file;
  const char* expected;
};

void PrintTo(const FeatureCase& c, std::ostream* os) {
  *os << c.file;
}

class FeatureSample : public ::testing::TestWithParam<FeatureCase> {};

TEST_P(FeatureSample, KeepsTabsLineBreaksTablesListsAndNonAsciiText) {
  const ImportResult result = ImportDocument(test::SamplePath(GetParam().file), ImportRoute::Word);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ToUtf8(result.Document.Text), GetParam().expected);
}

#define FEATURE_HEAD                                    \
  "Before\tafter tab.\n"                                \
  "Line one\nline two.\n"                               \
  "Bold words and italic words and underlined words.\n" \
  "Caf\u00e9 na\u00efve \u2014 \u20ac5 \u4e2d\u6587.\n"

INSTANTIATE_TEST_SUITE_P(
    Formats, FeatureSample,
    ::testing::Values(
        FeatureCase{"features.docx", FEATURE_HEAD "Name\nValue\nalpha\none\nbeta\ntwo\n"
                                                  "first item\nsecond item\nLast line."},
        FeatureCase{"features.odt", FEATURE_HEAD "Name\nValue\nalpha\none\nbeta\ntwo\n"
                                                 "first item\nsecond item\nLast line."},
        // The RTF writer adds an empty paragraph after the table and writes the bullets out.
        FeatureCase{"features.rtf", FEATURE_HEAD "Name\nValue\nalpha\none\nbeta\ntwo\n\n"
                                                 "\u2022\tfirst item\n\u2022\tsecond item\n"
                                                 "Last line."}));

}  // namespace
}  // namespace vellora
