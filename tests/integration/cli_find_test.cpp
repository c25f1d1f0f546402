// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli find against the radio simulator on three pseudo-terminals,
// mapped as COM7..COM9 through the `Ports` settings: the one radio is found,
// named and handed on as --port; none and two radios have their statuses.
#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/qtcore/settings_store.h"
#include "support/cli_support.h"
#include "support/radio_sim.h"

namespace {

using clitest::RunCli;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The output line of a port, or "".
std::string LineOf(const std::vector<std::string>& lines, int port) {
  const std::string head = "COM" + std::to_string(port) + " (";
  for (const std::string& line : lines) {
    if (line.rfind(head, 0) == 0) return line;
  }
  return {};
}

class CliFind : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override { platform::OpenSettingsStore()->remove("Ports"); }

  // One simulator per kind, mapped from COM7 on: "radio" serves an image
  // whose comment names its port, "silent" and "deaf" have a cable but no
  // radio, the second one without echo.
  void Start(const std::vector<std::string>& kinds) {
    auto settings = platform::OpenSettingsStore();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      const int port = 7 + static_cast<int>(i);
      QStringList options;
      if (kinds[i] == "radio") {
        const QString image = dir.filePath(QString("radio%1.dat").arg(port));
        clitest::WriteModelImage(image, ("ON COM" + std::to_string(port)).c_str());
        options << "--image" << image;
      } else {
        options << "--fault" << (kinds[i] == "silent" ? "silent" : "no-echo");
      }
      sims.push_back(std::make_unique<testsupport::RadioSim>());
      ASSERT_TRUE(sims.back()->Start(options)) << sims.back()->Error();
      settings->setValue(QString("Ports/COM%1").arg(port),
                         QString::fromStdString(sims.back()->Device()));
    }
  }

  QTemporaryDir dir;
  std::vector<std::unique_ptr<testsupport::RadioSim>> sims;
};

TEST_F(CliFind, TheOneRadioIsFoundNamedAndHandedOn) {
  Start({"radio", "silent", "deaf"});
  const auto run = RunCli({"find"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "--port 7");
  EXPECT_EQ(LineOf(lines, 7),
            "COM7 (" + sims[0]->Device() + "): USA, revision 1.0, comment \"ON COM7\"");
  EXPECT_NE(LineOf(lines, 8).find("no radio"), std::string::npos) << run.out;
  EXPECT_NE(LineOf(lines, 9).find("no radio"), std::string::npos) << run.out;

  // What it printed first goes straight to the next command.
  const auto info = RunCli({"info", "--port", "7"});
  EXPECT_EQ(info.exitCode, 0) << info.err;

  const auto json = RunCli({"find", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  QJsonObject radio;
  for (const std::string& line : Lines(json.out)) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
    ASSERT_TRUE(doc.isObject()) << line;
    if (doc.object()["port"].toInt() == 7) radio = doc.object();
  }
  EXPECT_EQ(radio["answer"].toString(), "radio");
  EXPECT_EQ(radio["use"].toString(), "--port 7");
  EXPECT_EQ(radio["model"].toString(), "USA");
  EXPECT_EQ(radio["modelType"].toInt(), 0);
  EXPECT_EQ(radio["revision"].toString(), "1.0");
  EXPECT_EQ(radio["comment"].toString(), "ON COM7");
  EXPECT_EQ(radio["device"].toString().toStdString(), sims[0]->Device());
}

TEST_F(CliFind, NoneAndSeveralRadiosHaveTheirStatuses) {
  struct Case {
    std::vector<std::string> kinds;
    int exit;
    const char* said;  // on standard error
  };
  const Case cases[] = {
      {{"silent", "deaf", "silent"}, 50, "No radio answered"},
      {{"radio", "deaf", "radio"}, 51, "2 radios answered"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exit);
    sims.clear();
    platform::OpenSettingsStore()->remove("Ports");
    Start(c.kinds);
    const auto run = RunCli({"find"});
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    const auto lines = Lines(run.out);
    // No port to pass on: a script must not take a line for one.
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].rfind("--port", 0), 0u) << run.out;
    for (int port = 7; port <= 9; ++port) EXPECT_NE(LineOf(lines, port), "") << port;
  }
}

}  // namespace
