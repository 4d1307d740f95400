// The rich-text control of an article pane: a QTextEdit that takes in only plain text from the
// clipboard and from drops, and leaves Ctrl+V to the pane's own paste command. Typed and pasted
// text arrives already normalised, so that undo takes it back in one step, and plain black on
// white whatever the text around it looks like.
#pragma once

#include <QTextEdit>

namespace vellora {

class ArticleEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit ArticleEdit(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // The control's own handling of a key, with typed text normalised.
  void TypeKey(QKeyEvent* event);
};

}  // namespace vellora
