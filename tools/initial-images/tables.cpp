// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "model/datch_index.h"
#include "model/memory_map.h"

using namespace memmap;

namespace initial {
namespace {

struct Line {
  std::string file;
  int number;
  std::string text;
  [[noreturn]] void Fail(const std::string& what) const {
    throw TableError(file + ":" + std::to_string(number) + ": " + what);
  }
};

// The lines of a table without comments and blank lines.
std::vector<Line> ReadLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw TableError(path + ": cannot be read");
  std::vector<Line> lines;
  std::string text;
  for (int n = 1; std::getline(in, text); ++n) {
    if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    lines.push_back({path, n, text});
  }
  return lines;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

int ParseInt(const Line& line, const std::string& text, int base = 10) {
  std::size_t used = 0;
  int v = 0;
  try {
    v = std::stoi(text, &used, base);
  } catch (const std::exception&) {
    line.Fail("not a number: " + text);
  }
  if (used != text.size()) line.Fail("not a number: " + text);
  return v;
}

// Ship and coast frequencies of the Appendix 18 channel raster.
bool ShipFrequency(int n, std::uint32_t* hz) {
  if (n >= 1 && n <= 28) {
    *hz = 156'000'000 + static_cast<std::uint32_t>(n) * 50'000;
    return true;
  }
  if (n >= 60 && n <= 88) {
    *hz = 156'025'000 + static_cast<std::uint32_t>(n - 60) * 50'000;
    return true;
  }
  return false;
}
constexpr std::uint32_t kDuplexSpacing = 4'600'000;

const FreeChannel* FindFree(const Tables& t, const std::string& name, int* record) {
  for (int i = 0; i < static_cast<int>(t.free.size()); ++i) {
    std::string n = t.free[static_cast<std::size_t>(i)].name;
    while (!n.empty() && n.back() == ' ') n.pop_back();
    if (!n.empty() && n == name) {
      *record = i;
      return &t.free[static_cast<std::size_t>(i)];
    }
  }
  return nullptr;
}

void ParseFlags(const Line& line, const std::string& flags, PlanChannel& ch) {
  for (char f : flags) {
    switch (f) {
      case 'P': ch.p = true; break;
      case 'C': ch.c = true; break;
      case 'T': ch.tag = true; break;
      case 'X': ch.txInhibit = true; break;
      case 'L': ch.poc = true; break;
      default: line.Fail(std::string("unknown flag ") + f);
    }
  }
}

// Reads "channel tx rx flags..." and checks the frequencies against what
// the channel number means.
PlanChannel ParseChannel(const Line& line, const std::vector<std::string>& w, const Tables& t) {
  if (w.size() < 3) line.Fail("expected: channel transmit receive [flags]");
  PlanChannel ch;
  ch.txHz = ParseMHz(w[1]);
  ch.rxHz = ParseMHz(w[2]);
  const std::string& id = w[0];
  std::uint32_t ship = 0;
  if (id[0] == '@') {
    int record = 0;
    const FreeChannel* f = FindFree(t, id.substr(1), &record);
    if (!f) line.Fail("no free channel named " + id.substr(1));
    if (f->txHz != ch.txHz || f->rxHz != ch.rxHz)
      line.Fail("frequencies differ from free.txt for " + id);
    ch.index = kFreeIndexBase + record;
  } else if (id.size() == 4 && std::all_of(id.begin(), id.end(), ::isdigit)) {
    const int number = ParseInt(line, id);
    ch.index = FourDigitIndex(number);
    if (ch.index < 0 || !ShipFrequency(number % 100, &ship))
      line.Fail("no such four-digit channel: " + id);
    const std::uint32_t expected = number / 1000 == 1 ? ship : ship + kDuplexSpacing;
    if (ch.txHz != expected || ch.rxHz != expected)
      line.Fail("channel " + id + " is " + std::to_string(expected) + " Hz simplex");
  } else {
    const bool a = id.back() == 'A';
    const int n = ParseInt(line, a ? id.substr(0, id.size() - 1) : id);
    if (n < 0 || n > 116) line.Fail("channel number out of range: " + id);
    ch.index = 2 * n + (a ? 1 : 0);
    if (!ShipFrequency(n, &ship))
      line.Fail("channel " + id + " is not on the marine channel raster");
    if (ch.txHz != ship)
      line.Fail("channel " + id + " transmits on " + std::to_string(ship) + " Hz");
    const bool simplexOk = ch.rxHz == ship;
    const bool duplexOk = !a && ch.rxHz == ship + kDuplexSpacing;
    if (!simplexOk && !duplexOk)
      line.Fail("channel " + id + " receives on neither its ship nor its coast frequency");
  }
  for (std::size_t i = 3; i < w.size(); ++i) ParseFlags(line, w[i], ch);
  return ch;
}

void ReadPlan(Tables& t, const std::string& path, unsigned category) {
  std::vector<PlanChannel>& plan = t.plans[category];
  int p = 0, c = 0;
  std::vector<bool> seen(kPlanEntries, false);
  for (const Line& line : ReadLines(path)) {
    PlanChannel ch = ParseChannel(line, Words(line.text), t);
    if (seen[static_cast<std::size_t>(ch.index)]) line.Fail("channel listed twice");
    seen[static_cast<std::size_t>(ch.index)] = true;
    p += ch.p;
    c += ch.c;
    plan.push_back(ch);
  }
  if (p != 1 || c != 1) throw TableError(path + ": a plan needs exactly one P and one C channel");
}

void ReadFree(Tables& t, const std::string& path) {
  for (FreeChannel& f : t.free) f = {"   ", 156'000'000, 156'000'000};
  std::vector<bool> seen(t.free.size(), false);
  for (const Line& line : ReadLines(path)) {
    const auto w = Words(line.text);
    if (w.size() != 4) line.Fail("expected: record name receive transmit");
    const int r = ParseInt(line, w[0]);
    if (r < 0 || r >= kFreeCount) line.Fail("record out of range");
    if (seen[static_cast<std::size_t>(r)]) line.Fail("record listed twice");
    seen[static_cast<std::size_t>(r)] = true;
    std::string name = w[1];
    std::replace(name.begin(), name.end(), '_', ' ');
    if (name.size() != 3) line.Fail("a name has three characters");
    t.free[static_cast<std::size_t>(r)] = {name, ParseMHz(w[2]), ParseMHz(w[3])};
  }
}

void ReadWeather(Tables& t, const std::string& path) {
  const auto lines = ReadLines(path);
  if (lines.size() != t.wxInhibited.size())
    throw TableError(path + ": needs exactly ten weather channels");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto w = Words(lines[i].text);
    if (w.size() < 2 || w.size() > 3) lines[i].Fail("expected: name frequency [X]");
    ParseMHz(w[1]);
    if (w.size() == 3 && w[2] != "X") lines[i].Fail("the only flag is X");
    t.wxInhibited[i] = w.size() == 3;
  }
}

unsigned CategoryOf(const Line& line, const std::string& name) {
  if (name == "INT") return kCatInt;
  if (name == "USA") return kCatUsa;
  if (name == "CAN") return kCatCan;
  if (name == "SUV") return kCatSuv;
  line.Fail("no plan named " + name);
}

void ReadModels(Tables& t, const std::string& path) {
  for (const Line& line : ReadLines(path)) {
    std::vector<std::string> f;
    std::stringstream in(line.text);
    for (std::string part; std::getline(in, part, '|');) f.push_back(Trim(part));
    if (f.size() != 5) line.Fail("expected five fields separated by |");
    Model m;
    m.type = ParseInt(line, f[0]);
    if (m.type != static_cast<int>(t.models.size())) line.Fail("model types must run 0, 1, 2, ...");
    m.file = f[1];
    for (const std::string& s : Words(f[2])) {
      if (s == "USA")
        m.usa = true;
      else if (s == "CAN")
        m.can = true;
      else if (s == "INT")
        m.intl = true;
      else if (s == "WX")
        m.wx = true;
      else if (s == "ATIS")
        m.atis = true;
      else
        line.Fail("unknown switch " + s);
    }
    for (const std::string& s : Words(f[3])) {
      const auto colon = s.find(':');
      if (colon == std::string::npos) line.Fail("expected PLAN:channel[/flags]");
      Extra e;
      e.category = CategoryOf(line, s.substr(0, colon));
      std::string rest = s.substr(colon + 1), flags;
      if (const auto slash = rest.find('/'); slash != std::string::npos) {
        flags = rest.substr(slash + 1);
        rest.erase(slash);
      }
      if (rest.empty() || rest[0] != '@')
        line.Fail("extra channels come from the free list (@NAME)");
      int record = 0;
      const FreeChannel* fc = FindFree(t, rest.substr(1), &record);
      if (!fc) line.Fail("no free channel named " + rest.substr(1));
      e.channel.index = kFreeIndexBase + record;
      e.channel.txHz = fc->txHz;
      e.channel.rxHz = fc->rxHz;
      ParseFlags(line, flags, e.channel);
      m.extras.push_back(e);
    }
    m.name = f[4];
    if (m.file.empty() || m.name.empty()) line.Fail("file and name must not be empty");
    t.models.push_back(m);
  }
  if (t.models.size() != static_cast<std::size_t>(kModelTypes))
    throw TableError(path + ": needs all " + std::to_string(kModelTypes) + " model types");
}

void ReadSettings(Tables& t, const std::string& path) {
  for (const Line& line : ReadLines(path)) {
    const auto w = Words(line.text);
    if (w.size() < 2) line.Fail("expected: address bytes...");
    const int a = ParseInt(line, w[0], 16);
    std::vector<std::uint8_t> bytes;
    if (w[1][0] == 'x') {
      if (w.size() != 3) line.Fail("expected: address xCOUNT byte");
      const int count = ParseInt(line, w[1].substr(1));
      bytes.assign(static_cast<std::size_t>(std::max(count, 0)),
                   static_cast<std::uint8_t>(ParseInt(line, w[2], 16)));
    } else {
      for (std::size_t i = 1; i < w.size(); ++i) {
        const int b = ParseInt(line, w[i], 16);
        if (b < 0 || b > 255 || w[i].size() != 2) line.Fail("bytes are two hexadecimal digits");
        bytes.push_back(static_cast<std::uint8_t>(b));
      }
    }
    if (a < 0 || a + static_cast<int>(bytes.size()) > kFileEnd)
      line.Fail("outside the file range 000-CEF");
    t.settings.emplace_back(a, bytes);
  }
}

}  // namespace

std::uint32_t ParseMHz(const std::string& text) {
  const auto dot = text.find('.');
  const std::string whole = text.substr(0, dot);
  std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
  const auto digits = [](const std::string& s) {
    return std::all_of(s.begin(), s.end(), ::isdigit);
  };
  if (whole.empty() || whole.size() > 3 || frac.size() > 6 || !digits(whole) || !digits(frac))
    throw TableError("not a frequency in MHz: " + text);
  frac.resize(6, '0');
  return static_cast<std::uint32_t>(std::stoul(whole)) * 1'000'000 +
         static_cast<std::uint32_t>(std::stoul(frac));
}

Tables ReadTables(const std::string& dir) {
  Tables t;
  ReadFree(t, dir + "/free.txt");
  ReadPlan(t, dir + "/plans/int.txt", kCatInt);
  ReadPlan(t, dir + "/plans/usa.txt", kCatUsa);
  ReadPlan(t, dir + "/plans/can.txt", kCatCan);
  ReadPlan(t, dir + "/plans/suv.txt", kCatSuv);
  ReadWeather(t, dir + "/wx.txt");
  ReadModels(t, dir + "/models.txt");
  ReadSettings(t, dir + "/settings.txt");
  return t;
}

}  // namespace initial
