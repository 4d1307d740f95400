// The numeric display field: exact value kept, whole-number display rounded half to even,
// two-decimal display in the locale's notation, typed whole numbers.
#include <gtest/gtest.h>

#include <ostream>

#include <QLocale>
#include <QTest>
#include <limits>

#include "NumericField.h"

namespace vellora {
namespace {

struct RoundingCase {
  double value;
  const char* shown;
};

void PrintTo(const RoundingCase& c, std::ostream* out) {
  *out << c.value << " shows " << c.shown;
}

class NumericFieldRounding : public ::testing::TestWithParam<RoundingCase> {};

TEST_P(NumericFieldRounding, ShowsNearestWholeNumberHalfToEvenAndKeepsExactValue) {
  NumericField field;
  field.SetValue(GetParam().value);
  EXPECT_EQ(field.text(), QString::fromLatin1(GetParam().shown));
  EXPECT_EQ(field.Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, NumericFieldRounding,
                         ::testing::Values(RoundingCase{12.5, "12"}, RoundingCase{37.5, "38"},
                                           RoundingCase{13.5, "14"}, RoundingCase{50.5, "50"},
                                           RoundingCase{51.5, "52"}, RoundingCase{77.777, "78"},
                                           RoundingCase{0.5, "0"}, RoundingCase{1.5, "2"},
                                           RoundingCase{2.4999, "2"}, RoundingCase{-1.5, "-2"},
                                           RoundingCase{-2.5, "-2"}, RoundingCase{0.0, "0"},
                                           RoundingCase{100.0, "100"}));

TEST(NumericField, StartsShowingZero) {
  NumericField field;
  EXPECT_EQ(field.text(), QStringLiteral("0"));
  EXPECT_EQ(field.Value(), 0.0);
  EXPECT_FALSE(field.DecimalDisplay());
}

TEST(NumericField, DecimalDisplayShowsTwoDecimalsInTheLocalesNotation) {
  NumericField field;
  field.SetDecimalDisplay(true);
  field.SetValue(300.0 * 1 / 7);  // 42.857...
  EXPECT_EQ(field.text(), QStringLiteral("42.86"));
  EXPECT_DOUBLE_EQ(field.Value(), 300.0 / 7);
  field.SetValue(0);
  EXPECT_EQ(field.text(), QStringLiteral("0.00"));
}

TEST(NumericField, DecimalDisplayFollowsAGermanLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  NumericField field;
  field.SetDecimalDisplay(true);
  field.SetValue(42.857);
  const QString shown = field.text();
  QLocale::setDefault(saved);
  EXPECT_EQ(shown, QStringLiteral("42,86"));
}

TEST(NumericField, SwitchingDisplayKeepsTheValue) {
  NumericField field;
  field.SetValue(12.5);
  field.SetDecimalDisplay(true);
  EXPECT_EQ(field.text(), QStringLiteral("12.50"));
  field.SetDecimalDisplay(false);
  EXPECT_EQ(field.text(), QStringLiteral("12"));
  EXPECT_EQ(field.Value(), 12.5);
}

TEST(NumericField, TypedWholeNumberBecomesTheValue) {
  NumericField field;
  field.SetValue(7.25);
  field.selectAll();
  QTest::keyClicks(&field, QStringLiteral("143"));
  EXPECT_EQ(field.text(), QStringLiteral("143"));
  EXPECT_EQ(field.Value(), 143.0);
}

TEST(NumericField, TypingAMinusSignIsAccepted) {
  NumericField field;
  field.selectAll();
  QTest::keyClicks(&field, QStringLiteral("-12"));
  EXPECT_EQ(field.Value(), -12.0);
}

TEST(NumericField, LettersAndFractionsCannotBeTyped) {
  NumericField field;
  field.selectAll();
  QTest::keyClicks(&field, QStringLiteral("4a.5x"));
  EXPECT_EQ(field.text(), QStringLiteral("45"));
  EXPECT_EQ(field.Value(), 45.0);
}

TEST(NumericField, ClearingTheTextReadsAsZero) {
  NumericField field;
  field.SetValue(9);
  field.selectAll();
  QTest::keyClick(&field, Qt::Key_Backspace);
  EXPECT_EQ(field.Value(), 0.0);
}

TEST(NumericField, UpAndDownKeysDoNotStep) {
  NumericField field;
  field.SetValue(5);
  QTest::keyClick(&field, Qt::Key_Up);
  QTest::keyClick(&field, Qt::Key_Down);
  EXPECT_EQ(field.Value(), 5.0);
  EXPECT_EQ(field.text(), QStringLiteral("5"));
}

TEST(NumericField, NonFiniteValuesShowZero) {
  EXPECT_EQ(NumericField::Format(std::numeric_limits<double>::quiet_NaN(), false),
            QStringLiteral("0"));
  EXPECT_EQ(NumericField::Format(std::numeric_limits<double>::infinity(), true),
            QStringLiteral("0.00"));
}

TEST(NumericField, HugeValuesShowWithoutOverflow) {
  EXPECT_EQ(NumericField::Format(1e20, false), QStringLiteral("100000000000000000000"));
}

}  // namespace
}  // namespace vellora
