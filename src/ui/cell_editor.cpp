// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cell_editor.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <algorithm>

cuiCellEditor::cuiCellEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setFrameShape(QFrame::NoFrame);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
  document()->setDocumentMargin(1);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { EnforceLength(); });
  hide();
}

void cuiCellEditor::SetContent(const QString& text, int cursor, int selection) {
  setPlainText(text.left(kMaxLength));
  const int length = static_cast<int>(toPlainText().size());
  const int from = std::clamp(cursor, 0, length);
  const int to = std::clamp(from + selection, 0, length);
  QTextCursor caret = textCursor();
  // The caret ends at the selection's start, so typing replaces it.
  caret.setPosition(to);
  caret.setPosition(from, QTextCursor::KeepAnchor);
  setTextCursor(caret);
  document()->clearUndoRedoStacks();
}

void cuiCellEditor::EnforceLength() {
  if (trimming_) return;
  const QString text = toPlainText();
  if (text.size() <= kMaxLength) return;
  trimming_ = true;
  const int position = std::min(textCursor().position(), kMaxLength);
  // A paste may run over the limit: keep what fits, as a limited edit would.
  QTextCursor cut(document());
  cut.setPosition(kMaxLength);
  cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cut.removeSelectedText();
  QTextCursor caret = textCursor();
  caret.setPosition(position);
  setTextCursor(caret);
  trimming_ = false;
}

void cuiCellEditor::keyPressEvent(QKeyEvent* event) {
  if (keyPressed && keyPressed(event)) {
    event->accept();
    return;
  }
  // Only typed text and editing keys get this far; the length rule stops
  // typing at the limit rather than cutting afterwards.
  if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
      toPlainText().size() - textCursor().selectedText().size() >= kMaxLength) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void cuiCellEditor::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  if (focusLost && isVisible()) focusLost();
}
