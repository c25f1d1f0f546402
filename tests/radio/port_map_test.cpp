// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/port_map.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <string>

#include "platform/qtcore/settings_store.h"

namespace {

// A device folder with the given nodes and a `Ports` group with the given
// entries, removed again at the end.
class PortMapFixture : public ::testing::Test {
 protected:
  void Nodes(std::initializer_list<const char*> names) {
    for (const char* name : names)
      ASSERT_TRUE(QFile(dev.filePath(name)).open(QIODevice::WriteOnly));
  }
  void Map(const char* key, const std::string& path) {
    settings->setValue(QString("Ports/") + key, QString::fromStdString(path));
    settings->sync();
  }
  void TearDown() override {
    settings->remove("Ports");
    settings->sync();
  }
  std::map<int, std::string> Numbers() {
    std::map<int, std::string> out;
    for (const auto& m : PortMappings(Dev())) out[m.number] = m.path;
    return out;
  }
  std::string Dev() const { return dev.path().toStdString(); }
  std::string Node(const char* name) const { return dev.filePath(name).toStdString(); }

  QTemporaryDir dev;
  std::unique_ptr<QSettings> settings = platform::OpenSettingsStore();
};

TEST_F(PortMapFixture, FamiliesNumberedInOrderUpToTheirFirstGap) {
  Nodes({"ttyS0", "ttyS1", "ttyS3", "ttyUSB0", "ttyUSB1", "ttyACM1", "ttyXYZ0"});
  const std::map<int, std::string> expect = {
      {1, Node("ttyS0")}, {2, Node("ttyS1")}, {3, Node("ttyUSB0")}, {4, Node("ttyUSB1")}};
  EXPECT_EQ(Numbers(), expect);  // ttyS3 and ttyACM1 lie after a gap
  EXPECT_EQ(PortDevicePath(3, Dev()), Node("ttyUSB0"));
  EXPECT_EQ(PortDevicePath(5, Dev()), "");
  EXPECT_EQ(PortDevicePath(0, Dev()), "");
  EXPECT_EQ(PortDevicePath(-1, Dev()), "");
}

TEST_F(PortMapFixture, SettingsEntriesComeFirstAndTheirNumbersAreSkipped) {
  Nodes({"ttyS0", "ttyS1", "ttyUSB0", "ttyACM0"});
  Map("COM2", "/dev/serial/by-id/radio-cable");
  Map("com9", "/dev/pts/5");
  Map("COM3", "");    // empty: ignored
  Map("LPT1", "/x");  // not a COM port
  Map("COMx", "/y");
  const std::map<int, std::string> expect = {
      {1, Node("ttyS0")},   {2, "/dev/serial/by-id/radio-cable"},
      {3, Node("ttyS1")},   {4, Node("ttyUSB0")},
      {5, Node("ttyACM0")}, {9, "/dev/pts/5"}};
  EXPECT_EQ(Numbers(), expect);
  for (const auto& m : PortMappings(Dev()))
    EXPECT_EQ(m.fromSettings, m.number == 2 || m.number == 9);
  EXPECT_EQ(PortDevicePath(2, Dev()), "/dev/serial/by-id/radio-cable");
}

TEST_F(PortMapFixture, SettingsEntryOverridesADeviceNumber) {
  Nodes({"ttyS0"});
  Map("COM1", "/dev/ttyUSB7");
  EXPECT_EQ(PortDevicePath(1, Dev()), "/dev/ttyUSB7");
  EXPECT_EQ(PortDevicePath(2, Dev()), Node("ttyS0"));
}

}  // namespace
