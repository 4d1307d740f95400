// Match highlighting shown in real panes: the runs after Compare, the rebuild against the literal
// run-by-run reference, ClearHighlighting and the Clear Highlighting commands.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTextCursor>
#include <random>

#include "ArticleEdit.h"
#include "NumericField.h"
#include "PaneHighlight.h"
#include "UCompare.h"
#include "USegment.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

constexpr std::int32_t kAqua = 0xFFFF00;
constexpr std::int32_t kMoneyGreen = 0xC0DCC0;
constexpr std::int32_t kWhite = NoHighlight;

class HighlightTest : public WindowTest {
 protected:
  void Compare(const QString& a1, const QString& a2, int minimum, int unit = 0) {
    Type(window->Pane1(), a1);
    Type(window->Pane2(), a2);
    Control<QSpinBox>("minNumWords")->setValue(minimum);
    Control<QComboBox>("cbxType")->setCurrentIndex(unit);
    window->btnCompareExClick();
  }
};

TEST_F(HighlightTest, CompareShowsMatchedStretchesAsBoldColouredRuns) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3);
  const std::vector<PaneRun> expected1 = {
      {u"The ", kWhite, false},
      {u"quick brown fox jumps over", kAqua, true},
      {u" the ", kWhite, false},
      {u"lazy dog.", kMoneyGreen, true},
  };
  EXPECT_EQ(RunsOf(window->Pane1()), expected1);
  const std::vector<PaneRun> expected2 = {
      {u"A ", kWhite, false},
      {u"quick brown fox jumps over", kAqua, true},
      {u" a ", kWhite, false},
      {u"lazy dog.", kMoneyGreen, true},
  };
  EXPECT_EQ(RunsOf(window->Pane2()), expected2);
  for (int i = 0; i < window->Pane1().Length(); ++i) {
    EXPECT_EQ(FormatAt(window->Pane1(), i).foreground().color(), QColor(Qt::black)) << i;
  }
}

TEST_F(HighlightTest, SpaceBetweenWordsOfDifferentColoursIsNotHighlighted) {
  Compare(QStringLiteral("b a"), QStringLiteral("a b"), 1);
  const std::vector<PaneRun> expected = {
      {u"b", kAqua, true}, {u" ", kWhite, false}, {u"a", kMoneyGreen, true}};
  EXPECT_EQ(RunsOf(window->Pane1()), expected);
}

TEST_F(HighlightTest, LeadingLineBreaksAreNeverHighlighted) {
  Compare(QStringLiteral("\r\nHi there.\r\n"), QStringLiteral("\r\nHi there.\r\n"), 1);
  ASSERT_EQ(window->Pane1().Text(), u"\nHi there.\n");
  const std::vector<PaneRun> expected = {{u"\n", kWhite, false}, {u"Hi there.\n", kAqua, true}};
  EXPECT_EQ(RunsOf(window->Pane1()), expected);
}

TEST_F(HighlightTest, TextWithoutWordsBecomesOnePlainRun) {
  Compare(QStringLiteral("  ...  "), QStringLiteral("some words"), 1);
  const std::vector<PaneRun> expected = {{u"  ...  ", kWhite, false}};
  EXPECT_EQ(RunsOf(window->Pane1()), expected);
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QStringLiteral("0"));
}

TEST_F(HighlightTest, RebuiltPaneHoldsExactlyTheStoredText) {
  Compare(QStringLiteral("One two. Three\n\nfour five;six"),
          QStringLiteral("two. Three four\nfive six"), 1);
  EXPECT_EQ(window->Pane1().Text(), window->ArticleText1);
  EXPECT_EQ(window->Pane2().Text(), window->ArticleText2);
}

