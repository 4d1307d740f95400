#include "Prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "AnsiText.h"

namespace vellora {

QWidget* MessageBoxPrompter::Parent() const {
  return parent_ != nullptr ? parent_ : QApplication::activeWindow();
}

void MessageBoxPrompter::Warning(std::string_view text) {
  QMessageBox::warning(Parent(), QApplication::applicationDisplayName(), AnsiToQString(text),
                       QMessageBox::Ok);
}

void MessageBoxPrompter::Information(std::string_view text) {
  QMessageBox::information(Parent(), QApplication::applicationDisplayName(), AnsiToQString(text),
                           QMessageBox::Ok);
}

Prompter::Answer MessageBoxPrompter::Question(std::string_view text) {
  const auto button =
      QMessageBox::information(Parent(), QApplication::applicationDisplayName(),
                               AnsiToQString(text), QMessageBox::Ok | QMessageBox::Cancel);
  return button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

Prompter& DefaultPrompter() {
  static MessageBoxPrompter prompter;
  return prompter;
}

}  // namespace vellora
