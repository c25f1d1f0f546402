// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two help windows: the small popup that shows one topic, and the
// contents window with the table of contents, the index and the full-text
// search beside the page. Both show pages through a browser that reads them
// out of the help file.

#include <QTextBrowser>
#include <QWidget>

namespace helpview {

class Engine;

// A text browser whose pages, style sheet and pictures come from the engine.
class Browser : public QTextBrowser {
  Q_OBJECT
 public:
  Browser(const Engine& engine, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  const Engine& engine_;
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
