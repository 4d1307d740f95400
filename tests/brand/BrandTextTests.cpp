// The tagged settings text: lines, tag search and the loader's fixed reading order.
#include <gtest/gtest.h>

#include "BrandText.h"

namespace vellora {
namespace {

std::string Field(const std::string& name, const std::string& value) {
  return OpeningTag(name) + value + ClosingTag(name) + "\r\n";
}

TEST(SettingsLines, AnyLineEndBecomesCrLfAfterEveryLine) {
  EXPECT_EQ(NormalizeSettingsText("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(NormalizeSettingsText("a\r\n"), "a\r\n");
  EXPECT_EQ(NormalizeSettingsText("\n\n"), "\r\n\r\n");
  EXPECT_EQ(NormalizeSettingsText(""), "");
  EXPECT_EQ(NormalizeSettingsText("\r\r\n"), "\r\n\r\n");
}

TEST(SettingsLines, SplitKeepsEmptyLinesAndBinaryBytes) {
  EXPECT_EQ(SplitSettingsLines(std::string("x\0y\n\nz", 6)),
            (std::vector<std::string>{std::string("x\0y", 3), "", "z"}));
}

TEST(FindIgnoringCaseTest, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(FindIgnoringCase("xx<%%APPLICATIONname%%>", "<%%ApplicationName%%>"), 2u);
  EXPECT_EQ(FindIgnoringCase("\xC9", "\xE9"), std::string::npos);
  EXPECT_EQ(FindIgnoringCase("abc", "abcd"), std::string::npos);
  EXPECT_EQ(FindIgnoringCase("abcabc", "ABC", 1), 3u);
  EXPECT_EQ(FindIgnoringCase("abc", "c", 5), std::string::npos);
}

TEST(ExtractTagValueTest, CutsTheTextToStartAtTheClosingTag) {
  std::string text = "pre<%%A%%>value<%%/A%%>post";
  EXPECT_EQ(ExtractTagValue("<%%A%%>", "<%%/A%%>", text), "value");
  EXPECT_EQ(text, "<%%/A%%>post");
}

TEST(ExtractTagValueTest, AbsentTagLeavesTheTextAlone) {
  std::string text = "nothing here";
  EXPECT_EQ(ExtractTagValue("<%%A%%>", "<%%/A%%>", text), "");
  EXPECT_EQ(text, "nothing here");
}

TEST(ExtractTagValueTest, MissingClosingTagGivesEmptyAndResumesAfterTheOpeningTag) {
  std::string text = "<%%A%%>dangling <%%B%%>b<%%/B%%>";
  EXPECT_EQ(ExtractTagValue("<%%A%%>", "<%%/A%%>", text), "");
  EXPECT_EQ(text, "dangling <%%B%%>b<%%/B%%>");
  EXPECT_EQ(ExtractTagValue("<%%B%%>", "<%%/B%%>", text), "b");
}

TEST(ExtractTagValueTest, FirstOccurrenceCountsAndEmptyValuesAreEmpty) {
  std::string text = "<%%A%%><%%/A%%><%%A%%>second<%%/A%%>";
  EXPECT_EQ(ExtractTagValue("<%%A%%>", "<%%/A%%>", text), "");
  EXPECT_EQ(ExtractTagValue("<%%A%%>", "<%%/A%%>", text), "second");
}

TEST(BrandReading, FieldsInTableOrderAreAllFound) {
  std::string text;
  for (const char* name : kBrandFieldOrder) text += Field(name, std::string("v-") + name);
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(text));
  for (const char* name : kBrandFieldOrder) EXPECT_EQ(r.Value(name), std::string("v-") + name);
}

TEST(BrandReading, FieldStandingBeforeAnEarlierTableFieldIsMissed) {
  const std::string text = Field("BranderType", "Gold") + Field("BranderCode", "BC1");
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(text));
  EXPECT_EQ(r.Value("BranderCode"), "BC1");
  EXPECT_EQ(r.Value("BranderType"), "");
}

TEST(BrandReading, LowerCaseTagsAreFound) {
  const BrandTextReading r =
      ReadBrandText(NormalizeSettingsText("<%%applicationname%%>Brand<%%/APPLICATIONNAME%%>\n"));
  EXPECT_EQ(r.Value("ApplicationName"), "Brand");
}

TEST(BrandReading, MultiLineValuesKeepCrLfAndBlanks) {
  const std::string raw = "<%%AboutText%%>  first\nsecond\nthird  <%%/AboutText%%>\n";
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(raw));
  EXPECT_EQ(r.Value("AboutText"), "  first\r\nsecond\r\nthird  ");
}

TEST(BrandReading, WelcomeSeriesStopsAtTheFirstGap) {
  const std::string text =
      Field("Welcome1", "one") + Field("Welcome2", "two") + Field("Welcome4", "four");
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(text));
  EXPECT_EQ(r.Welcome, (std::vector<std::string>{"one", "two"}));
}

