// The main window's layout at its minimum size and on a full-HD screen: no control overlaps
// another and every control is shown whole; the window cannot be made smaller than that.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <vector>

#include "WindowFixture.h"

namespace vellora::test {
namespace {

// Controls of the form: named widgets, without the inner parts Qt gives compound controls.
bool IsFormControl(const QWidget& widget) {
  const QString name = widget.objectName();
  if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) return false;
  // A compound control's own parts are no controls of the form.
  for (const QWidget* up = widget.parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (up->inherits("QAbstractScrollArea") || up->inherits("QAbstractSpinBox") ||
        up->inherits("QComboBox")) {
      return false;
    }
  }
  return true;
}

// The banner pictures are centred on their panel and may stand out of it by design.
bool IsBanner(const QWidget& widget) {
  return widget.objectName() == QLatin1String("imgBanner") ||
         widget.objectName() == QLatin1String("gifBanner");
}

std::string Describe(const QWidget& w) {
  const QRect g = w.geometry();
  return w.objectName().toStdString() + " at " + std::to_string(g.x()) + "," +
         std::to_string(g.y()) + " " + std::to_string(g.width()) + "x" + std::to_string(g.height());
}

// Every visible control lies whole inside its container, and no two visible controls of one
// container intersect.
void ExpectCleanLayout(QWidget& page, const std::string& where) {
  std::vector<QWidget*> controls;
  for (QWidget* widget : page.findChildren<QWidget*>()) {
    if (IsFormControl(*widget) && widget->isVisible() && !IsBanner(*widget)) {
      controls.push_back(widget);
    }
  }
  ASSERT_GT(controls.size(), 40u);
  for (QWidget* control : controls) {
    const QWidget* container = control->parentWidget();
    EXPECT_TRUE(container->rect().contains(control->geometry()))
        << where << ": " << Describe(*control) << " outside " << Describe(*container);
    EXPECT_FALSE(control->geometry().isEmpty()) << where << ": " << Describe(*control);
    // A caption shows whole in whatever font stood in for the skin's.
    if (auto* label = qobject_cast<QLabel*>(control); label && !label->text().isEmpty()) {
      EXPECT_LE(label->sizeHint().width(), label->width())
          << where << ": " << Describe(*control) << " cuts \"" << label->text().toStdString()
          << "\"";
    }
    for (QWidget* other : controls) {
      if (other <= control || other->parentWidget() != container) continue;
      EXPECT_FALSE(control->geometry().intersects(other->geometry()))
          << where << ": " << Describe(*control) << " overlaps " << Describe(*other);
    }
  }
}

class WindowGeometry : public WindowTest {};

TEST_F(WindowGeometry, AtTheMinimumSizeNothingOverlapsOrDisappears) {
  const QSize minimum = window->minimumSize();
  ASSERT_GT(minimum.width(), 0);
  ASSERT_GT(minimum.height(), 0);
  EXPECT_LE(minimum.width(), 739);
  EXPECT_LE(minimum.height(), 626);
  window->resize(560, 420);  // smaller than allowed: the window stops at its minimum
  QApplication::processEvents();
  EXPECT_EQ(window->size(), minimum);
  ExpectCleanLayout(*Control<QWidget>("stsMain"), "minimum");
  for (const char* name :
       {"edtWords1", "edtParag2", "edtDensTotal1", "edtDensTotal2", "btnCalculateKwDensity2",
        "edtDuplicate", "lblMinLength", "minNumWords", "cbxType", "lblLink2URL", "btnClear2"}) {
    EXPECT_TRUE(Control<QWidget>(name)->isVisible()) << name;
  }
  // The panes keep room for a few lines of text.
  EXPECT_GE(Control<QWidget>("rchArticle1")->height(), 60);
  EXPECT_GE(Control<QWidget>("rchArticle2")->height(), 60);
}

TEST_F(WindowGeometry, WithThePassageListShownTheMinimumStillKeepsEverythingApart) {
  Control<QToolButton>("btnPassages")->click();
  QApplication::processEvents();
  window->resize(560, 420);
  QApplication::processEvents();
  EXPECT_EQ(window->size(), window->minimumSize());
  ExpectCleanLayout(*Control<QWidget>("stsMain"), "minimum with the list");
  for (const char* name : {"lstPassages", "btnPassages", "cbxMatch", "spnGap", "lblGapUnit",
                           "edtDuplicate1", "lblDuplicate1"}) {
    EXPECT_TRUE(Control<QWidget>(name)->isVisible()) << name;
  }
  EXPECT_GE(Control<QWidget>("rchArticle1")->height(), 60);
  EXPECT_GE(Control<QWidget>("lstPassages")->height(), 100);
}

TEST_F(WindowGeometry, AtTheDesignSizeAndOnAFullHdScreenNothingOverlaps) {
  ExpectCleanLayout(*Control<QWidget>("stsMain"), "design");
  window->resize(1920, 1080);
  QApplication::processEvents();
  ASSERT_EQ(window->size(), QSize(1920, 1080));
  ExpectCleanLayout(*Control<QWidget>("stsMain"), "1920x1080");
  EXPECT_EQ(Control<QWidget>("panLeft")->width(), 364);
}

}  // namespace
}  // namespace vellora::test