TEST_F(HighlightTest, ClearHighlightingOfPaneOneLeavesPaneTwoAndItsWordsAlone) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3);
  const std::vector<PaneRun> pane2Before = RunsOf(window->Pane2());
  std::vector<std::int32_t> colours2;
  for (const TWord& word : window->Words2) colours2.push_back(word.Color);
  const std::u16string stored1 = window->ArticleText1;

  window->findChild<QPushButton*>(QStringLiteral("btnClearH1"))->click();

  const std::vector<PaneRun> plain = {
      {u"The quick brown fox jumps over the lazy dog.", kWhite, false}};
  EXPECT_EQ(RunsOf(window->Pane1()), plain);
  for (const TWord& word : window->Words1) EXPECT_EQ(word.Color, NoHighlight);
  EXPECT_EQ(window->Words1.Count(), 9);
  EXPECT_EQ(RunsOf(window->Pane2()), pane2Before);
  std::vector<std::int32_t> colours2After;
  for (const TWord& word : window->Words2) colours2After.push_back(word.Color);
  EXPECT_EQ(colours2After, colours2);
  EXPECT_EQ(window->ArticleText1, stored1);
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QStringLiteral("78"));
  EXPECT_EQ(Control<NumericField>("edtWords1")->Value(), 9);
  EXPECT_EQ(window->Pane1().SelStart(), 0);
  EXPECT_EQ(window->Pane1().SelLength(), 0);
}

TEST_F(HighlightTest, ClearHighlightingOfPaneTwoLeavesPaneOneAlone) {
  Compare(QStringLiteral("a b c"), QStringLiteral("a b c"), 1);
  const std::vector<PaneRun> pane1Before = RunsOf(window->Pane1());
  window->btnClearH2Click();
  EXPECT_EQ(RunsOf(window->Pane1()), pane1Before);
  const std::vector<PaneRun> plain = {{u"a b c", kWhite, false}};
  EXPECT_EQ(RunsOf(window->Pane2()), plain);
  for (const TWord& word : window->Words2) EXPECT_EQ(word.Color, NoHighlight);
  for (const TWord& word : window->Words1) EXPECT_EQ(word.Color, kAqua);
}

TEST_F(HighlightTest, ClearHighlightingMakesEverythingBlackPlainOnWhiteWithTheCaretAtTheStart) {
  ArticlePane& pane = window->Pane1();
  Type(pane, QStringLiteral("Mixed\nformats here"));
  QTextCursor cursor(pane.Edit()->document());
  cursor.select(QTextCursor::Document);
  QTextCharFormat rich;
  rich.setFontWeight(QFont::Bold);
  rich.setFontItalic(true);
  rich.setFontUnderline(true);
  rich.setFontStrikeOut(true);
  rich.setForeground(QColor(Qt::red));
  rich.setBackground(QColor(Qt::green));
  cursor.mergeCharFormat(rich);
  pane.Select(5, 3);

  ClearHighlighting(pane);

  for (int i = 0; i < pane.Length(); ++i) {
    const QTextCharFormat format = FormatAt(pane, i);
    EXPECT_EQ(format.foreground().color(), QColor(Qt::black)) << i;
    EXPECT_EQ(format.background().color(), QColor(Qt::white)) << i;
    EXPECT_LT(format.fontWeight(), QFont::Bold) << i;
    EXPECT_FALSE(format.fontItalic()) << i;
    EXPECT_FALSE(format.fontUnderline()) << i;
    EXPECT_FALSE(format.fontStrikeOut()) << i;
  }
  EXPECT_EQ(pane.SelStart(), 0);
  EXPECT_EQ(pane.SelLength(), 0);
  EXPECT_EQ(pane.Text(), u"Mixed\nformats here");
}

TEST_F(HighlightTest, ClearHighlightingAfterManyColouredRunsLeavesEverythingPlain) {
  QString text1;
  QString text2;
  for (int i = 0; i < 600; ++i) {
    text1 += QStringLiteral("w%1 x%2, ").arg(i % 7).arg(i % 5);
    text2 += QStringLiteral("x%1 w%2.\n").arg(i % 5).arg(i % 7);
  }
  Compare(text1, text2, 1);
  ASSERT_GT(RunsOf(window->Pane1()).size(), 50u);
  ClearHighlighting(window->Pane1());
  for (const PaneRun& run : RunsOf(window->Pane1())) {
    EXPECT_EQ(run.background, kWhite);
    EXPECT_FALSE(run.bold);
  }
  EXPECT_EQ(window->Pane1().Text(), window->ArticleText1);
}

