// The match mode and the shared-passage list in the window: the mode switch and its remembered
// choice, both shares, the list's rows, selection and F3 moving both panes to a block, Ctrl+click
// showing a word's partner, and every kind of change clearing the list.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <functional>
#include <ostream>

#include "NumericField.h"
#include "PassageListModel.h"
#include "UCompare.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

class SharedPassagesWindow : public WindowTest {
 protected:
  void Choose(MatchMode mode, int gap = 0) {
    Control<QComboBox>("cbxMatch")->setCurrentIndex(mode == MatchMode::Anywhere ? 1 : 0);
    if (mode == MatchMode::Anywhere) Control<QSpinBox>("spnGap")->setValue(gap);
  }
  void Compare(const QString& a1, const QString& a2, int minimum, MatchMode mode, int gap = 0) {
    Type(window->Pane1(), a1);
    Type(window->Pane2(), a2);
    Control<QSpinBox>("minNumWords")->setValue(minimum);
    Choose(mode, gap);
    Control<QPushButton>("btnCompareEx")->click();
  }
  QTableView* List() { return Control<QTableView>("lstPassages"); }
  int Rows() { return List()->model()->rowCount(); }
  int CurrentRow() { return List()->currentIndex().row(); }
  QString Cell(int row, int column) {
    return List()->model()->index(row, column).data().toString();
  }
  PaneRange Selection(ArticlePane& pane) { return {pane.SelStart(), pane.SelLength()}; }
  // The range of a piece of text that occurs once in the pane.
  PaneRange In(ArticlePane& pane, const QString& piece) {
    const QString text = QString::fromStdU16String(pane.Text());
    const int at = static_cast<int>(text.indexOf(piece));
    EXPECT_GE(at, 0) << piece.toStdString();
    EXPECT_EQ(text.indexOf(piece, at + 1), -1) << piece.toStdString() << " occurs twice";
    return {at, static_cast<std::int32_t>(piece.size())};
  }
  // True when the character at position shows inside the pane's viewport.
  bool InView(ArticlePane& pane, std::int32_t position) {
    QTextCursor cursor(pane.Edit()->document());
    cursor.setPosition(position);
    const QRect rect = pane.Edit()->cursorRect(cursor);
    return rect.top() >= 0 && rect.bottom() <= pane.Edit()->viewport()->height();
  }
  // Clicks with Ctrl held on the middle of the character at position.
  void CtrlClick(ArticlePane& pane, std::int32_t position) {
    QTextCursor cursor(pane.Edit()->document());
    cursor.setPosition(position);
    const QRect rect = pane.Edit()->cursorRect(cursor);
    QTest::mouseClick(pane.Edit()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      QPoint(rect.left() + 3, rect.center().y()));
  }
};

// Filler lines that share nothing with the passages, to push them out of view.
QString Filler(const QString& word, int lines) {
  QString text;
  for (int i = 0; i < lines; ++i) text += QStringLiteral("%1%2 %1x%2 %1y%2.\n").arg(word).arg(i);
  return text;
}

const QString kMoved1 = QStringLiteral("alpha beta gamma delta. one two three four");
const QString kMoved2 = QStringLiteral("one two three four, and then alpha beta gamma.");

TEST_F(SharedPassagesWindow, InOrderIsTheDefaultAndTheGapIsOffForIt) {
  EXPECT_EQ(Control<QComboBox>("cbxMatch")->currentText(), QStringLiteral("In order"));
  EXPECT_EQ(Control<QComboBox>("cbxMatch")->count(), 2);
  EXPECT_EQ(Control<QSpinBox>("spnGap")->value(), 0);
  EXPECT_FALSE(Control<QSpinBox>("spnGap")->isEnabled());
  EXPECT_EQ(Control<QLabel>("lblMatch")->text(), QStringLiteral("Match:"));
  EXPECT_EQ(Control<QLabel>("lblGap")->text(), QStringLiteral("Gaps up to"));
}

