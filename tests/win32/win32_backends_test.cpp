// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 backends of the platform layer, on Windows (or Wine): the save
// that replaces a file, the registry as the settings store, the list of
// serial ports.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/file_sync.h"
#include "platform/serial_ports.h"
#include "platform/settings_group.h"
#include "platform/temporary_folder.h"
#include "radio/port_choice.h"
#include "radio/port_map.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class AtomicSave : public ::testing::Test {
 protected:
  // Saves an image whose first byte is first to path.
  CloneFileCode Save(const std::string& path, int first) {
    cmcEeprom image;
    image.SetSize(memmap::kImageSize);
    image.SetByte(0, first);
    cmcCloneFile file;
    SetUpRadioFile(file, &image);
    file.SetShowMessages(false);
    return file.Write(path, cmcCloneFile::StandardRanges());
  }

  platform::TemporaryFolder dir{"seaclone-test"};
  fs::path target = fs::path(dir.Path()) / "radio.dat";
};

// A plain rename refuses an existing target here; the save must replace it.
TEST_F(AtomicSave, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
  ASSERT_EQ(Save(target.string(), 0x11), CloneFileCode::kOk);
  const std::string first = Contents(target);
  ASSERT_EQ(Save(target.string(), 0x22), CloneFileCode::kOk);
  const std::string second = Contents(target);
  EXPECT_NE(first, second);
  EXPECT_FALSE(second.empty());
  EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST_F(AtomicSave, KeepsTheOldFileWhenItCannotBeReplaced) {
  Put(target, "the old file\n");
  // Another program holds the file open without letting it be replaced.
  HANDLE held = ::CreateFileW(target.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NE(Save(target.string(), 0x33), CloneFileCode::kOk);
  ::CloseHandle(held);
  EXPECT_EQ(Contents(target), "the old file\n");
  EXPECT_EQ(FilesIn(dir.Path()), 1);  // the new file went with the failure
}

TEST_F(AtomicSave, MoveIntoPlaceSaysWhyItFailed) {
  Put(target, "old");
  std::error_code error;
  EXPECT_FALSE(platform::MoveIntoPlace(fs::path(dir.Path()) / "missing.tmp", target, error));
  EXPECT_TRUE(error);
  EXPECT_EQ(Contents(target), "old");

  const fs::path fresh = fs::path(dir.Path()) / "fresh.tmp";
  Put(fresh, "new");
  EXPECT_TRUE(platform::MoveIntoPlace(fresh, target, error));
  EXPECT_FALSE(error);
  EXPECT_EQ(Contents(target), "new");
  EXPECT_FALSE(fs::exists(fresh));
}

TEST(RegistrySettings, GroupRoundTripsThroughTheRegistry) {
  const std::string key = "Software\\Recent\\SeacloneTest";
  ASSERT_TRUE(platform::RemoveSettingsGroup("Ports", key));
  EXPECT_TRUE(platform::ReadSettingsGroup("Ports", key).empty());

  ASSERT_TRUE(platform::WriteSettingsValue("Ports", "COM7", "\\\\.\\COM7", key));
  ASSERT_TRUE(platform::WriteSettingsValue("Ports", "COM12", "Z:\\dev\\b\xC3\xBCro",
                                           key));                                  // UTF-8 survives
  ASSERT_TRUE(platform::WriteSettingsValue("Ports", "COM7", "\\\\.\\COM8", key));  // replaced
  // A value of another type is no string setting.
  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Recent\\SeacloneTest\\Ports", 0,
                            KEY_WRITE, &raw),
            ERROR_SUCCESS);
  const DWORD number = 5;
  ::RegSetValueExW(raw, L"COM3", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
  ::RegCloseKey(raw);

  const auto values = platform::ReadSettingsGroup("Ports", key);
  ASSERT_EQ(values.size(), 2u);
  for (const auto& v : values) {
    SCOPED_TRACE(v.name);
    if (v.name == "COM7")
      EXPECT_EQ(v.value, "\\\\.\\COM8");
    else
      EXPECT_EQ(v.value, "Z:\\dev\\b\xC3\xBCro");
  }
  EXPECT_TRUE(platform::ReadSettingsGroup("Other", key).empty());

  ASSERT_TRUE(platform::RemoveSettingsGroup("Ports", key));
  EXPECT_TRUE(platform::ReadSettingsGroup("Ports", key).empty());
}

TEST(SerialPortList, ListsOnlyNamedPortsAndNumbersThemAsTheSystemDoes) {
  for (const platform::SerialPortEntry& port : platform::AvailableSerialPorts()) {
    EXPECT_FALSE(port.device.empty());
  }
  for (const int n : portchoice::PresentPortNumbers()) EXPECT_TRUE(portchoice::IsValidPort(n)) << n;
  // Windows numbers its ports itself: no map of devices, the device name.
  EXPECT_TRUE(PortMappings().empty());
  EXPECT_EQ(PortDevicePath(7), "\\\\.\\COM7");
  EXPECT_EQ(PortDevicePath(0), "");
}

}  // namespace
