// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message panel of the status bar: what the last command did, in the
// colours the cells asked for. It takes the status text events of the bus;
// the commands say what they did with Show.

#include <cstdint>
#include <string>

class QPainter;
class QRect;
class cmcEvMan;
class cuiStatusBar;

namespace shell {

class StatusLine {
 public:
  explicit StatusLine(cmcEvMan& bus);
  ~StatusLine();
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  // The bar whose first panel shows the text (null: none yet, or gone).
  void Attach(cuiStatusBar* bar) { bar_ = bar; }
  // Says what a command did. It stays until the next message or the user's
  // next move on a page; a page the program opens on its own (after a
  // read, a write, an undo) keeps it.
  void Show(const std::string& text);
  void Set(std::string text, std::uint32_t textColour, std::uint32_t background);
  const std::string& Text() const { return text_; }
  // While set, a page's own clearing of the message leaves it standing:
  // the program opens the page, not the user.
  void SetQuiet(bool quiet) { quiet_ = quiet; }
  bool Quiet() const { return quiet_; }
  void Draw(QPainter& painter, const QRect& rect) const;

 private:
  cmcEvMan& bus_;
  cuiStatusBar* bar_ = nullptr;
  std::string text_;
  std::uint32_t textColour_;
  std::uint32_t background_;
  bool quiet_ = false;
};

}  // namespace shell