TEST_F(SharedPassagesWindow, AnywhereEnablesTheGapAndInOrderDisablesItAgain) {
  Choose(MatchMode::Anywhere);
  EXPECT_TRUE(Control<QSpinBox>("spnGap")->isEnabled());
  Choose(MatchMode::InOrder);
  EXPECT_FALSE(Control<QSpinBox>("spnGap")->isEnabled());
}

TEST_F(SharedPassagesWindow, GapUnitFollowsTheUnitChoice) {
  auto* unit = Control<QComboBox>("cbxType");
  auto* label = Control<QLabel>("lblGapUnit");
  EXPECT_EQ(label->text(), QStringLiteral("word(s)"));
  unit->setCurrentIndex(1);
  EXPECT_EQ(label->text(), QStringLiteral("sentence(s)"));
  unit->setCurrentIndex(2);
  EXPECT_EQ(label->text(), QStringLiteral("paragraph(s)"));
  unit->setCurrentIndex(0);
  EXPECT_EQ(label->text(), QStringLiteral("word(s)"));
}

TEST_F(SharedPassagesWindow, ModeAndGapAreRememberedForTheNextWindow) {
  Choose(MatchMode::Anywhere, 2);
  window.reset();
  window = NewWindow();
  EXPECT_EQ(Control<QComboBox>("cbxMatch")->currentIndex(), 1);
  EXPECT_EQ(Control<QSpinBox>("spnGap")->value(), 2);
  EXPECT_TRUE(Control<QSpinBox>("spnGap")->isEnabled());

  Choose(MatchMode::InOrder);
  window.reset();
  window = NewWindow();
  EXPECT_EQ(Control<QComboBox>("cbxMatch")->currentIndex(), 0);
  EXPECT_FALSE(Control<QSpinBox>("spnGap")->isEnabled());
}

TEST_F(SharedPassagesWindow, AnywhereFindsMovedPassagesThatInOrderMisses) {
  const QString moved1 = QStringLiteral("a b c d e f g h i");
  const QString moved2 = QStringLiteral("g h i x d e f y a b c");
  Compare(moved1, moved2, 3, MatchMode::InOrder);
  const double inOrder = Control<NumericField>("edtDuplicate")->Value();
  Compare(moved1, moved2, 3, MatchMode::Anywhere);
  // Nine of Article 2's eleven words, all nine of Article 1's.
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QStringLiteral("82"));
  EXPECT_EQ(Control<NumericField>("edtDuplicate1")->text(), QStringLiteral("100"));
  EXPECT_LT(inOrder, Control<NumericField>("edtDuplicate")->Value());
  EXPECT_FALSE(Comparing);
}

TEST_F(SharedPassagesWindow, ArticleOneShareIsItsOwnMarkedWordsOverItsWordCount) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  // Seven of Article 2's nine words, seven of Article 1's eight.
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QStringLiteral("78"));
  EXPECT_EQ(Control<NumericField>("edtDuplicate1")->text(), QStringLiteral("88"));
  EXPECT_DOUBLE_EQ(Control<NumericField>("edtDuplicate1")->Value(), 87.5);
}

TEST_F(SharedPassagesWindow, InOrderCompareShowsBothShares) {
  Compare(QStringLiteral("The quick brown fox jumps over the lazy dog."),
          QStringLiteral("A quick brown fox jumps over a lazy dog."), 3, MatchMode::InOrder);
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QStringLiteral("78"));
  EXPECT_EQ(Control<NumericField>("edtDuplicate1")->text(), QStringLiteral("78"));
  EXPECT_GE(Rows(), 1);
}

