#include "ArticleEdit.h"

#include <QKeyEvent>
#include <QMimeData>

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

bool ArticleEdit::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText();
}

void ArticleEdit::insertFromMimeData(const QMimeData* source) {
  // Formatting from outside never reaches the pane: rich text, HTML and images would bring
  // tables and frames whose positions the analysis cannot follow.
  if (source == nullptr || !source->hasText()) return;
  const QString text = source->text();
  if (text.isEmpty()) return;
  textCursor().insertText(text);
  ensureCursorVisible();
}

}  // namespace vellora
