// Shared set-up of the window tests: a shown main window on the offscreen platform, access to its
// controls by name, and a catcher for the modal boxes a command opens.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ArticlePane.h"
#include "FMain.h"

class QTimer;

namespace vellora::test {

std::u16string U(const char16_t* text);
std::u16string U(const QString& text);

// A text as one printable ASCII line for test names: line breaks, tabs and other non-ASCII units
// written as escapes.
std::string Printable(std::u16string_view text);

// The character format at a pane position (the unit at pos).
QTextCharFormat FormatAt(ArticlePane& pane, int pos);
// Format summary used in the tables: background as 0x00BBGGRR (white where none is set), bold.
std::int32_t BackgroundAt(ArticlePane& pane, int pos);
bool BoldAt(ArticlePane& pane, int pos);

// The pane's text cut where the background or the weight changes.
struct PaneRun {
  std::u16string text;
  std::int32_t background;
  bool bold;
  bool operator==(const PaneRun&) const = default;
};
std::vector<PaneRun> RunsOf(ArticlePane& pane);
std::ostream& operator<<(std::ostream& out, const PaneRun& run);

// Answers every modal message box that appears while it lives with OK and records its text.
class ModalCatcher {
 public:
  ModalCatcher();
  ~ModalCatcher();
  const QStringList& Texts() const { return texts_; }

 private:
  QTimer* timer_;
  QStringList texts_;
};

// Runs pending events until done() holds or about ten seconds have passed; returns done().
bool ProcessEventsUntil(const std::function<bool()>& done);

// An update server address where nothing listens: the start-up check fails at once, silently.
std::string ClosedUpdateBaseURL();

class WindowTest : public ::testing::Test {
 protected:
  // The window starts on an empty program folder of its own; the test begins once its one
  // start-up check has run, so nothing online happens in the middle of a test.
  void SetUp() override;
  void TearDown() override;

  template <typename T>
  T* Control(const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  // A window created on the test's program folder, not shown yet, whose start-up check fails
  // at once.
  std::unique_ptr<TfrmMain> NewWindow();

  // Replaces the whole text of a pane as a user would, raising its change handling.
  void Type(ArticlePane& pane, const QString& text);

  QTemporaryDir programDir_;
  std::unique_ptr<TfrmMain> window;
};

}  // namespace vellora::test
