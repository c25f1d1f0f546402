// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two help windows: the small popup that shows one topic, and the
// contents window with the table of contents, the index and the full-text
// search beside the page. Both show pages through a browser that reads them
// out of the help file.

#include <QTextBrowser>
#include <QWidget>
#include <functional>

namespace helpview {

class Engine;

// A text browser whose pages, style sheet and pictures come from the engine.
// A link into the manual (qthelp) turns the page here, or goes to the
// handler set for it; only a web or mail link goes to the desktop, which
// knows nothing of the manual's addresses.
class Browser : public QTextBrowser {
  Q_OBJECT
 public:
  Browser(const Engine& engine, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;
  // Where a link into the manual goes instead of this browser's own page.
  void SetManualLinkHandler(std::function<void(const QUrl&)> handler) {
    manualLink_ = std::move(handler);
  }
  // Follows url as a click on a link to it does.
  void Follow(const QUrl& url);

 private:
  const Engine& engine_;
  std::function<void(const QUrl&)> manualLink_;
};

// A tool window over its owner, without minimise or maximise boxes.
class PopupWindow : public QWidget {
  Q_OBJECT
 public:
  PopupWindow(const Engine& engine, QWidget* owner);
  Browser* View() const { return view_; }

 private:
  Browser* view_;
};

class ContentsWindow : public QWidget {
  Q_OBJECT
 public:
  ContentsWindow(Engine& engine, QWidget* owner);
  Browser* View() const { return view_; }

 private:
  Browser* view_;
};

}  // namespace helpview
