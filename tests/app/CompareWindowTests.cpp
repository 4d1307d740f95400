// Compare from the window: the comparison examples end to end, the share of Article 2 taken from
// the shown word count, and the cases where Compare does nothing.
#include <gtest/gtest.h>

#include <ostream>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "NumericField.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

constexpr std::int32_t kAqua = 0xFFFF00;
constexpr std::int32_t kMoneyGreen = 0xC0DCC0;

struct CompareCase {
  const char16_t* article1;
  const char16_t* article2;
  int minimum;
  int unit;
  const char* shown;
};

void PrintTo(const CompareCase& c, std::ostream* out) {
  *out << '"' << Printable(c.article1) << "\" vs \"" << Printable(c.article2) << "\" min "
       << c.minimum << " unit " << c.unit << " shows " << c.shown;
}

class CompareWindowTest : public WindowTest {
 protected:
  void Compare(const QString& a1, const QString& a2, int minimum, int unit = 0) {
    Type(window->Pane1(), a1);
    Type(window->Pane2(), a2);
    Control<QSpinBox>("minNumWords")->setValue(minimum);
    Control<QComboBox>("cbxType")->setCurrentIndex(unit);
    window->findChild<QPushButton*>(QStringLiteral("btnCompareEx"))->click();
  }
  QString Shown() { return Control<NumericField>("edtDuplicate")->text(); }
  std::vector<std::int32_t> Colours(const TListWords& words) {
    std::vector<std::int32_t> colours;
    for (const TWord& word : words) colours.push_back(word.Color);
    return colours;
  }
};

class CompareExamples : public CompareWindowTest,
                        public ::testing::WithParamInterface<CompareCase> {};

TEST_P(CompareExamples, ShowsTheDuplicateShareOfArticleTwo) {
  const CompareCase& c = GetParam();
  Compare(QString::fromStdU16String(c.article1), QString::fromStdU16String(c.article2), c.minimum,
          c.unit);
  EXPECT_EQ(Shown(), QString::fromLatin1(c.shown));
  EXPECT_FALSE(Comparing);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, CompareExamples,
    ::testing::Values(
        CompareCase{u"The quick brown fox jumps over the lazy dog.",
                    u"A quick brown fox jumps over a lazy dog.", 3, 0, "78"},
        CompareCase{u"Same text here. And more.", u"Same text here. And more.", 1, 0, "100"},
        CompareCase{u"Hello World", u"hello WORLD", 1, 0, "100"},
        CompareCase{u"Caf\u00E9 au lait", u"CAF\u00C9 au lait", 1, 0, "67"},
        CompareCase{u"b a", u"a b", 1, 0, "100"},
        CompareCase{u"Hello world. Second sentence here. Third one.",
                    u"Third one. Hello world. Something else.", 1, 1, "33"},
        CompareCase{u"a b c d e", u"x a b c y d e", 2, 0, "71"},
        CompareCase{u"a b a b", u"a b", 2, 0, "100"}, CompareCase{u"x y z", u"a b c", 1, 0, "0"},
        CompareCase{u"First para.\nSecond para.", u"Second para.\nOther.", 1, 2, "67"}));

TEST_F(CompareWindowTest, FoxExampleMarksBothArticlesInTwoColours) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3);
  const std::vector<std::int32_t> expected = {
      NoHighlight, kAqua, kAqua, kAqua, kAqua, kAqua, NoHighlight, kMoneyGreen, kMoneyGreen};
  EXPECT_EQ(Colours(window->Words1), expected);
  EXPECT_EQ(Colours(window->Words2), expected);
  EXPECT_DOUBLE_EQ(Control<NumericField>("edtDuplicate")->Value(), 700.0 / 9);
}

TEST_F(CompareWindowTest, OverlappingWindowsExample) {
  Compare(QStringLiteral("a b a b"), QStringLiteral("a b"), 2);
  EXPECT_EQ(Colours(window->Words1),
            (std::vector<std::int32_t>{kAqua, kAqua, NoHighlight, kMoneyGreen}));
  EXPECT_EQ(Colours(window->Words2), (std::vector<std::int32_t>{kAqua, kMoneyGreen}));
}

