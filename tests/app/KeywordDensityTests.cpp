// Calculate Keyword Density from the window: occurrences highlighted in yellow, overlapping ones
// counted, the count and density shown, pending events run while the search goes on.
#include <gtest/gtest.h>

#include <ostream>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextCursor>
#include <QTimer>

#include "NumericField.h"
#include "UKeyword.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

constexpr std::int32_t kYellow = 0x00FFFF;

struct DensityCase {
  const char16_t* text;
  const char16_t* keyword;
  std::vector<int> positions;
  int length;
  const char* count;
  const char* density;
};

void PrintTo(const DensityCase& c, std::ostream* out) {
  *out << "'" << Printable(c.keyword) << "' in \"" << Printable(c.text) << "\" gives " << c.count;
}

class KeywordDensityTest : public WindowTest {
 protected:
  void Calculate(const QString& text, const QString& keyword, int article = 1) {
    Type(article == 1 ? window->Pane1() : window->Pane2(), text);
    Control<QLineEdit>(article == 1 ? "edtKw1" : "edtKw2")->setText(keyword);
    window
        ->findChild<QPushButton*>(article == 1 ? QStringLiteral("btnCalculateKwDensity1")
                                               : QStringLiteral("btnCalculateKwDensity2"))
        ->click();
  }
  QString Count(int article = 1) {
    return Control<NumericField>(article == 1 ? "edtDensTotal1" : "edtDensTotal2")->text();
  }
  QString Density(int article = 1) {
    return Control<NumericField>(article == 1 ? "edtDensPerc1" : "edtDensPerc2")->text();
  }
};

class KeywordDensityExamples : public KeywordDensityTest,
                               public ::testing::WithParamInterface<DensityCase> {};

TEST_P(KeywordDensityExamples, HighlightsEveryOccurrenceAndShowsCountAndDensity) {
  const DensityCase& c = GetParam();
  Calculate(QString::fromStdU16String(c.text), QString::fromStdU16String(c.keyword));
  EXPECT_EQ(Count(), QString::fromLatin1(c.count));
  EXPECT_EQ(Density(), QString::fromLatin1(c.density));
  ArticlePane& pane = window->Pane1();
  std::vector<bool> marked(static_cast<std::size_t>(pane.Length()), false);
  for (const int pos : c.positions) {
    for (int i = pos; i < pos + c.length; ++i) marked[static_cast<std::size_t>(i)] = true;
  }
  for (int i = 0; i < pane.Length(); ++i) {
    EXPECT_EQ(BackgroundAt(pane, i), marked[static_cast<std::size_t>(i)] ? kYellow : NoHighlight)
        << "at " << i;
    EXPECT_FALSE(BoldAt(pane, i)) << i;
    EXPECT_EQ(FormatAt(pane, i).foreground().color(), QColor(Qt::black)) << i;
  }
  // The caret ends before the first occurrence, nothing selected.
  if (!c.positions.empty()) {
    EXPECT_EQ(pane.SelStart(), c.positions.front());
    EXPECT_EQ(pane.SelLength(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeywordDensityExamples,
    ::testing::Values(
        DensityCase{
            u"Apple pie. An APPLE a day; pineapple!", u"apple", {0, 14, 31}, 5, "3", "42.86"},
        DensityCase{u"aaaa", u"aa", {0, 1, 2}, 2, "3", "300.00"},
        DensityCase{u"I like red apples. Red apple pie.", u"red apple", {7, 19}, 9, "2", "28.57"},
        DensityCase{
            u"I like red apples. Red apple pie.", u"  red apple ", {7, 19}, 9, "2", "28.57"},
        DensityCase{u"red\napple and red  apple", u"red apple", {}, 9, "0", "0.00"},
        DensityCase{u"nothing to see", u"zebra", {}, 5, "0", "0.00"},
        DensityCase{u"", u"word", {}, 4, "0", "0.00"},
        DensityCase{u"\n\n\n", u"word", {}, 4, "0", "0.00"},
        DensityCase{u"some words", u"", {}, 0, "0", "0.00"},
        DensityCase{u"...", u".", {0, 1, 2}, 1, "3", "0.00"}));

TEST_F(KeywordDensityTest, DensityFieldShowsWholeNumbersUntilTheFirstCalculation) {
  EXPECT_EQ(Density(), QStringLiteral("0"));
  EXPECT_EQ(Density(2), QStringLiteral("0"));
  Calculate(QStringLiteral("one two"), QStringLiteral("one"));
  EXPECT_EQ(Density(), QStringLiteral("50.00"));
  EXPECT_EQ(Density(2), QStringLiteral("0"));
}

TEST_F(KeywordDensityTest, ArticleTwoDividesByItsOwnShownWordCount) {
  Type(window->Pane1(), QStringLiteral("x x x x x x x x x x"));
  Calculate(QStringLiteral("cat dog cat bird"), QStringLiteral("cat"), 2);
  EXPECT_EQ(Count(2), QStringLiteral("2"));
  EXPECT_EQ(Density(2), QStringLiteral("50.00"));
  EXPECT_EQ(Count(1), QStringLiteral("0"));
}

TEST_F(KeywordDensityTest, DensityUsesTheWordCountShownEvenWhenTyped) {
  Type(window->Pane1(), QStringLiteral("cat dog"));
  auto* words = Control<NumericField>("edtWords1");
  words->SetValue(8);
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("cat"));
  window->btnCalculateKwDensity1Click();
  EXPECT_EQ(Density(), QStringLiteral("12.50"));
}

TEST_F(KeywordDensityTest, EarlierCompareHighlightingIsRemovedButWordColoursStay) {
  Type(window->Pane1(), QStringLiteral("red apple pie"));
  Type(window->Pane2(), QStringLiteral("red apple pie"));
  window->btnCompareExClick();
  ASSERT_TRUE(BoldAt(window->Pane1(), 0));
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("pie"));
  window->btnCalculateKwDensity1Click();
  const std::vector<PaneRun> expected = {{u"red apple ", NoHighlight, false},
                                         {u"pie", kYellow, false}};
  EXPECT_EQ(RunsOf(window->Pane1()), expected);
  for (const TWord& word : window->Words1) EXPECT_NE(word.Color, NoHighlight);
  EXPECT_TRUE(BoldAt(window->Pane2(), 0));
}

TEST_F(KeywordDensityTest, AnotherCalculationClearsTheEarlierHighlights) {
  Calculate(QStringLiteral("alpha beta alpha"), QStringLiteral("alpha"));
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("beta"));
  window->btnCalculateKwDensity1Click();
  EXPECT_EQ(BackgroundAt(window->Pane1(), 0), NoHighlight);
  EXPECT_EQ(BackgroundAt(window->Pane1(), 6), kYellow);
  EXPECT_EQ(Count(), QStringLiteral("1"));
}

