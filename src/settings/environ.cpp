// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/environ.h"

#include <QSettings>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/instance_guard.h"
#include "platform/qt/screens_qt.h"
#include "platform/qtcore/settings_store.h"

indEnviron* gEnviron = nullptr;

namespace {

constexpr char kGlobal[] = "Global";
constexpr char kRecentList[] = "Recent File List";
constexpr char kViewOption[] = "View Option";
constexpr char kWindowPosition[] = "Window Position";
constexpr char kSetup[] = "Setup";

QString RecentName(int n) { return QStringLiteral("Recent%1").arg(n); }

// A stored integer reads like a 32-bit registry number: anything from the
// signed minimum to the unsigned maximum, kept as its 32-bit pattern.
bool ReadInteger(const QSettings& s, const char* name, int* out) {
  const QVariant v = s.value(QLatin1String(name));
  if (!v.isValid() || v.typeId() == QMetaType::QStringList) return false;
  bool ok = false;
  const qlonglong n = v.toLongLong(&ok);
  if (!ok || n < std::numeric_limits<std::int32_t>::min() ||
      n > std::numeric_limits<std::uint32_t>::max())
    return false;
  *out = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
  return true;
}

// A missing text reads as the empty text; a value that is not text (a list)
// is a failed read.
bool ReadText(const QSettings& s, const QString& name, std::string* out) {
  const QVariant v = s.value(name);
  if (!v.isValid()) {
    out->clear();
    return true;
  }
  if (v.typeId() == QMetaType::QStringList || !v.canConvert<QString>()) return false;
  *out = v.toString().toStdString();
  return true;
}

bool Clamped(const QSettings& s, const char* name, int lo, int hi, int* out) {
  if (!ReadInteger(s, name, out)) return false;
  *out = std::clamp(*out, lo, hi);
  return true;
}

bool AsFlag(const QSettings& s, const char* name, int* out) {
  if (!ReadInteger(s, name, out)) return false;
  *out = *out != 0 ? 1 : 0;
  return true;
}

// Opens a group for reading; a group that does not exist is a failed read.
bool EnterGroup(QSettings& s, const char* group) {
  if (!s.childGroups().contains(QLatin1String(group))) return false;
  s.beginGroup(QLatin1String(group));
  return true;
}

}  // namespace

indEnviron::indEnviron(const std::string& mutexName, const std::string& keyPath)
    : mutexName_(mutexName), keyPath_(keyPath) {
  ClearSettings();
  guard_ = std::make_unique<platform::InstanceGuard>(mutexName_);
  if (guard_->Created() && guard_->IsFirst()) {
    firstInstance_ = 1;
    Load();
  } else {
    firstInstance_ = 0;
  }
}

indEnviron::~indEnviron() {
  if (guard_ && guard_->Created() && Bbt == kMarker) Save();
  guard_.reset();
}

void indEnviron::ClearSettings() {
  Bbt = ComPort = ComSpeedHigh = 0;
  CurrentDirectory.clear();
  Recent.Clear();
  FontSizePercentage = ToolbarVisible = FontSizePrinter = 0;
  Left = Top = Width = Height = SplitterV = 0;
  ModelType = ChListType = VerifyAfterWrite = 0;
}

std::string indEnviron::StoreLocation() const {
  return platform::OpenSettingsStore(keyPath_)->fileName().toStdString();
}

void indEnviron::Load() {
  if (!ReadAll() || Bbt != kMarker) Reset();
}

bool indEnviron::ReadAll() {
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  QSettings& s = *store;
  if (s.status() != QSettings::NoError) return false;

  if (!EnterGroup(s, kGlobal)) return false;
  if (!ReadInteger(s, "BBT", &Bbt)) return false;
  if (!Clamped(s, "ComPort", 1, 256, &ComPort)) return false;
  if (!Clamped(s, "ComSpeedHigh", 0, 1, &ComSpeedHigh)) return false;
  if (!ReadText(s, QStringLiteral("Current Directory"), &CurrentDirectory)) return false;
  s.endGroup();

  if (!EnterGroup(s, kRecentList)) return false;
  Recent.Clear();
  for (int n = 0; n < kRecentCapacity; ++n) {
    std::string path;
    if (!ReadText(s, RecentName(n), &path)) return false;
    Recent.Append(path);
  }
  s.endGroup();

  if (!EnterGroup(s, kViewOption)) return false;
  if (!Clamped(s, "FontSize Percentage", 25, 1000, &FontSizePercentage)) return false;
  if (!AsFlag(s, "Toolbar Visible", &ToolbarVisible)) return false;
  if (!Clamped(s, "FontSize Printer", 8, 12, &FontSizePrinter)) return false;
  s.endGroup();

  if (!EnterGroup(s, kWindowPosition)) return false;
  if (!ReadInteger(s, "Left", &Left)) return false;
  if (!ReadInteger(s, "Top", &Top)) return false;
  if (!ReadInteger(s, "Width", &Width)) return false;
  if (!ReadInteger(s, "Height", &Height)) return false;
  if (!ReadInteger(s, "SplitterV", &SplitterV)) return false;
  s.endGroup();

  if (!EnterGroup(s, kSetup)) return false;
  if (!ReadInteger(s, "ModelType", &ModelType)) return false;
  if (!AsFlag(s, "ChListType", &ChListType)) return false;
  // Added later than the others: a store written before it keeps all its
  // settings and has verification off.
  if (s.contains(QStringLiteral("VerifyAfterWrite")) &&
      !AsFlag(s, "VerifyAfterWrite", &VerifyAfterWrite))
    return false;
  s.endGroup();
  return true;
}