TEST(BrandReading, EmptyWelcome2EndsTheSeriesAfterWelcome1) {
  const std::string text =
      Field("Welcome1", "one") + Field("Welcome2", "") + Field("Welcome3", "three");
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(text));
  EXPECT_EQ(r.Welcome, std::vector<std::string>{"one"});
}

TEST(BrandReading, Welcome17IsNeverRead) {
  std::string text;
  for (int n = 1; n <= 17; ++n)
    text += Field("Welcome" + std::to_string(n), "w" + std::to_string(n));
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(text));
  ASSERT_EQ(r.Welcome.size(), 16u);
  EXPECT_EQ(r.Welcome.back(), "w16");
}

TEST(BrandReading, SeriesAreReadInOrderWelcomeBannerLink) {
  // Links standing before the banners are passed over once the banners have been read.
  const std::string text =
      Field("Link1", "L^u") + Field("Banner1", "b.png^c") + Field("Welcome1", "w");
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(text));
  EXPECT_EQ(r.Welcome, std::vector<std::string>{"w"});
  EXPECT_TRUE(r.Banners.empty());
  EXPECT_TRUE(r.Links.empty());
}

TEST(BrandReading, TraceGivesOffsetsOfWhatWasFound) {
  const std::string text =
      NormalizeSettingsText(Field("BranderCode", "X") + Field("AboutText", "Y"));
  const BrandTextReading r = ReadBrandText(text);
  ASSERT_EQ(r.Fields.size(), std::size(kBrandFieldOrder));
  EXPECT_TRUE(r.Fields[1].OpeningFound);
  EXPECT_EQ(r.Fields[1].OpeningOffset, 0u);
  EXPECT_FALSE(r.Fields[0].OpeningFound);
  EXPECT_TRUE(r.Fields[16].ClosingFound);
  EXPECT_EQ(text.substr(r.Fields[16].OpeningOffset, 13), "<%%AboutText%");
}

TEST(BrandReading, HugeAndBinaryTextsAreReadWithoutHarm) {
  std::string junk(1 << 20, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) ^ (i >> 7));
  junk += "<%%ApplicationName%%>ok<%%/ApplicationName%%>";
  const BrandTextReading r = ReadBrandText(NormalizeSettingsText(junk));
  EXPECT_EQ(r.Value("ApplicationName"), "ok");
  const BrandTextReading dangling = ReadBrandText(std::string(100000, '<') + "<%%Welcome1%%>");
  EXPECT_TRUE(dangling.Welcome.empty());
}

TEST(BrandReading, ValuesOverTheirCapAreDroppedAndTheSearchGoesOn) {
  const std::string text =
      NormalizeSettingsText(OpeningTag("BranderCode") + std::string(kMaxShortFieldBytes + 1, 'c') +
                            ClosingTag("BranderCode") + OpeningTag("BranderType") + "Gold" +
                            ClosingTag("BranderType") + OpeningTag("AboutText") +
                            std::string(kMaxShortFieldBytes + 1, 'a') + ClosingTag("AboutText"));
  const BrandTextReading r = ReadBrandText(text);
  EXPECT_EQ(r.Value("BranderCode"), "");
  EXPECT_EQ(r.Fields[1].DroppedLength, kMaxShortFieldBytes + 1);
  EXPECT_TRUE(r.Fields[1].ClosingFound);
  EXPECT_EQ(r.Value("BranderType"), "Gold");
  EXPECT_EQ(r.Fields[2].DroppedLength, 0u);
  EXPECT_EQ(r.Value("AboutText").size(), kMaxShortFieldBytes + 1);
}

TEST(BrandReading, CapsByKindOfField) {
  EXPECT_EQ(FieldCap("AboutText"), kMaxPageFieldBytes);
  EXPECT_EQ(FieldCap("Welcome16"), kMaxPageFieldBytes);
  EXPECT_EQ(FieldCap("AffiliateURL"), kMaxShortFieldBytes);
  EXPECT_EQ(FieldCap("Banner1"), kMaxShortFieldBytes);
  EXPECT_EQ(FieldCap("Link3"), kMaxShortFieldBytes);
}

}  // namespace
}  // namespace vellora