TEST_F(SharedPassagesWindow, ListHasOneRowPerBlockWithLengthsAndFirstWords) {
  Compare(QStringLiteral("a b c d e f g h i"), QStringLiteral("g h i x d e f y a b c"), 3,
          MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 3);
  EXPECT_EQ(Cell(0, PassageListModel::ColumnFirstWords), QStringLiteral("g h i"));
  EXPECT_EQ(Cell(1, PassageListModel::ColumnFirstWords), QStringLiteral("d e f"));
  EXPECT_EQ(Cell(2, PassageListModel::ColumnFirstWords), QStringLiteral("a b c"));
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Cell(row, PassageListModel::ColumnWords1), QStringLiteral("3"));
    EXPECT_EQ(Cell(row, PassageListModel::ColumnWords2), QStringLiteral("3"));
  }
  // The colour cell carries the block's colour as the panes show it.
  const QColor first = List()
                           ->model()
                           ->index(0, PassageListModel::ColumnBlock)
                           .data(Qt::BackgroundRole)
                           .value<QBrush>()
                           .color();
  const std::int32_t shown = BackgroundAt(window->Pane2(), 0);
  EXPECT_EQ(first, QColor(shown & 0xFF, (shown >> 8) & 0xFF, shown >> 16));
  EXPECT_EQ(Control<QToolButton>("btnPassages")->text(), QStringLiteral("Shared passages (3)"));
}

TEST_F(SharedPassagesWindow, ListStartsHiddenAndTheToggleShowsAndHidesIt) {
  auto* toggle = Control<QToolButton>("btnPassages");
  EXPECT_FALSE(List()->isVisible());
  EXPECT_FALSE(toggle->isChecked());
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  const int paneHeight = window->Pane1().Edit()->height();
  toggle->click();
  ProcessEventsUntil([&] { return window->Pane1().Edit()->height() < paneHeight; });
  EXPECT_TRUE(List()->isVisible());
  EXPECT_LT(window->Pane1().Edit()->height(), paneHeight);
  EXPECT_EQ(Rows(), 2);
  toggle->click();
  ProcessEventsUntil([&] { return window->Pane1().Edit()->height() == paneHeight; });
  EXPECT_FALSE(List()->isVisible());
  EXPECT_EQ(window->Pane1().Edit()->height(), paneHeight);
}

TEST_F(SharedPassagesWindow, ShownListIsRememberedForTheNextWindow) {
  Control<QToolButton>("btnPassages")->click();
  window.reset();
  window = NewWindow();
  window->show();
  EXPECT_TRUE(Control<QToolButton>("btnPassages")->isChecked());
  EXPECT_TRUE(List()->isVisible());
}

TEST_F(SharedPassagesWindow, ListLiesBelowThePanesWithoutCoveringThem) {
  Control<QToolButton>("btnPassages")->click();
  ProcessEventsUntil([&] { return List()->isVisible() && List()->height() > 0; });
  const QRect list =
      List()->geometry().translated(List()->mapTo(window.get(), QPoint()) - List()->pos());
  for (ArticlePane* pane : {&window->Pane1(), &window->Pane2()}) {
    QWidget* edit = pane->Edit();
    const QRect area(edit->mapTo(window.get(), QPoint()), edit->size());
    EXPECT_FALSE(area.intersects(list));
    EXPECT_LE(area.bottom(), list.top());
  }
}

