// The pane operations over a real QTextEdit: text with engine positions, selection, formatting
// of the selection or insertion point, replacement, search, in-place unit replacement, the
// off-screen rebuild and plain-text paste.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ArticleEdit.h"
#include "ArticlePane.h"
#include "PaneHighlight.h"
#include "WindowFixture.h"

namespace vellora::test {
namespace {

class PaneTest : public ::testing::Test {
 protected:
  PaneTest() : pane(&edit) { edit.resize(300, 200); }
  ArticleEdit edit;
  ArticlePane pane;
};

TEST_F(PaneTest, TextGivesOneUnitPerLineBreakAndKeepsNoBreakSpaces) {
  edit.setPlainText(QStringLiteral("a\u00A0b\r\nc\rd\ne"));
  EXPECT_EQ(pane.Text(), u"a\u00A0b\nc\nd\ne");
  EXPECT_EQ(pane.Length(), 9);
}

TEST_F(PaneTest, EmptyPaneHasEmptyText) {
  EXPECT_EQ(pane.Text(), u"");
  EXPECT_EQ(pane.Length(), 0);
}

TEST_F(PaneTest, SelectSetsStartAndLengthAndZeroLengthPlacesTheCaret) {
  edit.setPlainText(QStringLiteral("Hello world"));
  pane.Select(6, 5);
  EXPECT_EQ(pane.SelStart(), 6);
  EXPECT_EQ(pane.SelLength(), 5);
  EXPECT_EQ(edit.textCursor().selectedText(), QStringLiteral("world"));
  pane.Select(3, 0);
  EXPECT_EQ(edit.textCursor().position(), 3);
  EXPECT_FALSE(edit.textCursor().hasSelection());
}

TEST_F(PaneTest, SelectionBeyondTheTextIsCutAtItsEnd) {
  edit.setPlainText(QStringLiteral("abc"));
  pane.Select(1, 100);
  EXPECT_EQ(pane.SelStart(), 1);
  EXPECT_EQ(pane.SelLength(), 2);
}

TEST_F(PaneTest, ReplaceSelectionReplacesAndLeavesTheCaretAfterTheNewText) {
  edit.setPlainText(QStringLiteral("one two three"));
  pane.Select(4, 3);
  pane.ReplaceSelection(u"2");
  EXPECT_EQ(pane.Text(), u"one 2 three");
  EXPECT_EQ(edit.textCursor().position(), 5);
  pane.ReplaceSelection(u"!");
  EXPECT_EQ(pane.Text(), u"one 2! three");
}

TEST_F(PaneTest, FormattingOfTheSelection) {
  edit.setPlainText(QStringLiteral("abcdef"));
  pane.Select(1, 2);
  pane.SetSelBold(true);
  pane.SetSelBackColor(0xFFFF00);  // aqua in 0x00BBGGRR
  pane.SetSelTextColor(0x0000FF);  // red
  EXPECT_TRUE(BoldAt(pane, 1));
  EXPECT_TRUE(BoldAt(pane, 2));
  EXPECT_FALSE(BoldAt(pane, 3));
  EXPECT_EQ(BackgroundAt(pane, 2), 0xFFFF00);
  EXPECT_EQ(FormatAt(pane, 2).background().color(), QColor(0, 255, 255));
  EXPECT_EQ(FormatAt(pane, 1).foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(BackgroundAt(pane, 0), NoHighlight);
}

TEST_F(PaneTest, PlainStyleRemovesBoldItalicUnderlineAndStrikeOut) {
  edit.setPlainText(QStringLiteral("abc"));
  QTextCursor cursor(edit.document());
  cursor.select(QTextCursor::Document);
  QTextCharFormat rich;
  rich.setFontWeight(QFont::Bold);
  rich.setFontItalic(true);
  rich.setFontUnderline(true);
  rich.setFontStrikeOut(true);
  cursor.mergeCharFormat(rich);
  pane.Select(0, 3);
  pane.SetSelBold(false);
  const QTextCharFormat format = FormatAt(pane, 1);
  EXPECT_LT(format.fontWeight(), QFont::Bold);
  EXPECT_FALSE(format.fontItalic());
  EXPECT_FALSE(format.fontUnderline());
  EXPECT_FALSE(format.fontStrikeOut());
}

TEST_F(PaneTest, FormatOfTheInsertionPointAppliesToTextInsertedThere) {
  edit.setPlainText(QStringLiteral("ab"));
  pane.Select(1, 0);
  SetSelBackColor(pane, 0x00FFFF);
  pane.SetSelBold(true);
  pane.ReplaceSelection(u"XY");
  EXPECT_EQ(pane.Text(), u"aXYb");
  EXPECT_EQ(BackgroundAt(pane, 1), 0x00FFFF);
  EXPECT_EQ(BackgroundAt(pane, 2), 0x00FFFF);
  EXPECT_TRUE(BoldAt(pane, 2));
  EXPECT_FALSE(BoldAt(pane, 3));
}

TEST_F(PaneTest, FindComparesLettersRegardlessOfCaseFromTheStart) {
  edit.setPlainText(QStringLiteral("Apple pie. An APPLE a day; pineapple!"));
  EXPECT_EQ(pane.Find(u"apple", 0), 0);
  EXPECT_EQ(pane.Find(u"apple", 1), 14);
  EXPECT_EQ(pane.Find(u"apple", 15), 31);
  EXPECT_EQ(pane.Find(u"apple", 32), -1);
  EXPECT_EQ(pane.Find(u"pear", 0), -1);
}

TEST_F(PaneTest, ClearRemovesTheWholeText) {
  edit.setPlainText(QStringLiteral("text"));
  pane.Clear();
  EXPECT_EQ(pane.Text(), u"");
}

TEST_F(PaneTest, TextChangesAreReportedButFormattingIsNot) {
  QSignalSpy edited(&pane, &ArticlePane::TextEdited);
  edit.setPlainText(QStringLiteral("abc def"));
  const int afterTyping = edited.count();
  EXPECT_GE(afterTyping, 1);
  const auto version = pane.ContentVersion();
  pane.Select(0, 3);
  pane.SetSelBold(true);
  pane.SetSelBackColor(0xC0C0C0);
  pane.SetSelTextColor(0);
  ClearHighlighting(pane);
  EXPECT_EQ(edited.count(), afterTyping);
  EXPECT_EQ(pane.ContentVersion(), version);
  pane.ReplaceSelection(u"x");
  EXPECT_GT(edited.count(), afterTyping);
  EXPECT_GT(pane.ContentVersion(), version);
}

TEST_F(PaneTest, SetTextDoesNothingWhenTheTextIsTheSame) {
  edit.setPlainText(QStringLiteral("same"));
  pane.Select(0, 4);
  pane.SetSelBold(true);
  const auto version = pane.ContentVersion();
  pane.SetText(u"same");
  EXPECT_EQ(pane.ContentVersion(), version);
  EXPECT_TRUE(BoldAt(pane, 0));
  pane.SetText(u"other");
  EXPECT_EQ(pane.Text(), u"other");
}

TEST_F(PaneTest, ReplaceUnitsKeepsCaretFormattingAndReportsNoEdit) {
  edit.setPlainText(QStringLiteral("ab\u00A0cd\u00A0ef"));
  QTextCursor cursor(edit.document());
  cursor.setPosition(2);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.mergeCharFormat(bold);
  pane.Select(6, 0);  // just after the second no-break space
  QSignalSpy edited(&pane, &ArticlePane::TextEdited);
  const auto version = pane.ContentVersion();
  pane.ReplaceUnits({2, 5}, u"ab cd ef");
  EXPECT_EQ(pane.Text(), u"ab cd ef");
  EXPECT_EQ(edit.textCursor().position(), 6);
  EXPECT_TRUE(BoldAt(pane, 2));
  EXPECT_FALSE(BoldAt(pane, 5));
  EXPECT_EQ(edited.count(), 0);
  EXPECT_GT(pane.ContentVersion(), version);
}

TEST_F(PaneTest, ReplaceUnitsLeavesACaretBeforeTheUnitBeforeIt) {
  edit.setPlainText(QStringLiteral("x\u00A0y"));
  pane.Select(1, 0);
  pane.ReplaceUnits({1}, u"x y");
  EXPECT_EQ(edit.textCursor().position(), 1);
  pane.Select(2, 0);
  edit.setPlainText(QStringLiteral("x\u00A0y"));
  pane.Select(2, 0);
  pane.ReplaceUnits({1}, u"x y");
  EXPECT_EQ(edit.textCursor().position(), 2);
}

TEST_F(PaneTest, ReplaceUnitsKeepsTheScrollPosition) {
  QString text;
  for (int i = 0; i < 400; ++i) text += QStringLiteral("line %1\n").arg(i);
  text += QStringLiteral("end\u00A0here");
  edit.setPlainText(text);
  edit.show();
  QApplication::processEvents();
  QScrollBar* bar = edit.verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  bar->setValue(bar->maximum() / 2);
  const int before = bar->value();
  const std::u16string normalized = [&] {
    std::u16string t = pane.Text();
    t[t.size() - 5] = u' ';
    return t;
  }();
  pane.ReplaceUnits({static_cast<std::int32_t>(normalized.size() - 5)}, normalized);
  QApplication::processEvents();
  EXPECT_EQ(bar->value(), before);
  EXPECT_EQ(pane.Text(), normalized);
}

TEST_F(PaneTest, RebuildFromRunsGivesTheTextWithRunFormatsAndReportsOneEdit) {
  const std::u16string text = u"Hi there.\nBye";
  QSignalSpy edited(&pane, &ArticlePane::TextEdited);
  pane.RebuildFromRuns(text, {{0, 3, NoHighlight}, {3, 5, 0xFFFF00}, {8, 5, 0xC0DCC0}});
  EXPECT_EQ(pane.Text(), text);
  EXPECT_EQ(edited.count(), 1);
  EXPECT_FALSE(BoldAt(pane, 0));
  EXPECT_EQ(BackgroundAt(pane, 0), NoHighlight);
  EXPECT_TRUE(BoldAt(pane, 3));
  EXPECT_EQ(BackgroundAt(pane, 7), 0xFFFF00);
  EXPECT_EQ(BackgroundAt(pane, 12), 0xC0DCC0);
  EXPECT_EQ(FormatAt(pane, 12).foreground().color(), QColor(Qt::black));
  EXPECT_EQ(edit.textCursor().position(), 0);
}

TEST_F(PaneTest, RebuiltDocumentKeepsFontAndWrapping) {
  const QFont before = edit.document()->defaultFont();
  pane.RebuildFromRuns(u"abc", {{0, 3, NoHighlight}});
  EXPECT_EQ(edit.document()->defaultFont(), before);
  EXPECT_EQ(edit.lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_TRUE(edit.document()->isUndoRedoEnabled());
}

TEST_F(PaneTest, RepeatedRebuildsReplaceTheDocument) {
  for (int i = 0; i < 5; ++i) pane.RebuildFromRuns(u"abc", {{0, 3, 0xFFFF00}});
  EXPECT_EQ(edit.findChildren<QTextDocument*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
  EXPECT_EQ(pane.Text(), u"abc");
}

class ClipboardTest : public PaneTest {
 protected:
  void SetUp() override { QGuiApplication::clipboard()->clear(); }
  void TearDown() override { QGuiApplication::clipboard()->clear(); }
};

TEST_F(ClipboardTest, PasteTakesOnlyTheTextOfFormattedContent) {
  auto* data = new QMimeData;
  data->setHtml(QStringLiteral("<b>bold</b> <i>words</i>"));
  data->setText(QStringLiteral("bold words"));
  QGuiApplication::clipboard()->setMimeData(data);
  edit.setPlainText(QStringLiteral("[]"));
  pane.Select(1, 0);
  pane.PastePlainText();
  EXPECT_EQ(pane.Text(), u"[bold words]");
  for (int i = 1; i <= 10; ++i) {
    EXPECT_FALSE(BoldAt(pane, i)) << i;
    EXPECT_FALSE(FormatAt(pane, i).fontItalic()) << i;
  }
}

TEST_F(ClipboardTest, PasteReplacesTheSelection) {
  QGuiApplication::clipboard()->setText(QStringLiteral("new"));
  edit.setPlainText(QStringLiteral("an old text"));
  pane.Select(3, 3);
  pane.PastePlainText();
  EXPECT_EQ(pane.Text(), u"an new text");
}

TEST_F(ClipboardTest, PastedLineBreaksBecomeOneUnitEach) {
  QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb\rc\nd"));
  pane.PastePlainText();
  EXPECT_EQ(pane.Text(), u"a\nb\nc\nd");
}

TEST_F(ClipboardTest, EmptyClipboardChangesNothing) {
  edit.setPlainText(QStringLiteral("keep this"));
  pane.Select(0, 4);
  const auto version = pane.ContentVersion();
  pane.PastePlainText();
  EXPECT_EQ(pane.Text(), u"keep this");
  EXPECT_EQ(pane.SelLength(), 4);
  EXPECT_EQ(pane.ContentVersion(), version);
}

TEST_F(ClipboardTest, ClipboardWithoutTextChangesNothing) {
  auto* data = new QMimeData;
  data->setData(QStringLiteral("application/octet-stream"), QByteArray("\x01\x02", 2));
  QGuiApplication::clipboard()->setMimeData(data);
  edit.setPlainText(QStringLiteral("keep"));
  pane.PastePlainText();
  EXPECT_EQ(pane.Text(), u"keep");
}

TEST_F(ClipboardTest, TheControlsOwnPasteAndDropsAlsoTakePlainText) {
  auto* data = new QMimeData;
  data->setHtml(QStringLiteral("<table><tr><td><b>cell</b></td></tr></table>"));
  data->setText(QStringLiteral("cell"));
  QGuiApplication::clipboard()->setMimeData(data);
  edit.paste();
  EXPECT_EQ(pane.Text(), u"cell");
  EXPECT_FALSE(BoldAt(pane, 0));
  EXPECT_EQ(edit.document()->rootFrame()->childFrames().size(), 0);
}

}  // namespace
}  // namespace vellora::test
