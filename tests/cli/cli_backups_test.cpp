// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli backups as a script runs it: every file of the folder a
// line (or a JSON object), unreadable ones said so, the model and date
// filters, and a date it cannot take refused.
#include <gtest/gtest.h>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

#include "support/backup_folder.h"
#include "support/cli_support.h"

namespace {

using clitest::RunCli;
using testsupport::BackupFolder;

class CliBackups : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(table.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
    folder = dir.filePath("backups");
    qputenv("SEACLONE_BACKUP_DIR", folder.toLocal8Bit());
    ASSERT_TRUE(BackupFolder::Fill(folder, table));
  }
  void TearDown() override { qunsetenv("SEACLONE_BACKUP_DIR"); }

  // The tab-separated fields of each line of out.
  static std::vector<QStringList> Lines(const std::string& out) {
    std::vector<QStringList> lines;
    for (const QString& line : QString::fromStdString(out).split('\n', Qt::SkipEmptyParts))
      lines.push_back(line.split('\t'));
    return lines;
  }
  QString Path(const char* name) const { return QDir(folder).filePath(name); }

  QTemporaryDir dir;
  QString folder;
  cmcGTex table;
};

TEST_F(CliBackups, ListsEveryFileWithItsStateAndKeepsWhatTheFiltersAsk) {
  struct Case {
    QStringList options;
    std::vector<const char*> files;
  };
  const Case cases[] = {
      {{},
       {BackupFolder::kHarbour, BackupFolder::kCut, BackupFolder::kOldBoat, BackupFolder::kNotes}},
      {{"--model", "0"}, {BackupFolder::kOldBoat}},
      {{"--since", "2024-12-31"}, {BackupFolder::kHarbour, BackupFolder::kCut}},
      {{"--since", "2025-03-04T09:10:12"}, {}},
      {{"--model", "3", "--since", "2024-01-01 08:00"}, {BackupFolder::kHarbour}},
  };
  for (const Case& c : cases) {
    const QStringList args = QStringList{"backups"} + c.options;
    SCOPED_TRACE(args.join(' ').toStdString());
    const auto run = RunCli(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<QStringList> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), c.files.size()) << run.out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      ASSERT_EQ(lines[i].size(), 6) << run.out;
      EXPECT_EQ(lines[i][0], Path(c.files[i]));
    }
  }

  const std::vector<QStringList> all = Lines(RunCli({"backups"}).out);
  ASSERT_EQ(all.size(), 4u);
  const QStringList harbour = all[0];
  EXPECT_EQ(harbour.mid(1), (QStringList{"2025-03-04 09:10:11", "Germany ATIS", "HARBOUR",
                                         QString::number(QFileInfo(harbour[0]).size()), "ok"}));
  // The reason is the one check would give.
  const QStringList cut = all[1];
  EXPECT_EQ(cut.mid(1, 3), (QStringList{"2024-12-31 23:59:59", "USA", ""}));
  ASSERT_TRUE(cut[5].startsWith("unreadable: ")) << cut[5].toStdString();
  const auto check = RunCli({"check", cut[0]});
  EXPECT_EQ(check.exitCode, 6);
  EXPECT_NE(check.err.find(cut[5].mid(12).toStdString()), std::string::npos) << check.err;
}

TEST_F(CliBackups, JsonIsOneArrayThatParsesWhateverTheFileNames) {
  // A name that is not UTF-8 (a file copied from an old system).
  const std::string latin1Name = folder.toStdString() + "/caf\xE9.dat";
  std::FILE* latin1 = std::fopen(latin1Name.c_str(), "wb");
  ASSERT_NE(latin1, nullptr);
  std::fputs("\"quoted\"\n", latin1);
  std::fclose(latin1);

  const auto run = RunCli({"backups", "--json"});
  // QTemporaryDir cannot name it to remove it.
  std::remove(latin1Name.c_str());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << run.out;
  ASSERT_TRUE(json.isArray());
  const QJsonArray list = json.array();
  ASSERT_EQ(list.size(), 5) << run.out;
  const auto entry = [&](const char* name) {
    for (const QJsonValue& v : list)
      if (v.toObject()["file"].toString() == Path(name)) return v.toObject();
    return QJsonObject();
  };

  const QJsonObject harbour = entry(BackupFolder::kHarbour);
  EXPECT_EQ(harbour["date"].toString(), "2025-03-04T09:10:11");
  EXPECT_EQ(harbour["model"].toInt(-1), 3);
  EXPECT_EQ(harbour["modelName"].toString(), "Germany ATIS");
  EXPECT_EQ(harbour["comment"].toString(), "HARBOUR");
  EXPECT_EQ(harbour["size"].toInteger(), QFileInfo(Path(BackupFolder::kHarbour)).size());
  EXPECT_TRUE(harbour["readable"].toBool(false));
  EXPECT_TRUE(harbour["reason"].isNull());

  const QJsonObject cut = entry(BackupFolder::kCut);
  EXPECT_EQ(cut["date"].toString(), "2024-12-31T23:59:59");
  EXPECT_TRUE(cut["model"].isNull());
  EXPECT_FALSE(cut["readable"].toBool(true));
  EXPECT_FALSE(cut["reason"].toString().isEmpty());

  bool foundLatin1 = false;
  for (const QJsonValue& v : list)
    foundLatin1 = foundLatin1 || v.toObject()["file"].toString().endsWith(u"caf\uFFFD.dat");
  EXPECT_TRUE(foundLatin1) << run.out;

  const auto none = RunCli({"backups", "--json", "--model", "5"});
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "[]\n");
}

TEST_F(CliBackups, ADateOrModelItCannotTakeIsRefusedBeforeListing) {
  const QStringList cases[] = {
      {"--since", "2024-02-30"}, {"--since", "2024-5-1"},
      {"--since", "01/05/2024"}, {"--since", "2024-05-01 25:00"},
      {"--since", "last week"},  {"--since"},
      {"--model", "13"},         {"--json", "--json"},
  };
  for (const QStringList& options : cases) {
    const QStringList args = QStringList{"backups"} + options;
    const auto run = RunCli(args);
    EXPECT_EQ(run.exitCode, 64) << args.join(' ').toStdString();
    EXPECT_EQ(run.out, "") << args.join(' ').toStdString();
    if (options[0] == "--since") {
      EXPECT_NE(run.err.find("--since needs a date such as 2024-05-01"), std::string::npos)
          << run.err;
    }
  }
}

TEST_F(CliBackups, AFolderThatCannotBeReadFailsWithStatusOne) {
  const QString file = dir.filePath("not-a-folder");
  QFile plain(file);
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  qputenv("SEACLONE_BACKUP_DIR", file.toLocal8Bit());
  const auto run = RunCli({"backups"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("cannot be read"), std::string::npos) << run.err;
}

}  // namespace
