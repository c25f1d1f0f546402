// SPDX-License-Identifier: GPL-3.0-or-later
// The text table over an arbitrary overlay file: every key the file names is
// looked up line by line, out of order and as a block.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/fatal.h"
#include "text/gtex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  const std::string path = fuzz::WriteTempFile("F.OVL", data, size);

  // Keys as the file spells them, plus two that are never there.
  std::vector<std::string> keys{"End_Of_Ovl", "Missing"};
  const std::string text(reinterpret_cast<const char*>(data), size);
  size_t pos = 0;
  while (pos < text.size() && keys.size() < 64) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    if (end - pos >= 2 && text[pos] == '#') {
      std::string key = text.substr(pos + 1, end - pos - 1);
      if (!key.empty() && key.back() == '\r') key.pop_back();
      keys.push_back(key);
    }
    pos = end + 1;
  }

  cmcGTex table;
  table.Bind(path);
  std::string out;
  for (const auto& key : keys) {
    for (int n : {2, 0, 1, 5, 3}) table.TryLine(key, n, &out);
    try {
      table.Block(key);
    } catch (const platform::FatalStop&) {}
  }
  return 0;
}
