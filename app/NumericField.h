// The window's numeric display field: keeps the exact value it was given, shows it as a whole
// number rounded half to even (or with two decimals in the locale's notation), and takes a typed
// whole number as its new value.
#pragma once

#include <QLineEdit>

namespace vellora {

// Nearest whole number, a half going to the even neighbour (12.5 -> 12, 13.5 -> 14).
double RoundHalfToEven(double value);

class NumericField : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumericField(QWidget* parent = nullptr);

  double Value() const { return value_; }
  void SetValue(double value);

  // Shows nothing, for a result that no longer holds; the kept value becomes 0 until the next
  // SetValue.
  void ShowNothing();
  bool ShowsNothing() const { return blank_; }

  // Two decimals in the locale's notation instead of a whole number; the kept value is unchanged.
  bool DecimalDisplay() const { return decimal_; }
  void SetDecimalDisplay(bool decimal);

  // The text shown for a value in the given display mode.
  static QString Format(double value, bool decimal);

 private:
  void OnTextEdited(const QString& text);
  void Show();

  double value_ = 0.0;
  bool decimal_ = false;
  bool blank_ = false;
};

}  // namespace vellora
