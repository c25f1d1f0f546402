// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's help: the whole manual in a help window (contents, index,
// full-text search) and one cell's topic in a small popup window at the
// mouse pointer. The manual is a Qt help file compiled at build time; topics
// are found by context number, which the help text table maps from cell
// names (GI_AppItem_CellName_to_ContextID).
//
// Without Qt's help module (not built in, or its database driver does not
// load) every request does nothing and shows nothing. A missing help file and
// a missing topic are reported in a message box.

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <memory>
#include <string>

class QWidget;
class cmcGTex;

namespace helpview {
class Engine;
class ContentsWindow;
class PopupWindow;
}  // namespace helpview

class cuiHtmlHelp {
 public:
  enum Result : int { kShown = 0, kNoFile = 1, kNoTopic = 2, kNoHelp = 3 };

  // helpTable holds the help keys (GI_Sys_HtmlHelp_*, the cell-name map);
  // the windows are owned by parent's window and stay above it.
  cuiHtmlHelp(cmcGTex& helpTable, QWidget* parent);
  ~cuiHtmlHelp();
  cuiHtmlHelp(const cuiHtmlHelp&) = delete;
  cuiHtmlHelp& operator=(const cuiHtmlHelp&) = delete;

  // False when Qt's help module could not be loaded.
  bool Available() const;

  // dataDir (with its trailing separator) + line 0 of GI_Sys_MyHelpFile.
  static std::string HelpFilePath(cmcGTex& helpTable, const std::string& dataDir);

  // The context number of a cell name; 0 when the map lacks it.
  static int ContextNumber(cmcGTex& helpTable, const std::string& cellName);

  // Opens the help window at the manual's first page. Reports the result.
  int ShowContents(const std::string& path);
  // Opens the topic of number in the popup window at the mouse pointer (or
  // at pointer, for callers that know better). Reports the result.
  int ShowContext(const std::string& path, int number);
  int ShowContext(const std::string& path, int number, QPoint pointer);
  // Opens the help window at the topic of number: the manual with its
  // contents, index and search, at the place the user asked about (its
  // first page for number 0). Reports the result.
  int ShowTopic(const std::string& path, int number);

  // The windows, once they exist (for tests and for closing on shutdown).
  QWidget* ContentsWindow() const;
  QWidget* PopupWindow() const;
  // The address the popup shows, empty before the first topic.
  std::string PopupSource() const;
  // The address the help window shows, empty before it is opened.
  std::string ContentsSource() const;

 private:
  void Report(int result, const std::string& path);
  // The help window at page (of the open file), made on first use.
  void ShowInContents(const QUrl& page);
  void DefinePopup(QPoint pointer);
  void PositionPopup(QPoint pointer, const QRect& remembered);

  cmcGTex& helpTable_;
  QPointer<QWidget> parent_;
  std::unique_ptr<helpview::Engine> engine_;
  QPointer<helpview::ContentsWindow> contents_;
  QPointer<helpview::PopupWindow> popup_;
};
