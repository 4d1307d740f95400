// Delete All, Ctrl+V as plain text and the minimum-length correction.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "NumericField.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

class PaneCommandTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QGuiApplication::clipboard()->clear();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  void TearDown() override {
    QGuiApplication::clipboard()->clear();
    WindowTest::TearDown();
  }
  void PutFormattedText() {
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<p><b>Bold</b> and <span style='background:red'>red</span></p>"));
    data->setText(QStringLiteral("Bold and red"));
    QGuiApplication::clipboard()->setMimeData(data);
  }
  QSpinBox* Minimum() { return Control<QSpinBox>("minNumWords"); }
};

TEST_F(PaneCommandTest, DeleteAllEmptiesThePaneAndZeroesItsCounters) {
  Type(window->Pane1(), QStringLiteral("One two. Three"));
  Type(window->Pane2(), QStringLiteral("One two"));
  window->btnCompareExClick();
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("two"));
  window->btnCalculateKwDensity1Click();
  window->findChild<QPushButton*>(QStringLiteral("btnClear1"))->click();
  EXPECT_EQ(window->Pane1().Text(), u"");
  EXPECT_EQ(window->ArticleText1, u"");
  EXPECT_EQ(Control<NumericField>("edtWords1")->text(), QStringLiteral("0"));
  EXPECT_EQ(Control<NumericField>("edtSenten1")->text(), QStringLiteral("0"));
  EXPECT_EQ(Control<NumericField>("edtParag1")->text(), QStringLiteral("0"));
  // The share of the texts compared before no longer holds; the densities stay.
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QString());
  EXPECT_EQ(Control<NumericField>("edtDensTotal1")->text(), QStringLiteral("1"));
  EXPECT_EQ(Control<NumericField>("edtDensPerc1")->text(), QStringLiteral("33.33"));
  EXPECT_EQ(window->Pane2().Text(), u"One two");
}

TEST_F(PaneCommandTest, DeleteAllOnAnEmptyPaneLeavesItEmpty) {
  window->btnClear2Click();
  EXPECT_EQ(window->Pane2().Text(), u"");
  EXPECT_EQ(Control<NumericField>("edtWords2")->text(), QStringLiteral("0"));
}

TEST_F(PaneCommandTest, CtrlVPastesFormattedClipboardAsPlainText) {
  PutFormattedText();
  QTextEdit* edit = window->Pane1().Edit();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window->Pane1().Text(), u"Bold and red");
  for (int i = 0; i < window->Pane1().Length(); ++i) {
    EXPECT_FALSE(BoldAt(window->Pane1(), i)) << i;
    EXPECT_EQ(BackgroundAt(window->Pane1(), i), NoHighlight) << i;
  }
  EXPECT_EQ(Control<NumericField>("edtWords1")->text(), QStringLiteral("3"));
}

TEST_F(PaneCommandTest, CtrlVReplacesTheSelectionInPaneTwo) {
  QGuiApplication::clipboard()->setText(QStringLiteral("new"));
  Type(window->Pane2(), QStringLiteral("an old text"));
  window->Pane2().Select(3, 3);
  window->Pane2().Edit()->setFocus();
  QTest::keyClick(window->Pane2().Edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window->Pane2().Text(), u"an new text");
  EXPECT_EQ(window->ArticleText2, u"an new text");
}

TEST_F(PaneCommandTest, CtrlVRunsThePanesHiddenItem) {
  QGuiApplication::clipboard()->setText(QStringLiteral("x"));
  int triggered = 0;
  QObject::connect(Control<QAction>("mnuPaste"), &QAction::triggered, [&] { ++triggered; });
  window->Pane1().Edit()->setFocus();
  QTest::keyClick(window->Pane1().Edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(triggered, 1);
  EXPECT_EQ(window->Pane1().Text(), u"x");
  EXPECT_EQ(window->Pane2().Text(), u"");
}

TEST_F(PaneCommandTest, PastedTextArrivesNormalisedAndOneUndoTakesItBack) {
  QGuiApplication::clipboard()->setText(QStringLiteral("don\u2019t\u00A0stop"));
  Type(window->Pane1(), QStringLiteral("x "));
  window->Pane1().Select(2, 0);
  window->Pane1().Edit()->setFocus();
  QTest::keyClick(window->Pane1().Edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window->Pane1().Text(), u"x don't stop");
  EXPECT_EQ(Control<NumericField>("edtWords1")->text(), QStringLiteral("3"));
  window->Pane1().Edit()->undo();
  EXPECT_EQ(window->Pane1().Text(), u"x ");
  EXPECT_EQ(window->ArticleText1, u"x ");
}

TEST_F(PaneCommandTest, CtrlVWithAnEmptyClipboardChangesNothing) {
  Type(window->Pane1(), QStringLiteral("stay"));
  window->Pane1().Select(0, 4);
  window->Pane1().Edit()->setFocus();
  QTest::keyClick(window->Pane1().Edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window->Pane1().Text(), u"stay");
}

TEST_F(PaneCommandTest, CtrlVInAnotherControlKeepsItsOwnPaste) {
  QGuiApplication::clipboard()->setText(QStringLiteral("phrase"));
  auto* keyword = Control<QLineEdit>("edtKw1");
  keyword->setFocus();
  QTest::keyClick(keyword, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(keyword->text(), QStringLiteral("phrase"));
  EXPECT_EQ(window->Pane1().Text(), u"");
}

TEST_F(PaneCommandTest, ShiftInsertAlsoPastesPlainText) {
  PutFormattedText();
  QTextEdit* edit = window->Pane1().Edit();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(window->Pane1().Text(), u"Bold and red");
  EXPECT_FALSE(BoldAt(window->Pane1(), 0));
}

TEST_F(PaneCommandTest, DownArrowAtOneStaysAtOne) {
  Minimum()->setFocus();
  QTest::keyClick(Minimum(), Qt::Key_Down);
  EXPECT_EQ(Minimum()->value(), 1);
  EXPECT_EQ(Minimum()->text(), QStringLiteral("1"));
  QTest::keyClick(Minimum(), Qt::Key_Up);
  EXPECT_EQ(Minimum()->value(), 2);
}

TEST_F(PaneCommandTest, TypingZeroYieldsOne) {
  Minimum()->setFocus();
  Minimum()->selectAll();
  QTest::keyClicks(Minimum(), QStringLiteral("0"));
  EXPECT_EQ(Minimum()->value(), 1);
}

TEST_F(PaneCommandTest, ZeroSetByTheProgramYieldsOne) {
  Minimum()->setValue(5);
  Minimum()->setValue(0);
  EXPECT_EQ(Minimum()->value(), 1);
}

TEST_F(PaneCommandTest, TypedNegativeValueStays) {
  Minimum()->setFocus();
  Minimum()->selectAll();
  QTest::keyClicks(Minimum(), QStringLiteral("-3"));
  EXPECT_EQ(Minimum()->value(), -3);
}

TEST_F(PaneCommandTest, TypedLargerNumbersStay) {
  Minimum()->setFocus();
  Minimum()->selectAll();
  QTest::keyClicks(Minimum(), QStringLiteral("12"));
  EXPECT_EQ(Minimum()->value(), 12);
}

}  // namespace
}  // namespace vellora::test
