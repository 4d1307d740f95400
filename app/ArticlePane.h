// The operations the analysis needs of an article pane, over a QTextEdit. Positions are those of
// the analysis engine: 0-based UTF-16 units, one unit per line break.
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QTextEdit>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "URuns.h"

class QTextCursor;

namespace vellora {

// A 0x00BBGGRR colour value as Qt's colour.
QColor ColorFromBgr(std::int32_t bgr);

class ArticlePane : public QObject {
  Q_OBJECT

 public:
  explicit ArticlePane(QTextEdit* edit, QObject* parent = nullptr);

  QTextEdit* Edit() const { return edit_; }

  // The whole text, every line break as "\n" and no-break spaces kept.
  std::u16string Text() const;
  std::int32_t Length() const;

  // Replaces the whole text; nothing happens when it equals the current one.
  void SetText(std::u16string_view text);
  // Removes the whole text; what is typed next is plain black on white.
  void Clear();

  // Selection by start and length; length 0 places the caret.
  void Select(std::int32_t start, std::int32_t length);
  std::int32_t SelStart() const;
  std::int32_t SelLength() const;

  // Selects a range and scrolls the pane so that the range's start is in view, with as much of
  // the range below it as fits.
  void Reveal(std::int32_t start, std::int32_t length);

  // Formatting of the selection, or of the insertion point when nothing is selected.
  void SetSelTextColor(std::int32_t bgr);
  void SetSelBold(bool bold);  // false: plain, neither bold, italic, underlined nor struck out
  void SetSelBackColor(std::int32_t bgr);

  // Black, plain text on white over the whole pane, as selecting everything and formatting the
  // selection would give, without moving the caret or the view there and back. Text without a
  // background of its own shows on the pane's white.
  void MakeAllPlain();

  // Makes the format that text typed at the caret takes plain black on white, so that new text
  // never continues a highlight. With a selection nothing changes: typing over it is made plain
  // by the control itself.
  void MakeInsertionPlain();

  // What the pane shows: the caret, the selection and the text position at the top of the view
  // with its distance from the view's top edge.
  struct View {
    std::int32_t anchor = 0;
    std::int32_t position = 0;
    std::int32_t top = 0;
    int topOffset = 0;
  };
  View SaveView() const;
  // Puts back a view saved before the text was rebuilt with the same characters: the same text
  // stands at the top even where highlighting has changed the line breaks.
  void RestoreView(const View& view);

  // Replaces the selection; with nothing selected this inserts at the caret, which ends up after
  // the inserted text.
  void ReplaceSelection(std::u16string_view text);

  // First occurrence of text at or after start, letters compared regardless of case; -1 if none.
  std::int32_t Find(std::u16string_view text, std::int32_t start) const;

  // Pastes the clipboard's text at the caret, replacing the selection; nothing happens when the
  // clipboard holds no text.
  void PastePlainText();

  // Puts the characters of replacement at the given positions, one unit each, in place: the
  // caret, the scroll position and the formatting of the rest stay where they were.
  void ReplaceUnits(const std::vector<std::int32_t>& positions, std::u16string_view replacement);

  // Replaces the whole content with a document filled off screen in one pass and swapped in,
  // then reports one text change. The caret stands at the start: placing it at the end would
  // lay out the whole text at once instead of as it comes into view.
  void ReplaceDocument(const std::function<void(QTextCursor&)>& fill);

  // The same pane content as appending every run with its highlight format, in one pass.
  void RebuildFromRuns(std::u16string_view text, const std::vector<TextRun>& runs);

  // Counts every change of the text (not of its formatting).
  std::uint64_t ContentVersion() const { return version_; }

  // Our own formatting changes must not look like edits of the text: while a guard lives, the
  // control's change notifications are not passed on.
  class QuietScope {
   public:
    explicit QuietScope(ArticlePane& pane) : pane_(pane) { ++pane_.quiet_; }
    ~QuietScope() { --pane_.quiet_; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

   private:
    ArticlePane& pane_;
  };

 signals:
  // The text changed through the user or a text operation; not sent for formatting.
  void TextEdited();

 private:
  void OnControlTextChanged();

  QPointer<QTextEdit> edit_;
  int quiet_ = 0;
  std::uint64_t version_ = 0;
};

// The character format of one highlight run: black text, bold on the run colour, or plain on
// white for NoHighlight.
void ApplyRunFormat(QTextCharFormat& format, std::int32_t color);

// The format for text inserted at cursor: what the cursor would give, made plain black on white.
QTextCharFormat PlainInsertionFormat(const QTextCursor& cursor);

}  // namespace vellora
