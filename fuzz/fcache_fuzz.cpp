// SPDX-License-Identifier: GPL-3.0-or-later
// Option lists over an arbitrary overlay: every "<name>_Cells" entry the
// file holds is built for a few cells, and each choice is looked up by value
// and stepped through in both directions. A stepped value must be one of the
// list's choices, and a value the list holds must give its own text.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "model/cell_names.h"
#include "model/fcache.h"
#include "platform/fatal.h"
#include "text/gtex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  const std::string path = fuzz::WriteTempFile("F.OVL", data, size);

  std::vector<std::string> lists{"GI_Missing"};
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t pos = 0; pos < text.size() && lists.size() < 16;) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 7 && line[0] == '#' && line.ends_with("_Cells"))
      lists.push_back(line.substr(1, line.size() - 7));
    pos = end + 1;
  }

  cmcGTex table;
  table.Bind(path);
  gGTex = &table;  // models named inside cells come from the same file
  for (const std::string& list : lists) {
    for (std::uint32_t cell :
         {static_cast<std::uint32_t>(Flex0), static_cast<std::uint32_t>(CL_Null),
          static_cast<std::uint32_t>(CL_NoCell)}) {
      // A fatal stop ends the program, so a list it interrupted is never
      // used again: each attempt gets its own cache.
      cmcFCache cache(&table);
      try {
        const cmcFCacheList& l = cache.List(list, cell);
        if (cache.Find(list, cell) != &l) fuzz::Finding("built list not found again");
        if (l.ItemCount() != static_cast<int>(l.ByColumn().size()))
          fuzz::Finding("orders differ in size");
        auto holds = [&](int v) {
          return std::any_of(l.ByValue().begin(), l.ByValue().end(),
                             [v](const auto& i) { return i.value == v; });
        };
        std::vector<int> probes{0, -1, 0x7FFFFFFF, static_cast<int>(0x80000000u)};
        for (const auto& item : l.ByValue()) probes.push_back(item.value);
        if (probes.size() > 40) probes.resize(40);
        for (int v : probes) {
          const std::string t = cache.TextForValue(list, cell, v);
          if (!holds(v) && t != "error") fuzz::Finding("text for a value the list lacks");
          for (int dir : {1, -1}) {
            int result = 12345;
            const bool stepped = cache.Step(list, cell, v, dir, &result);
            if (stepped != (l.ItemCount() > 0)) fuzz::Finding("step on a list with no choices");
            if (stepped && !holds(result)) fuzz::Finding("stepped to a value not in the list");
            if (!stepped && result != 12345) fuzz::Finding("failed step changed the result");
          }
        }
      } catch (const platform::FatalStop&) {}
    }
  }
  gGTex = nullptr;
  return 0;
}
