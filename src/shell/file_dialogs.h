// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standard open and save dialogs of the main window, behind an
// interface so that tests can script the user's choice. Both take the
// filter and default extension of the clone data files and start in the
// controller's current directory.

#include <optional>
#include <string>

class QWidget;

class cuiFileDialogs {
 public:
  struct Request {
    std::string directory;
    std::string fileName;   // proposed name (save only)
    std::string filter;     // "Clone data (*.dat);;All files (*)" style
    std::string extension;  // default extension without the dot
    // A file the caller appends to (a log) is no overwrite, so the save
    // dialog need not ask about one.
    bool appends = false;
  };
  virtual ~cuiFileDialogs() = default;
  // The chosen path, or nothing when the user cancelled. The open dialog
  // accepts only an existing file; the save dialog asks before overwriting,
  // unless the caller only appends.
  virtual std::optional<std::string> ChooseOpen(QWidget* owner, const Request& request) = 0;
  virtual std::optional<std::string> ChooseSave(QWidget* owner, const Request& request) = 0;
};

// The platform's own dialogs.
class cuiQtFileDialogs : public cuiFileDialogs {
 public:
  std::optional<std::string> ChooseOpen(QWidget* owner, const Request& request) override;
  std::optional<std::string> ChooseSave(QWidget* owner, const Request& request) override;
};

// The dialogs the main window's commands use: the platform's own, until a
// test puts its script in their place.
class cuiChosenFileDialogs : public cuiFileDialogs {
 public:
  // nullptr puts the platform's own back.
  void Use(cuiFileDialogs* dialogs) { chosen_ = dialogs; }
  std::optional<std::string> ChooseOpen(QWidget* owner, const Request& request) override {
    return Chosen().ChooseOpen(owner, request);
  }
  std::optional<std::string> ChooseSave(QWidget* owner, const Request& request) override {
    return Chosen().ChooseSave(owner, request);
  }

 private:
  cuiFileDialogs& Chosen() { return chosen_ ? *chosen_ : own_; }

  cuiQtFileDialogs own_;
  cuiFileDialogs* chosen_ = nullptr;
};

// The overlay writes a filter the classic way ("Clone data|*.dat|All|*.*");
// Qt wants "Clone data (*.dat);;All (*.*)". A text that is already in Qt's
// form passes unchanged.
std::string QtFilterFromOverlay(const std::string& filter);