void indEnviron::Reset() { ResetToDefaults(platform::PrimaryScreenSize()); }

void indEnviron::ResetToDefaults(QSize screen) {
  Bbt = kMarker;
  ComPort = 1;
  ComSpeedHigh = 1;
  CurrentDirectory.clear();
  Recent.Clear();
  FontSizePercentage = 100;
  ToolbarVisible = 1;
  FontSizePrinter = 10;
  // 90 % of the screen, at most 800 × 600, centred across and 30 % down
  // the room that is left; integer arithmetic truncates, so that a window
  // saved from these bounds comes back to the same pixel.
  Width = std::min(screen.width() * 9 / 10, 800);
  Height = std::min(screen.height() * 9 / 10, 600);
  Left = (screen.width() - Width) / 2;
  Top = (screen.height() - Height) * 3 / 10;
  // None yet: the first window makes the tree as wide as its names.
  SplitterV = 0;
  ModelType = 0;
  ChListType = 0;
  VerifyAfterWrite = 0;
}

void indEnviron::Save(const GroupWritten& afterGroup) {
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  bool reopened = false;
  // Each group reaches the store before the next is begun, so a failure
  // part-way leaves the groups before it written.
  auto flush = [&](const char* group) {
    store->endGroup();
    store->sync();
    if (store->status() == QSettings::FormatError && !reopened) {
      // The store did not parse (it gave the defaults when it was loaded)
      // and has just been written over. The read error stays with this
      // QSettings and would pass for a failed write of every later group,
      // so a fresh one takes the rest.
      reopened = true;
      store = platform::OpenSettingsStore(keyPath_);
    }
    if (store->status() != QSettings::NoError) return false;
    if (afterGroup) afterGroup(group);
    return true;
  };

  store->beginGroup(QLatin1String(kGlobal));
  store->setValue(QStringLiteral("BBT"), Bbt);
  store->setValue(QStringLiteral("ComPort"), ComPort);
  store->setValue(QStringLiteral("ComSpeedHigh"), ComSpeedHigh);
  store->setValue(QStringLiteral("Current Directory"), QString::fromStdString(CurrentDirectory));
  if (!flush(kGlobal)) return;

  store->beginGroup(QLatin1String(kRecentList));
  for (int n = 0; n < kRecentCapacity; ++n)
    store->setValue(RecentName(n), QString::fromStdString(Recent.Entry(n)));
  if (!flush(kRecentList)) return;

  store->beginGroup(QLatin1String(kViewOption));
  store->setValue(QStringLiteral("FontSize Percentage"), FontSizePercentage);
  store->setValue(QStringLiteral("Toolbar Visible"), ToolbarVisible);
  store->setValue(QStringLiteral("FontSize Printer"), FontSizePrinter);
  if (!flush(kViewOption)) return;

  store->beginGroup(QLatin1String(kWindowPosition));
  store->setValue(QStringLiteral("Left"), Left);
  store->setValue(QStringLiteral("Top"), Top);
  store->setValue(QStringLiteral("Width"), Width);
  store->setValue(QStringLiteral("Height"), Height);
  store->setValue(QStringLiteral("SplitterV"), SplitterV);
  if (!flush(kWindowPosition)) return;

  store->beginGroup(QLatin1String(kSetup));
  store->setValue(QStringLiteral("ModelType"), ModelType);
  store->setValue(QStringLiteral("ChListType"), ChListType);
  store->setValue(QStringLiteral("VerifyAfterWrite"), VerifyAfterWrite);
  flush(kSetup);
}
