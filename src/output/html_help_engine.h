// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compiled manual behind the help windows: a Qt help engine over a
// private collection (a temporary folder, so nothing of the user's is
// touched and nothing stale survives) with the help file registered in it.
// Without Qt's help module built in, the engine never loads.

#include <QByteArray>
#include <QUrl>
#include <memory>
#include <string>

class QHelpEngine;
class QTemporaryDir;

namespace helpview {

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // False when the help module or its database driver could not be loaded.
  bool Loaded() const { return engine_ != nullptr; }

  // Registers the help file at path (once); false when it is missing or is
  // not a help file.
  bool Open(const std::string& path);

  // The address of context number's topic in the open file; empty if none.
  QUrl Topic(int number) const;
  // The first page of the manual's table of contents.
  QUrl Home() const;
  // A page, style sheet or picture of the manual.
  QByteArray FileData(const QUrl& url) const;

  // The engine itself for the contents window (nullptr when not loaded).
  QHelpEngine* Help() const { return engine_.get(); }

 private:
  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<QHelpEngine> engine_;
  std::string path_;
  QString namespace_;
};

// The identifier under which the help project files a context number.
QString ContextIdentifier(int number);

}  // namespace helpview