TEST_F(SharedPassagesWindow, SelectingARowSelectsTheBlockInBothPanesAndScrollsToIt) {
  const QString a1 = QStringLiteral("first shared run of words here.\n") + Filler("p", 150) +
                     QStringLiteral("second common stretch of text now.");
  const QString a2 = Filler("q", 150) + QStringLiteral("second common stretch of text now.\n") +
                     Filler("r", 150) + QStringLiteral("first shared run of words here.");
  Compare(a1, a2, 4, MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 2);
  // Block 1 lies in Article 2 first: the second stretch.
  List()->setCurrentIndex(List()->model()->index(0, 0));
  QCoreApplication::processEvents();
  const PaneRange second1 =
      In(window->Pane1(), QStringLiteral("second common stretch of text now"));
  const PaneRange second2 =
      In(window->Pane2(), QStringLiteral("second common stretch of text now"));
  EXPECT_EQ(Selection(window->Pane1()), second1);
  EXPECT_EQ(Selection(window->Pane2()), second2);
  EXPECT_TRUE(InView(window->Pane1(), second1.Start));
  EXPECT_TRUE(InView(window->Pane2(), second2.Start));
  EXPECT_GT(window->Pane1().Edit()->verticalScrollBar()->value(), 0);

  const int scrolledTo = window->Pane1().Edit()->verticalScrollBar()->value();
  List()->setCurrentIndex(List()->model()->index(1, 0));
  QCoreApplication::processEvents();
  const PaneRange first1 = In(window->Pane1(), QStringLiteral("first shared run of words here"));
  const PaneRange first2 = In(window->Pane2(), QStringLiteral("first shared run of words here"));
  EXPECT_EQ(Selection(window->Pane1()), first1);
  EXPECT_EQ(Selection(window->Pane2()), first2);
  EXPECT_TRUE(InView(window->Pane1(), first1.Start));
  EXPECT_TRUE(InView(window->Pane2(), first2.Start));
  EXPECT_LT(window->Pane1().Edit()->verticalScrollBar()->value(), scrolledTo);
}

TEST_F(SharedPassagesWindow, ABlockTallerThanThePaneShowsFromItsStart) {
  const QString shared = Filler("s", 200);
  Compare(Filler("a", 100) + shared, Filler("b", 100) + shared, 4, MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 1);
  List()->setCurrentIndex(List()->model()->index(0, 0));
  QCoreApplication::processEvents();
  const PaneRange range = window->Blocks().BlockRange(0, 2);
  EXPECT_EQ(Selection(window->Pane2()), range);
  EXPECT_TRUE(InView(window->Pane2(), range.Start));
}

TEST_F(SharedPassagesWindow, ClickingTheCurrentRowAgainShowsItsBlockAgain) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  Control<QToolButton>("btnPassages")->click();
  ASSERT_TRUE(ProcessEventsUntil([&] { return List()->isVisible() && List()->height() > 60; }));
  List()->setCurrentIndex(List()->model()->index(1, 0));
  window->Pane2().Select(0, 0);
  const QRect cell = List()->visualRect(List()->model()->index(1, PassageListModel::ColumnWords1));
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(Selection(window->Pane2()), In(window->Pane2(), QStringLiteral("alpha beta gamma")));
}

TEST_F(SharedPassagesWindow, F3AndShiftF3GoToTheNextAndPreviousBlockRoundTheEnds) {
  Compare(QStringLiteral("a b c d e f g h i"), QStringLiteral("g h i x d e f y a b c"), 3,
          MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 3);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->Pane1().Edit()->setFocus();
  ArticlePane& pane2 = window->Pane2();
  auto press = [this](Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3, modifiers);
  };
  press(Qt::NoModifier);
  EXPECT_EQ(CurrentRow(), 0);
  EXPECT_EQ(Selection(pane2), In(pane2, QStringLiteral("g h i")));
  press(Qt::NoModifier);
  EXPECT_EQ(CurrentRow(), 1);
  EXPECT_EQ(Selection(pane2), In(pane2, QStringLiteral("d e f")));
  EXPECT_EQ(Selection(window->Pane1()), In(window->Pane1(), QStringLiteral("d e f")));
  press(Qt::NoModifier);
  press(Qt::NoModifier);
  EXPECT_EQ(CurrentRow(), 0);
  press(Qt::ShiftModifier);
  EXPECT_EQ(CurrentRow(), 2);
  EXPECT_EQ(Selection(pane2), In(pane2, QStringLiteral("a b c")));
  press(Qt::ShiftModifier);
  EXPECT_EQ(CurrentRow(), 1);
}

