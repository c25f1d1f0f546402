// SPDX-License-Identifier: GPL-3.0-or-later
// A fleet log as a resumed run reads it: one an editor or a crash left
// behind. Either it is refused as a whole, or every identity it records as
// done is ten digits, and a record appended to it reads back as done with
// everything that was done before: a run never loses what the log held.
#include <cstdint>
#include <set>
#include <string>

#include "fuzz_support.h"
#include "radio/fleet_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string log = fuzz::WriteTempFile("run.log.csv", data, size);
  std::set<std::string> done;
  if (const auto problem = fleet::ReadLog(log, done)) {
    if (!done.empty()) fuzz::Finding("a refused log still hands out identities");
    return 0;
  }
  for (const std::string& id : done) {
    if (id.size() != 10 || id.find_first_not_of("0123456789") != std::string::npos)
      fuzz::Finding("a done identity that is not ten digits");
  }
  fleet::LogLine line{"2026-12-11 01:20:49", "2999999990", "1.0", fleet::kDone};
  if (!fleet::AppendLog(log, line)) fuzz::Finding("a readable log cannot be appended to");
  std::set<std::string> after;
  if (fleet::ReadLog(log, after)) fuzz::Finding("an appended record made the log unreadable");
  done.insert(line.id);
  if (after != done) fuzz::Finding("an appended record lost or invented a done identity");
  return 0;
}
