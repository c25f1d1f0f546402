// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port selection dialog: the user types (mode 0), types or picks from
// the registered numbers (mode 1), or picks a connected device by name
// (mode 2). OK takes a number from 1 to 256 and closes; any other number
// shows the out-of-range message and leaves the dialog open with the focus
// back in the entry. Cancel changes nothing. Neither publishes an event.
//
//   if (cuiPortDialog::Choose(mainWindow, table, mode, ports)) ...
//
// The lists come from the system by default; tests hand in their own. While
// the dialog is open, a serial adapter plugged in or pulled out shows in the
// list at once: the device folders are watched.

#include <QDialog>
#include <QFileSystemWatcher>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class cmcGTex;
class PortRole;

class cuiPortDialog : public QDialog {
 public:
  using ListSource = std::function<std::vector<std::string>()>;

  // Built, not yet shown. mode is 0, 1 or 2 (anything else counts as 0).
  cuiPortDialog(QWidget* mainWindow, cmcGTex& table, int mode, int currentPort,
                ListSource numberList = {}, ListSource nameList = {});

  // Runs the dialog modally; a port accepted with OK becomes the current
  // port of ports. Returns whether it did.
  static bool Choose(QWidget* mainWindow, cmcGTex& table, int mode, PortRole& ports);

  int Mode() const { return mode_; }
  // The number OK accepted; 0 until then.
  int ChosenPort() const { return chosen_; }

  QLabel* Notice() const { return notice_; }
  // The entry control: the line edit of mode 0 or the combo box of 1 and 2.
  QWidget* Entry() const;
  QLineEdit* Edit() const { return edit_; }
  QComboBox* Combo() const { return combo_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  // Refills the combo box's list as when it drops down (modes 1 and 2).
  void RefillList();

  // The folders whose change means a device came or went; the system's
  // (/dev and /dev/serial/by-id) unless a test names its own.
  void WatchFolders(const QStringList& folders);
  static QStringList SystemDeviceFolders();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildEntry(int m);
  void LayOut(int m);
  void WidenDropDown();
  void TakeChosenPort();
  void RefreshAfterDeviceChange();

  cmcGTex& table_;
  int mode_;
  int currentPort_;
  int chosen_ = 0;
  ListSource numberList_;
  ListSource nameList_;
  QLabel* notice_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QComboBox* combo_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QStringList watched_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
};