TEST_F(SharedPassagesWindow, F3WorksWithTheListCollapsedAndDoesNothingWithoutBlocks) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  Type(window->Pane1(), kMoved1);
  window->Pane1().Edit()->setFocus();
  window->Pane1().Select(3, 2);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
  EXPECT_EQ(Selection(window->Pane1()), (PaneRange{3, 2}));

  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  Control<QToolButton>("btnPassages")->click();
  window->Pane1().Edit()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
  EXPECT_EQ(Selection(window->Pane1()), In(window->Pane1(), QStringLiteral("one two three four")));
}

TEST_F(SharedPassagesWindow, CtrlClickOnAWordOfArticleTwoSelectsItsSourceInArticleOne) {
  const QString a1 = QStringLiteral("alpha beta gamma delta.\n") + Filler("p", 150) +
                     QStringLiteral("one two three four");
  Compare(a1, kMoved2, 3, MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 2);
  ArticlePane& pane2 = window->Pane2();
  const PaneRange caret = Selection(pane2);
  CtrlClick(pane2, In(pane2, QStringLiteral("three")).Start + 1);
  const PaneRange source = In(window->Pane1(), QStringLiteral("one two three four"));
  EXPECT_EQ(Selection(window->Pane1()), source);
  EXPECT_TRUE(InView(window->Pane1(), source.Start));
  EXPECT_EQ(CurrentRow(), 0);
  // The click shows the partner instead of moving the caret in the clicked pane.
  EXPECT_EQ(Selection(pane2), caret);
}

TEST_F(SharedPassagesWindow, CtrlClickOnAWordOfArticleOneSelectsItsCopyInArticleTwo) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  CtrlClick(window->Pane1(), In(window->Pane1(), QStringLiteral("gamma")).Start);
  EXPECT_EQ(Selection(window->Pane2()), In(window->Pane2(), QStringLiteral("alpha beta gamma")));
  EXPECT_EQ(CurrentRow(), 1);
}

TEST_F(SharedPassagesWindow, CtrlClickOnAnUnmarkedWordChangesNothingAndPlainClicksMoveTheCaret) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  window->Pane1().Select(0, 0);
  CtrlClick(window->Pane2(), In(window->Pane2(), QStringLiteral("then")).Start + 1);
  EXPECT_EQ(Selection(window->Pane1()), (PaneRange{0, 0}));
  EXPECT_EQ(CurrentRow(), -1);

  ArticlePane& pane2 = window->Pane2();
  QTextCursor cursor(pane2.Edit()->document());
  cursor.setPosition(In(pane2, QStringLiteral("then")).Start);
  QTest::mouseClick(pane2.Edit()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    pane2.Edit()->cursorRect(cursor).center() + QPoint(1, 0));
  EXPECT_EQ(pane2.SelStart(), In(pane2, QStringLiteral("then")).Start);
  EXPECT_EQ(window->Pane1().SelLength(), 0);
}

struct ClearingCase {
  const char* name;
  std::function<void(TfrmMain&)> change;
};

void PrintTo(const ClearingCase& c, std::ostream* out) {
  *out << c.name;
}

class ClearingChanges : public SharedPassagesWindow,
                        public ::testing::WithParamInterface<ClearingCase> {};

TEST_P(ClearingChanges, ClearTheBlocksAndTheList) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 2);
  List()->setCurrentIndex(List()->model()->index(1, 0));
  GetParam().change(*window);
  QCoreApplication::processEvents();
  EXPECT_EQ(Rows(), 0);
  EXPECT_TRUE(window->Blocks().Empty());
  EXPECT_EQ(Control<QToolButton>("btnPassages")->text(), QStringLiteral("Shared passages"));
  // Nothing is left to go to, nor a partner to show.
  window->Pane1().Select(0, 0);
  window->findChild<QAction*>(QStringLiteral("actNextPassage"))->trigger();
  EXPECT_EQ(window->Pane1().SelLength(), 0);
  CtrlClick(window->Pane2(), 0);
  EXPECT_EQ(window->Pane1().SelLength(), 0);
}