TEST_F(KeywordDensityTest, TextStoredTextAndListsStayUnchanged) {
  Type(window->Pane1(), QStringLiteral("Apple pie. An APPLE a day; pineapple!"));
  const auto version = window->Pane1().ContentVersion();
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("apple"));
  window->btnCalculateKwDensity1Click();
  EXPECT_EQ(window->Pane1().Text(), u"Apple pie. An APPLE a day; pineapple!");
  EXPECT_EQ(window->Pane1().ContentVersion(), version);
  EXPECT_EQ(window->Words1.Count(), 7);
  EXPECT_EQ(Control<NumericField>("edtWords1")->Value(), 7);
}

TEST_F(KeywordDensityTest, PendingEventsRunWhileTheSearchGoesOn) {
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  Type(window->Pane1(), QStringLiteral("one one one"));
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("one"));
  window->btnCalculateKwDensity1Click();
  EXPECT_TRUE(ran);
}

TEST_F(KeywordDensityTest, AnEditWhileEventsRunDoesNotDerailTheSearch) {
  QString text;
  for (int i = 0; i < 3000; ++i) text += QStringLiteral("kiwi and mango ");
  Type(window->Pane1(), text);
  ArticlePane& pane = window->Pane1();
  QTimer::singleShot(0, [&pane] {
    QTextCursor start(pane.Edit()->document());
    start.insertText(QStringLiteral("kiwi "));
  });
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("kiwi"));
  window->btnCalculateKwDensity1Click();
  const int count = Control<NumericField>("edtDensTotal1")->text().toInt();
  EXPECT_GE(count, 3000);
  EXPECT_LE(count, 3001);
  EXPECT_EQ(window->Words1.Count(), 9001);
}

TEST_F(KeywordDensityTest, ManyOccurrencesAreAllHighlighted) {
  QString text;
  for (int i = 0; i < 5000; ++i) text += QStringLiteral("zebra w%1 ").arg(i % 97);
  Calculate(text, QStringLiteral("zebra"));
  EXPECT_EQ(Count(), QStringLiteral("5000"));
  const std::u16string stored = window->Pane1().Text();
  for (const int pos : FindAllKeywordOccurrences(stored, u"zebra")) {
    ASSERT_EQ(BackgroundAt(window->Pane1(), pos + 4), kYellow) << pos;
  }
  EXPECT_EQ(Density(), QStringLiteral("50.00"));
}

}  // namespace
}  // namespace vellora::test
