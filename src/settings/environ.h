// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The environment: the single-instance guard and every user setting of the
// program, read once when the process starts and written once when it ends.
// The settings are plain fields that the other parts of the program read and
// write directly while it runs; nothing is written in between.
//
// The store is the user's settings under the key path "Software\Recent\K4T":
// the registry key itself on Windows, ~/.config/Recent/K4T.conf here, with
// the groups Global, Recent File List, View Option, Window Position, Setup.

#include <QSize>
#include <functional>
#include <memory>
#include <string>

#include "platform/qtcore/settings_store.h"
#include "settings/recent.h"

namespace platform {
class InstanceGuard;
}

class indEnviron {
 public:
  // A loaded store that holds any other marker is from somewhere else and is
  // replaced by the defaults as a whole.
  static constexpr int kMarker = 753951;
  static constexpr int kRecentCapacity = 10;
  static constexpr char kMutexName[] = "Zelm Pelna APP Exclusive Mutex";
  static constexpr const char* kKeyPath = platform::kSettingsKeyPath;

  // Creates the single-instance marker and, for the first instance only,
  // loads the settings. A later instance reads nothing: every setting stays
  // zero or empty, and it never writes them back.
  indEnviron(const std::string& mutexName, const std::string& keyPath);
  // Saves the settings when this is the first instance, then lets go of the
  // single-instance marker.
  ~indEnviron();
  indEnviron(const indEnviron&) = delete;
  indEnviron& operator=(const indEnviron&) = delete;

  // 1 when this process is the only instance and may run, else 0.
  int FirstInstance() const { return firstInstance_; }

  // Reads the whole store; any group or integer that is missing or unreadable,
  // or a marker other than kMarker, gives the defaults instead.
  void Load();
  // The defaults, with the window placed on the primary screen.
  void Reset();
  // The defaults for a primary screen of the given size.
  void ResetToDefaults(QSize screen);
  // Writes every group in order, each one flushed before the next; the first
  // failure ends the saving silently and leaves what was written. The
  // observer, when given, is told after each group has reached the store.
  using GroupWritten = std::function<void(const std::string& group)>;
  void Save(const GroupWritten& afterGroup = {});

  const std::string& MutexName() const { return mutexName_; }
  const std::string& KeyPath() const { return keyPath_; }
  // Where the store lives (the settings file, or the registry path).
  std::string StoreLocation() const;

  // --- Settings (group "Global") ---
  int Bbt = 0;           // marker, kMarker once loaded or defaulted
  int ComPort = 0;       // serial port number, 1 ... 256
  int ComSpeedHigh = 0;  // 0 or 1
  std::string CurrentDirectory;
  // --- "Recent File List" ---
  cmcRecent Recent{kRecentCapacity};
  // --- "View Option" ---
  int FontSizePercentage = 0;  // 25 ... 1000
  int ToolbarVisible = 0;      // 0 or 1
  int FontSizePrinter = 0;     // points, 8 ... 12
  // --- "Window Position" ---
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int SplitterV = 0;  // width of the tree panel
  // --- "Setup" ---
  int ModelType = 0;         // 0 ... 12; the main controller replaces others by 0
  int ChListType = 0;        // usable-channels view, 0 or 1
  int VerifyAfterWrite = 0;  // a write reads the radio back, 0 or 1

 private:
  bool ReadAll();
  void ClearSettings();

  std::string mutexName_;
  std::string keyPath_;
  std::unique_ptr<platform::InstanceGuard> guard_;
  int firstInstance_ = 0;
};

// The program's one environment; start-up owns it.
extern indEnviron* gEnviron;