void Click(TfrmMain& window, const char* button) {
  window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

void TypeAt(ArticlePane& pane, int position, const QString& text) {
  QTextCursor cursor(pane.Edit()->document());
  cursor.setPosition(position);
  pane.Edit()->setTextCursor(cursor);
  QTest::keyClicks(pane.Edit(), text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, ClearingChanges,
    ::testing::Values(
        ClearingCase{"ClearHighlighting1", [](TfrmMain& w) { Click(w, "btnClearH1"); }},
        ClearingCase{"ClearHighlighting2", [](TfrmMain& w) { Click(w, "btnClearH2"); }},
        ClearingCase{"DeleteAll1", [](TfrmMain& w) { Click(w, "btnClear1"); }},
        ClearingCase{"DeleteAll2", [](TfrmMain& w) { Click(w, "btnClear2"); }},
        ClearingCase{"Typing1", [](TfrmMain& w) { TypeAt(w.Pane1(), 0, QStringLiteral("z")); }},
        ClearingCase{"Typing2", [](TfrmMain& w) { TypeAt(w.Pane2(), 3, QStringLiteral("z")); }},
        ClearingCase{"Paste1",
                     [](TfrmMain& w) {
                       w.Pane1().Select(0, 0);
                       w.Pane1().ReplaceSelection(u"pasted ");
                     }},
        ClearingCase{"ReplaceAll2",
                     [](TfrmMain& w) { w.Pane2().Edit()->setPlainText(QStringLiteral("new")); }}));

TEST_F(SharedPassagesWindow, KeywordDensityKeepsTheListAsItKeepsTheShare) {
  // The share still describes the texts, and so do the blocks: only the colours of one pane go.
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  Control<QLineEdit>("edtKw1")->setText(QStringLiteral("alpha"));
  Control<QPushButton>("btnCalculateKwDensity1")->click();
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(Control<NumericField>("edtDuplicate")->text(), QStringLiteral("78"));
  window->findChild<QAction*>(QStringLiteral("actNextPassage"))->trigger();
  EXPECT_EQ(Selection(window->Pane1()), In(window->Pane1(), QStringLiteral("one two three four")));
}

TEST_F(SharedPassagesWindow, ImportingAFileClearsTheList) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 2);
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("article.txt"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("imported text");
  file.close();
  window->SetFileChooser([path](QFileDialog&) { return path; });
  Click(*window, "btnImport1");
  EXPECT_EQ(Rows(), 0);
}

TEST_F(SharedPassagesWindow, CompareAgainReplacesTheRowsAndChangingTheModeAloneKeepsThem) {
  Compare(kMoved1, kMoved2, 3, MatchMode::Anywhere);
  ASSERT_EQ(Rows(), 2);
  Choose(MatchMode::InOrder);
  EXPECT_EQ(Rows(), 2);
  Control<QSpinBox>("minNumWords")->setValue(2);
  Control<QPushButton>("btnCompareEx")->click();
  ArticleSpans spans1;
  ArticleSpans spans2;
  ComparisonSettings settings;
  settings.MinLength = 2;
  const CompareOutcome walk =
      CompareArticles(kMoved1.toStdU16String(), spans1, kMoved2.toStdU16String(), spans2, settings);
  ASSERT_EQ(Rows(), static_cast<int>(walk.Blocks.size()));
  for (int row = 0; row < Rows(); ++row) {
    EXPECT_EQ(window->Blocks().BlockRange(row, 2),
              (PaneRange{spans2.Words[walk.Blocks[row].First2].StartPos - 1,
                         spans2.Words[walk.Blocks[row].Last2].EndPos -
                             spans2.Words[walk.Blocks[row].First2].StartPos}));
  }
}

}  // namespace
}  // namespace vellora::test
