// The pane change handlers: normalisation written back in place, segmentation, the counters and
// the Comparing guard.
#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>

#include "NumericField.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

class ChangeHandlerTest : public WindowTest {
 protected:
  QString Counts(int article) {
    const QString n = QString::number(article);
    return Control<NumericField>(qPrintable(QStringLiteral("edtWords") + n))->text() + u' ' +
           Control<NumericField>(qPrintable(QStringLiteral("edtSenten") + n))->text() + u' ' +
           Control<NumericField>(qPrintable(QStringLiteral("edtParag") + n))->text();
  }
};

struct CountCase {
  const char16_t* text;
  const char* counts;
};

void PrintTo(const CountCase& c, std::ostream* out) {
  *out << '"' << Printable(c.text) << "\" counts " << c.counts;
}

class ChangeHandlerCounts : public ChangeHandlerTest,
                            public ::testing::WithParamInterface<CountCase> {};

TEST_P(ChangeHandlerCounts, TypingShowsWordSentenceAndParagraphCounts) {
  Type(window->Pane1(), QString::fromStdU16String(GetParam().text));
  EXPECT_EQ(Counts(1), QString::fromLatin1(GetParam().counts));
  EXPECT_EQ(Counts(2), QStringLiteral("0 0 0"));
}

INSTANTIATE_TEST_SUITE_P(Table, ChangeHandlerCounts,
                         ::testing::Values(CountCase{u"", "0 0 0"}, CountCase{u"...!!!", "0 0 0"},
                                           CountCase{u"Hello, world! How are you?", "5 2 1"},
                                           CountCase{u"word", "1 1 1"}, CountCase{u"a\tb", "1 1 1"},
                                           CountCase{u"3.14", "2 2 1"},
                                           CountCase{u"Dr. Smith\r\n", "2 2 1"},
                                           CountCase{u"Line one\r\n\r\nLine two", "4 2 2"},
                                           CountCase{u"state-of-the-art: yes", "2 1 1"},
                                           CountCase{u"don\u2019t stop\u2013now", "2 1 1"},
                                           CountCase{u"a\u00A0b", "2 1 1"}));

TEST_F(ChangeHandlerTest, WordPositionsFollowTheText) {
  Type(window->Pane2(), QStringLiteral("Hello, world! How are you?"));
  ASSERT_EQ(window->Words2.Count(), 5);
  EXPECT_EQ(window->Words2[0].StartPos, 1);
  EXPECT_EQ(window->Words2[0].EndPos, 6);
  EXPECT_EQ(window->Words2[4].StartPos, 23);
  EXPECT_EQ(window->Words2[4].EndPos, 26);
  ASSERT_EQ(window->Sentences2.Count(), 2);
  EXPECT_EQ(window->Sentences2[1].FirstWord, 2);
  EXPECT_EQ(window->Sentences2[1].LastWord, 4);
  EXPECT_EQ(window->Paragraphs2.Count(), 1);
  EXPECT_EQ(window->ArticleText2, u"Hello, world! How are you?");
}

TEST_F(ChangeHandlerTest, NormalisationIsWrittenBackIntoThePane) {
  Type(window->Pane1(), QStringLiteral("don\u2019t\u00A0stop\u2013now"));
  EXPECT_EQ(window->Pane1().Text(), u"don't stop-now");
  EXPECT_EQ(window->ArticleText1, u"don't stop-now");
  EXPECT_EQ(Counts(1), QStringLiteral("2 1 1"));
}

TEST_F(ChangeHandlerTest, TypedNoBreakSpaceIsReplacedWhereItStandsKeepingCaretAndFormat) {
  ArticlePane& pane = window->Pane1();
  Type(pane, QStringLiteral("alpha beta"));
  QTextCursor bold(pane.Edit()->document());
  bold.setPosition(0);
  bold.setPosition(5, QTextCursor::KeepAnchor);
  QTextCharFormat format;
  format.setFontWeight(QFont::Bold);
  bold.mergeCharFormat(format);
  pane.Select(5, 0);
  pane.Edit()->setFocus();
  QTest::keyClicks(pane.Edit(), QString(QChar(0x00A0)));
  EXPECT_EQ(pane.Text(), u"alpha  beta");
  EXPECT_EQ(pane.Edit()->textCursor().position(), 6);
  EXPECT_TRUE(BoldAt(pane, 0));
  EXPECT_TRUE(BoldAt(pane, 4));
  EXPECT_EQ(window->ArticleText1, u"alpha  beta");
  EXPECT_EQ(Counts(1), QStringLiteral("2 1 1"));
  QTest::keyClicks(pane.Edit(), QStringLiteral("x"));
  EXPECT_EQ(pane.Text(), u"alpha x beta");
}

