// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sheet's in-place editor: a borderless plain-text edit without word
// wrap that keeps at most kMaxLength characters. The sheet decides what
// keys and a focus loss mean; the editor only reports them.

#include <QPlainTextEdit>
#include <functional>

class cuiCellEditor : public QPlainTextEdit {
 public:
  static constexpr int kMaxLength = 1024;

  explicit cuiCellEditor(QWidget* parent);

  // A key the owner consumes returns true; the editor then ignores it.
  std::function<bool(QKeyEvent* event)> keyPressed;
  std::function<void()> focusLost;

  // Sets the text (cut to kMaxLength), the caret and the selection from it.
  void SetContent(const QString& text, int cursor, int selection);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void EnforceLength();
  bool trimming_ = false;
};