TEST_F(HighlightTest, ClearHighlightingOfAnEmptyPaneIsHarmless) {
  ClearHighlighting(window->Pane1());
  EXPECT_EQ(window->Pane1().Text(), u"");
}

TEST(AppendRun, InsertsAtTheCaretBoldOnTheRunColourOrPlainOnWhite) {
  ArticleEdit edit;
  ArticlePane pane(&edit);
  AppendRun(pane, u"one ", NoHighlight);
  AppendRun(pane, u"two", 0x0000FF);
  AppendRun(pane, u" three", NoHighlight);
  EXPECT_EQ(pane.Text(), u"one two three");
  const std::vector<PaneRun> expected = {
      {u"one ", kWhite, false}, {u"two", 0x0000FF, true}, {u" three", kWhite, false}};
  EXPECT_EQ(RunsOf(pane), expected);
  EXPECT_EQ(edit.textCursor().position(), 13);
  EXPECT_EQ(FormatAt(pane, 5).background().color(), QColor(255, 0, 0));
}

// The one-pass rebuild must leave the same characters and formats as appending run by run.
void ExpectSameAsRunByRun(const std::u16string& text1, const std::u16string& text2, int minimum) {
  ArticleSpans a1;
  ArticleSpans a2;
  CompareArticles(text1, a1, text2, a2, minimum, 0);
  ArticleEdit fastEdit;
  ArticlePane fast(&fastEdit);
  ArticleEdit slowEdit;
  ArticlePane slow(&slowEdit);
  slowEdit.setPlainText(QStringLiteral("old content that goes away"));
  ApplyWordColors(fast, text1, a1.Words);
  ApplyWordColorsRunByRun(slow, text1, a1.Words);
  EXPECT_EQ(fast.Text(), text1);
  EXPECT_EQ(slow.Text(), text1);
  EXPECT_EQ(RunsOf(fast), RunsOf(slow));
  for (int i = 0; i < fast.Length(); ++i) {
    const QTextCharFormat f = FormatAt(fast, i);
    const QTextCharFormat s = FormatAt(slow, i);
    EXPECT_EQ(f.foreground().color(), s.foreground().color()) << i;
    EXPECT_EQ(f.fontItalic(), s.fontItalic()) << i;
    EXPECT_EQ(f.fontUnderline(), s.fontUnderline()) << i;
  }
}

TEST(ApplyWordColors, MatchesTheRunByRunRebuildOnTheExamples) {
  ExpectSameAsRunByRun(u"The quick brown fox jumps over the lazy dog.",
                       u"A quick brown fox jumps over a lazy dog.", 3);
  ExpectSameAsRunByRun(u"b a", u"a b", 1);
  ExpectSameAsRunByRun(u"\nHi there.\n", u"\nHi there.\n", 1);
  ExpectSameAsRunByRun(u"  ...  ", u"x", 1);
  ExpectSameAsRunByRun(u"a b a b", u"a b", 2);
}

TEST(ApplyWordColors, MatchesTheRunByRunRebuildOnARandomText) {
  std::mt19937 random(7);
  const char16_t* vocabulary[] = {u"alpha", u"beta", u"gamma", u"delta", u"x", u"Y"};
  const char16_t* separators[] = {u" ", u", ", u". ", u"\n", u"! ", u"  "};
  auto make = [&](int words) {
    std::u16string text;
    for (int i = 0; i < words; ++i) {
      text += vocabulary[random() % 6];
      text += separators[random() % 6];
    }
    return text;
  };
  const std::u16string text1 = make(400);
  const std::u16string text2 = make(400);
  ExpectSameAsRunByRun(text1, text2, 1);
  ExpectSameAsRunByRun(text1, text2, 2);
}

}  // namespace
}  // namespace vellora::test
