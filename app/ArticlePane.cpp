#include "ArticlePane.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <unordered_map>

#include "UKeyword.h"
#include "USegment.h"
#include "UWords.h"

namespace vellora {

namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// A view that shares the characters of text without copying them; valid while text lives.
QString RawQString(std::u16string_view text, std::int32_t start, std::int32_t length) {
  return QString::fromRawData(reinterpret_cast<const QChar*>(text.data() + start), length);
}

bool IsDocumentBreak(char16_t c) {
  // Paragraph and line separators, and the frame markers that toPlainText also turns into "\n".
  return c == 0x2029 || c == 0x2028 || c == 0xFDD0 || c == 0xFDD1;
}

void MakePlain(QTextCharFormat& format) {
  format.setFontWeight(QFont::Normal);
  format.setFontItalic(false);
  format.setFontUnderline(false);
  format.setFontStrikeOut(false);
}

}  // namespace

QColor ColorFromBgr(std::int32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

void ApplyRunFormat(QTextCharFormat& format, std::int32_t color) {
  MakePlain(format);
  if (color != NoHighlight) format.setFontWeight(QFont::Bold);
  format.setForeground(QColor(Qt::black));
  format.setBackground(ColorFromBgr(color));
}

QTextCharFormat PlainInsertionFormat(const QTextCursor& cursor) {
  QTextCharFormat format = cursor.charFormat();
  QTextCharFormat plain;
  ApplyRunFormat(plain, NoHighlight);
  format.merge(plain);
  return format;
}

ArticlePane::ArticlePane(QTextEdit* edit, QObject* parent) : QObject(parent), edit_(edit) {
  connect(edit, &QTextEdit::textChanged, this, &ArticlePane::OnControlTextChanged);
}

void ArticlePane::OnControlTextChanged() {
  if (quiet_ > 0) return;
  ++version_;
  emit TextEdited();
}

std::u16string ArticlePane::Text() const {
  // toPlainText would turn no-break spaces into spaces before normalisation could see them.
  const QString raw = edit_->document()->toRawText();
  std::u16string text(reinterpret_cast<const char16_t*>(raw.utf16()),
                      static_cast<std::size_t>(raw.size()));
  for (char16_t& c : text) {
    if (IsDocumentBreak(c)) c = u'\n';
  }
  return text;
}

std::int32_t ArticlePane::Length() const {
  return static_cast<std::int32_t>(edit_->document()->characterCount() - 1);
}

void ArticlePane::SetText(std::u16string_view text) {
  if (Text() == text) return;
  edit_->setPlainText(ToQString(text));
}

void ArticlePane::Clear() {
  edit_->clear();
  // The control keeps the format of the text it removed for the text typed next.
  MakeInsertionPlain();
}

void ArticlePane::Select(std::int32_t start, std::int32_t length) {
  QTextCursor cursor = edit_->textCursor();
  const int end = Length();
  cursor.setPosition(std::clamp(start, 0, end));
  cursor.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
  edit_->setTextCursor(cursor);
}

void ArticlePane::Reveal(std::int32_t start, std::int32_t length) {
  // Selecting scrolls to the end of the range; a range taller than the view would then show
  // only its tail.
  Select(start, length);
  QTextCursor first(edit_->document());
  first.setPosition(std::clamp(start, 0, Length()));
  const QRect top = edit_->cursorRect(first);
  const int height = edit_->viewport()->height();
  if (top.top() >= 0 && top.bottom() < height) return;
  QScrollBar* bar = edit_->verticalScrollBar();
  // The start goes a little below the top edge, so that the line before it shows as context.
  bar->setValue(bar->value() + top.top() - std::min(height / 4, top.height() * 2));
}

std::int32_t ArticlePane::SelStart() const {
  return edit_->textCursor().selectionStart();
}

std::int32_t ArticlePane::SelLength() const {
  const QTextCursor cursor = edit_->textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void ArticlePane::SetSelTextColor(std::int32_t bgr) {
  QuietScope quiet(*this);
  QTextCharFormat format;
  format.setForeground(ColorFromBgr(bgr));
  edit_->mergeCurrentCharFormat(format);
}

void ArticlePane::SetSelBold(bool bold) {
  QuietScope quiet(*this);
  QTextCharFormat format;
  MakePlain(format);
  if (bold) format.setFontWeight(QFont::Bold);
  edit_->mergeCurrentCharFormat(format);
}

void ArticlePane::SetSelBackColor(std::int32_t bgr) {
  QuietScope quiet(*this);
  QTextCharFormat format;
  format.setBackground(ColorFromBgr(bgr));
  edit_->mergeCurrentCharFormat(format);
}

void ArticlePane::MakeInsertionPlain() {
  if (edit_->textCursor().hasSelection()) return;
  QuietScope quiet(*this);
  QTextCharFormat plain;
  ApplyRunFormat(plain, NoHighlight);
  edit_->mergeCurrentCharFormat(plain);
}

ArticlePane::View ArticlePane::SaveView() const {
  const QTextCursor caret = edit_->textCursor();
  View view;
  view.anchor = caret.anchor();
  view.position = caret.position();
  const QTextCursor top = edit_->cursorForPosition(QPoint(0, 0));
  view.top = top.position();
  view.topOffset = edit_->cursorRect(top).top();
  return view;
}

void ArticlePane::RestoreView(const View& view) {
  const int end = Length();
  QTextCursor caret(edit_->document());
  caret.setPosition(std::clamp(view.anchor, 0, end));
  caret.setPosition(std::clamp(view.position, 0, end), QTextCursor::KeepAnchor);
  edit_->setTextCursor(caret);
  // Asking for the rectangle of the top position lays the text out down to it, which also
  // stretches the scroll bar's range far enough.
  QTextCursor top(edit_->document());
  top.setPosition(std::clamp(view.top, 0, end));
  QScrollBar* bar = edit_->verticalScrollBar();
  const int y = edit_->cursorRect(top).top() + bar->value();
  bar->setValue(y - view.topOffset);
}

void ArticlePane::ReplaceSelection(std::u16string_view text) {
  QTextCursor cursor = edit_->textCursor();
  cursor.insertText(ToQString(text));
  edit_->setTextCursor(cursor);
}

namespace {

// True when text in this format already shows black and plain on the pane's white.
bool LooksPlain(const QTextCharFormat& format) {
  if (format.hasProperty(QTextFormat::BackgroundBrush) &&
      format.background() != QBrush(QColor(Qt::white))) {
    return false;
  }
  if (format.hasProperty(QTextFormat::ForegroundBrush) &&
      format.foreground() != QBrush(QColor(Qt::black))) {
    return false;
  }
  return format.fontWeight() <= QFont::Normal && !format.fontItalic() && !format.fontUnderline() &&
         !format.fontStrikeOut();
}

}  // namespace

void ArticlePane::MakeAllPlain() {
  // Only stretches that show otherwise are reformatted: every reformatted line must be laid out
  // again, which on a long text costs far more than looking at the formats.
  QTextDocument* doc = edit_->document();
  // The ranges are collected first: reformatting splits and merges the fragments being walked.
  std::vector<std::pair<int, int>> ranges;
  auto add = [&ranges](int start, int end) {
    if (!ranges.empty() && ranges.back().second == start) {
      ranges.back().second = end;
    } else {
      ranges.emplace_back(start, end);
    }
  };
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    // A block's own format is that of the line break before it.
    if (block.position() > 0 && !LooksPlain(block.charFormat())) {
      add(block.position() - 1, block.position());
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!LooksPlain(fragment.charFormat())) {
        add(fragment.position(), fragment.position() + fragment.length());
      }
    }
  }
  if (ranges.empty()) return;
  QTextCharFormat plain;
  ApplyRunFormat(plain, NoHighlight);
  QuietScope quiet(*this);
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  for (const auto& [start, end] : ranges) {
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(plain);
  }
  cursor.endEditBlock();
}

