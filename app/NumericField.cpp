#include "NumericField.h"

#include <QLocale>
#include <QRegularExpressionValidator>
#include <cmath>
#include <limits>

namespace vellora {

double RoundHalfToEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

NumericField::NumericField(QWidget* parent) : QLineEdit(parent) {
  // Only a whole number can be typed: digits with an optional leading minus sign.
  setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,15}")), this));
  connect(this, &QLineEdit::textEdited, this, &NumericField::OnTextEdited);
  Show();
}

void NumericField::SetValue(double value) {
  value_ = value;
  blank_ = false;
  Show();
}

void NumericField::ShowNothing() {
  value_ = 0.0;
  blank_ = true;
  Show();
}

void NumericField::SetDecimalDisplay(bool decimal) {
  decimal_ = decimal;
  Show();
}

QString NumericField::Format(double value, bool decimal) {
  if (!std::isfinite(value)) value = 0.0;
  if (decimal) return QLocale().toString(value, 'f', 2);
  const double rounded = RoundHalfToEven(value);
  // Beyond the range of a 64-bit integer a whole number is still shown, without a fraction.
  if (std::fabs(rounded) >= 9.2e18) return QString::number(rounded, 'f', 0);
  return QString::number(static_cast<qint64>(rounded));
}

void NumericField::OnTextEdited(const QString& text) {
  bool ok = false;
  const qlonglong typed = text.toLongLong(&ok);
  value_ = ok ? static_cast<double>(typed) : 0.0;
  blank_ = false;
}

void NumericField::Show() {
  const QString text = blank_ ? QString() : Format(value_, decimal_);
  if (this->text() != text) setText(text);
}

}  // namespace vellora