TEST_F(ChangeHandlerTest, UndoTakesBackTheTypingTogetherWithItsNormalisation) {
  ArticlePane& pane = window->Pane1();
  Type(pane, QStringLiteral("alpha"));
  pane.Select(5, 0);
  pane.Edit()->setFocus();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x2019)));
  QApplication::sendEvent(pane.Edit(), &press);
  ASSERT_EQ(pane.Text(), u"alpha'");
  pane.Edit()->undo();
  EXPECT_EQ(pane.Text(), u"alpha");
  EXPECT_EQ(window->ArticleText1, u"alpha");
  pane.Edit()->redo();
  EXPECT_EQ(pane.Text(), u"alpha'");
  EXPECT_EQ(window->ArticleText1, u"alpha'");
}

TEST_F(ChangeHandlerTest, NormalisingLeavesTheScrollPositionAlone) {
  ArticlePane& pane = window->Pane1();
  QString text;
  for (int i = 0; i < 300; ++i) text += QStringLiteral("Line number %1 of the text.\n").arg(i);
  Type(pane, text);
  QApplication::processEvents();
  QScrollBar* bar = pane.Edit()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  bar->setValue(bar->maximum() / 3);
  const int before = bar->value();
  QTextCursor far(pane.Edit()->document());
  far.movePosition(QTextCursor::End);
  far.insertText(QStringLiteral("tail\u00A0end"));
  QApplication::processEvents();
  EXPECT_EQ(bar->value(), before);
  EXPECT_EQ(window->ArticleText1.substr(window->ArticleText1.size() - 8), u"tail end");
}

TEST_F(ChangeHandlerTest, WhileComparingChangesLeaveStoredTextListsAndCountsAlone) {
  Type(window->Pane1(), QStringLiteral("one two three"));
  Comparing = true;
  Type(window->Pane1(), QStringLiteral("completely different text here"));
  Type(window->Pane2(), QStringLiteral("also new"));
  Comparing = false;
  EXPECT_EQ(window->ArticleText1, u"one two three");
  EXPECT_EQ(window->Words1.Count(), 3);
  EXPECT_EQ(Counts(1), QStringLiteral("3 1 1"));
  EXPECT_EQ(window->ArticleText2, u"");
  EXPECT_EQ(Counts(2), QStringLiteral("0 0 0"));
}

TEST_F(ChangeHandlerTest, AChangeResetsTheWordColours) {
  Type(window->Pane1(), QStringLiteral("same words"));
  Type(window->Pane2(), QStringLiteral("same words"));
  window->btnCompareExClick();
  ASSERT_NE(window->Words1[0].Color, NoHighlight);
  QTextCursor end(window->Pane1().Edit()->document());
  end.movePosition(QTextCursor::End);
  end.insertText(QStringLiteral(" more"));
  for (const TWord& word : window->Words1) EXPECT_EQ(word.Color, NoHighlight);
  EXPECT_EQ(window->Words1.Count(), 3);
}

TEST_F(ChangeHandlerTest, TypedWordCountHoldsUntilThePaneChangesAgain) {
  Type(window->Pane2(), QStringLiteral("a b c d"));
  auto* words2 = Control<NumericField>("edtWords2");
  words2->selectAll();
  QTest::keyClicks(words2, QStringLiteral("40"));
  EXPECT_EQ(words2->Value(), 40.0);
  Type(window->Pane2(), QStringLiteral("a b c"));
  EXPECT_EQ(words2->Value(), 3.0);
}

}  // namespace
}  // namespace vellora::test