TEST_F(CompareWindowTest, ShareIsTakenOfTheWordCountShownForArticleTwo) {
  Type(window->Pane1(), QStringLiteral("The quick brown fox jumps over the lazy dog."));
  Type(window->Pane2(), QStringLiteral("A quick brown fox jumps over a lazy dog."));
  auto* words2 = Control<NumericField>("edtWords2");
  words2->selectAll();
  QTest::keyClicks(words2, QStringLiteral("14"));
  Control<QSpinBox>("minNumWords")->setValue(3);
  window->btnCompareExClick();
  EXPECT_EQ(Shown(), QStringLiteral("50"));  // 7 of 14
}

TEST_F(CompareWindowTest, ZeroShownWordCountShowsZero) {
  Type(window->Pane1(), QStringLiteral("a b"));
  Type(window->Pane2(), QStringLiteral("a b"));
  auto* words2 = Control<NumericField>("edtWords2");
  words2->selectAll();
  QTest::keyClicks(words2, QStringLiteral("0"));
  window->btnCompareExClick();
  EXPECT_EQ(Shown(), QStringLiteral("0"));
}

TEST_F(CompareWindowTest, BlankArticleLeavesEarlierColoursAsTheyWere) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3);
  const std::vector<PaneRun> pane1 = RunsOf(window->Pane1());
  Type(window->Pane2(), QStringLiteral(" \n\t "));
  window->btnCompareExClick();
  // The blanked article emptied the share; Compare with it says why it shows none.
  EXPECT_EQ(Shown(), QString());
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->toolTip(),
            QString::fromLatin1(kNothingToCompareHint));
  EXPECT_EQ(RunsOf(window->Pane1()), pane1);
  EXPECT_NE(window->Words1[1].Color, NoHighlight);
  EXPECT_FALSE(Comparing);
}

TEST_F(CompareWindowTest, ArticleOneWithoutWordsShowsZero) {
  Compare(QStringLiteral("..."), QStringLiteral("some text"), 1);
  EXPECT_EQ(Shown(), QStringLiteral("0"));
}

TEST_F(CompareWindowTest, ArticleTwoWithoutWordsShowsZero) {
  Compare(QStringLiteral("some text"), QStringLiteral("?!"), 1);
  EXPECT_EQ(Shown(), QStringLiteral("0"));
}

TEST_F(CompareWindowTest, NegativeMinimumCompletesLikeOneWord) {
  Compare(QStringLiteral("b a"), QStringLiteral("a b"), -3);
  EXPECT_EQ(Control<QSpinBox>("minNumWords")->value(), -3);
  EXPECT_EQ(Shown(), QStringLiteral("100"));
}

TEST_F(CompareWindowTest, PanesKeepTheirTextAndCountsAfterCompare) {
  Compare(QStringLiteral("Alpha beta.\nGamma"), QStringLiteral("beta gamma"), 1);
  EXPECT_EQ(window->Pane1().Text(), u"Alpha beta.\nGamma");
  EXPECT_EQ(window->Pane2().Text(), u"beta gamma");
  EXPECT_EQ(Control<NumericField>("edtWords1")->Value(), 3);
  EXPECT_EQ(Control<NumericField>("edtParag1")->Value(), 2);
  // The rebuild raised change events that Comparing turned away: the colours are still there.
  EXPECT_NE(window->Words2[0].Color, NoHighlight);
}

TEST_F(CompareWindowTest, CompareAgainGivesTheSameResult) {
  Compare(QStringLiteral("a b c d e"), QStringLiteral("x a b c y d e"), 2);
  const auto first = Colours(window->Words1);
  window->btnCompareExClick();
  EXPECT_EQ(Colours(window->Words1), first);
  EXPECT_EQ(Shown(), QStringLiteral("71"));
}

}  // namespace
}  // namespace vellora::test
