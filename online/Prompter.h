// The modal message boxes of the online services, behind a small interface so that a caller
// can answer them (tests answer OK or Cancel and read the exact texts).
#pragma once

#include <string_view>

class QWidget;

namespace vellora {

class Prompter {
 public:
  enum class Answer { Ok, Cancel };

  virtual ~Prompter() = default;
  // A warning box with the button OK.
  virtual void Warning(std::string_view text) = 0;
  // An information box with the button OK.
  virtual void Information(std::string_view text) = 0;
  // An information box with the buttons OK and Cancel.
  virtual Answer Question(std::string_view text) = 0;
};

// Real message boxes; texts are 8-bit Windows-1252 and are decoded only for display.
class MessageBoxPrompter final : public Prompter {
 public:
  // parent nullptr: the application's active window.
  explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void Warning(std::string_view text) override;
  void Information(std::string_view text) override;
  Answer Question(std::string_view text) override;

 private:
  QWidget* Parent() const;
  QWidget* parent_;
};

// The process-wide message box prompter, used when a caller names none.
Prompter& DefaultPrompter();

}  // namespace vellora