std::int32_t ArticlePane::Find(std::u16string_view text, std::int32_t start) const {
  return FindKeyword(Text(), text, start);
}

void ArticlePane::PastePlainText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return;
  const QString text = data->text();
  if (text.isEmpty()) return;
  QTextCursor cursor = edit_->textCursor();
  // Normalised before it goes in, so that one undo step takes the paste back.
  cursor.insertText(QString::fromStdU16String(NormalizeArticleText(text.toStdU16String())),
                    PlainInsertionFormat(cursor));
  edit_->setTextCursor(cursor);
  edit_->ensureCursorVisible();
}

void ArticlePane::ReplaceUnits(const std::vector<std::int32_t>& positions,
                               std::u16string_view replacement) {
  if (positions.empty()) return;
  QuietScope quiet(*this);
  QTextCursor cursor(edit_->document());
  // One undo step with the edit that brought the units: undoing the replacement alone would
  // bring them back, to be replaced at once again.
  cursor.joinPreviousEditBlock();
  for (const std::int32_t pos : positions) {
    // The new unit goes in after the old one before the old one is removed: a caret before the
    // unit stays before it and a caret after it stays after it. Inserting at pos + 1 takes the
    // old unit's format.
    cursor.setPosition(pos + 1);
    cursor.insertText(QString(QChar(replacement[static_cast<std::size_t>(pos)])));
    cursor.setPosition(pos);
    cursor.setPosition(pos + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  }
  cursor.endEditBlock();
  ++version_;
}

void ArticlePane::ReplaceDocument(const std::function<void(QTextCursor&)>& fill) {
  QTextDocument* old = edit_->document();
  auto* doc = new QTextDocument(edit_);
  doc->setDefaultFont(old->defaultFont());
  doc->setDefaultTextOption(old->defaultTextOption());
  doc->setDocumentMargin(old->documentMargin());
  doc->setDefaultStyleSheet(old->defaultStyleSheet());
  doc->setUndoRedoEnabled(false);
  {
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    fill(cursor);
    cursor.endEditBlock();
  }
  doc->setUndoRedoEnabled(true);
  {
    QuietScope quiet(*this);
    // The control deletes a document it created itself; one of ours goes with the swap.
    const bool ours = old->parent() == edit_;
    edit_->setDocument(doc);
    if (ours) delete old;
  }
  ++version_;
  emit TextEdited();
}

void ArticlePane::RebuildFromRuns(std::u16string_view text, const std::vector<TextRun>& runs) {
  ReplaceDocument([&](QTextCursor& cursor) {
    std::unordered_map<std::int32_t, QTextCharFormat> formats;
    // Neighbouring runs of one colour go in as one insertion: the document would merge them into
    // one fragment anyway, and each insertion has a fixed cost.
    for (std::size_t i = 0; i < runs.size();) {
      const TextRun& first = runs[i];
      std::int32_t end = first.Start + first.Length;
      for (++i; i < runs.size() && runs[i].Color == first.Color && runs[i].Start == end; ++i) {
        end += runs[i].Length;
      }
      auto it = formats.find(first.Color);
      if (it == formats.end()) {
        QTextCharFormat format;
        ApplyRunFormat(format, first.Color);
        it = formats.emplace(first.Color, format).first;
      }
      cursor.insertText(RawQString(text, first.Start, end - first.Start), it->second);
    }
  });
}

}  // namespace vellora
