// SPDX-License-Identifier: GPL-3.0-or-later
// Identity lists as a spreadsheet in the radio's markets saves them, and the
// refusal that names the real reason a comment cannot go into the radio.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/temporary_folder.h"
#include "radio/fleet_run.h"

namespace {

TEST(FleetIds, ListsFromSpreadsheetsAreReadAndCommentsRefusedForTheirRealReason) {
  using Kind = fleet::ListProblem::Kind;
  struct Case {
    const char* what;
    std::string csv;
    const char* radios;  // "line:id:comment|..." when read
    Kind kind;           // else the refusal
    int line;
    const char* detail;
  };
  const Case cases[] = {
      {"a comma list", "id,comment\r\n2110000011,BOAT\r\n", "2:2110000011:BOAT", {}, 0, ""},
      {"German settings, padded rows, blank line, CR line ends",
       "id;comment;;\r2110000011;BOAT 1;;\r;;;\r0211000002;Nr. 2;;\r",
       "2:2110000011:BOAT 1|4:0211000002:Nr. 2",
       {},
       0,
       ""},
      {"tab separated, no comment column", "id\t\n2110000011\t\n", "2:2110000011:-", {}, 0, ""},
      {"a letter the radio has no sign for",
       "id,comment\n2110000011,BOAT\n2110000021,B\xC3\x96"
       "AT\n",
       nullptr, Kind::kUnshown, 3, "\xC3\x96"},
      {"the same letter saved as Windows-1252",
       "id;comment\r\n2110000011;B\xD6"
       "AT\r\n",
       nullptr, Kind::kUnshown, 2, "\xC3\x96"},
      {"a euro sign after the sixteenth place",
       "id,comment\n2110000011,SIXTEEN CHARS XX\xE2\x82\xAC\n", nullptr, Kind::kUnshown, 2,
       "\xE2\x82\xAC"},
      {"a tab inside", "id;comment\n2110000011;A\tB\n", nullptr, Kind::kUnshown, 2, "U+0009"},
      {"too long alone", "id,comment\n2110000011,SEVENTEEN CHARSXX\n", nullptr, Kind::kLongComment,
       2, ""},
  };
  platform::TemporaryFolder dir("seaclone-fleet-ids");
  ASSERT_TRUE(dir.IsValid());
  const std::string path = dir.Path() + "/ids.csv";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << c.csv;
    std::vector<fleet::Radio> radios;
    const auto problem = fleet::ReadIds(path, radios);
    if (c.radios) {
      ASSERT_FALSE(problem) << problem->kind << " line " << problem->line;
      std::string read;
      for (const fleet::Radio& r : radios) {
        read += (read.empty() ? "" : "|") + std::to_string(r.line) + ":" + r.id + ":" +
                r.comment.value_or("-");
      }
      EXPECT_EQ(read, c.radios);
    } else {
      ASSERT_TRUE(problem);
      EXPECT_EQ(problem->kind, c.kind);
      EXPECT_EQ(problem->line, c.line);
      EXPECT_EQ(problem->detail, c.detail);
    }
  }
}

// A log that a spreadsheet saved with its own separator goes on in it: a
// record in commas would read as one field, and its radio as not done.
TEST(FleetLog, ARecordAppendedToASpreadsheetsLogReadsBackAsDone) {
  const struct {
    const char* what;
    std::string log;
  } cases[] = {
      {"as written", "time,identity,revision,result\r\n2026-12-11 01:20:49,2110000011,1.0,ok\r\n"},
      {"German settings",
       "time;identity;revision;result\r\n2026-12-11 01:20:49;2110000011;1.0;ok\r\n"},
      {"tabs, CR line ends, no end on the last line",
       "time\tidentity\trevision\tresult\r2026-12-11 01:20:49\t2110000011\t1.0\tok"},
  };
  platform::TemporaryFolder dir("seaclone-fleet-log");
  ASSERT_TRUE(dir.IsValid());
  const std::string path = dir.Path() + "/log.csv";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << c.log;
    ASSERT_TRUE(fleet::AppendLog(path, {"2026-12-11 01:21:07", "2110000021", "1.0", fleet::kDone}));
    std::set<std::string> done;
    const auto problem = fleet::ReadLog(path, done);
    ASSERT_FALSE(problem) << problem->detail;
    EXPECT_EQ(done, (std::set<std::string>{"2110000011", "2110000021"}));
  }
}

}  // namespace
