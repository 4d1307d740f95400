#include "ArticleEdit.h"

#include <QKeyEvent>
#include <QMimeData>

#include "ArticlePane.h"
#include "USegment.h"
#include "UWords.h"

namespace vellora {

ArticleEdit::ArticleEdit(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
}

bool ArticleEdit::event(QEvent* event) {
  // The control claims Ctrl+V for its own paste; declining the override lets the pane's hidden
  // Ctrl+V command (a widget shortcut) run instead.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_V && key->modifiers() == Qt::ControlModifier) {
      event->ignore();
      return false;
    }
  }
  return QTextEdit::event(event);
}

namespace {

// Keys that put text or a line break in at the caret.
bool InsertsText(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return true;
  const QString text = event.text();
  return !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\t'));
}

}  // namespace

void ArticleEdit::keyPressEvent(QKeyEvent* event) {
  if (isReadOnly() || !InsertsText(*event)) {
    TypeKey(event);
    return;
  }
  // Typed text is plain black on white even right after a highlighted stretch or over a
  // highlighted selection; the selection goes in the same undo step as the typing.
  QTextCursor cursor = textCursor();
  const bool replacing = cursor.hasSelection();
  if (replacing) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    setTextCursor(cursor);
  }
  QTextCharFormat plain;
  ApplyRunFormat(plain, NoHighlight);
  mergeCurrentCharFormat(plain);
  TypeKey(event);
  if (replacing) cursor.endEditBlock();
}

void ArticleEdit::TypeKey(QKeyEvent* event) {
  const QString text = event->text();
  if (!text.isEmpty()) {
    const std::u16string typed = text.toStdU16String();
    const std::u16string normal = NormalizeArticleText(typed);
    if (normal != typed) {
      QKeyEvent replaced(event->type(), event->key(), event->modifiers(),
                         QString::fromStdU16String(normal), event->isAutoRepeat(),
                         static_cast<quint16>(event->count()));
      QTextEdit::keyPressEvent(&replaced);
      event->setAccepted(replaced.isAccepted());
      return;
    }
  }
  QTextEdit::keyPressEvent(event);
}

bool ArticleEdit::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText();
}

void ArticleEdit::insertFromMimeData(const QMimeData* source) {
  // Formatting from outside never reaches the pane: rich text, HTML and images would bring
  // tables and frames whose positions the analysis cannot follow.
  if (source == nullptr || !source->hasText()) return;
  const QString text = source->text();
  if (text.isEmpty()) return;
  QTextCursor cursor = textCursor();
  cursor.insertText(QString::fromStdU16String(NormalizeArticleText(text.toStdU16String())),
                    PlainInsertionFormat(cursor));
  ensureCursorVisible();
}

}  // namespace vellora
