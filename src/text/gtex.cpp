// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/gtex.h"

#include <cstring>

#include "platform/fatal.h"

cmcGTex* gGTex = nullptr;
cmcGTex* gHelpGTex = nullptr;

namespace {
constexpr const char* kEndKey = "End_Of_Ovl";

bool IsKeyLine(const std::string& line) {
  // "#" followed by at least one byte before the line end.
  return line.size() >= 2 && line[0] == '#' && line[1] != '\n';
}

void CutAtLineFeed(std::string* s) {
  const auto lf = s->find('\n');
  if (lf != std::string::npos) s->resize(lf);
}
}  // namespace

cmcGTex::cmcGTex() = default;

cmcGTex::~cmcGTex() {
  if (file_) std::fclose(file_);
}

bool cmcGTex::Bind(const std::string& path) {
  if (bound_) return false;
  path_ = path;
  bound_ = true;
  return true;
}

bool cmcGTex::Open() {
  if (file_) return true;
  if (openTried_ || !bound_ || path_.empty()) return false;
  openTried_ = true;
  file_ = std::fopen(path_.c_str(), "rb");
  return file_ != nullptr;
}

// Reads like a text-mode fgets: at most kMaxLine bytes, the line feed
// included, with a CR LF pair read as one line feed. *consumed is the number
// of bytes the line occupies in the file.
bool cmcGTex::ReadRawLine(std::string* text, long* consumed) {
  text->clear();
  long used = 0;
  while (static_cast<int>(text->size()) < kMaxLine) {
    int c = std::fgetc(file_);
    if (c == EOF) break;
    ++used;
    if (c == '\r') {
      int next = std::fgetc(file_);
      if (next == '\n') {
        ++used;
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, file_);
      }
    }
    text->push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  *consumed = used;
  return used > 0;
}

void cmcGTex::ScanStep(KeyRecord** appended) {
  *appended = nullptr;
  if (scanFinished_) return;
  if (!Open()) {
    scanFinished_ = true;
    return;
  }
  if (std::fseek(file_, scanPos_, SEEK_SET) != 0) {
    scanFinished_ = true;
    return;
  }
  std::string line;
  long consumed = 0;
  if (!ReadRawLine(&line, &consumed)) {
    scanFinished_ = true;
    return;
  }
  const long after = scanPos_ + consumed;
  if (IsKeyLine(line)) {
    CutAtLineFeed(&line);
    KeyRecord rec;
    rec.key = line.substr(1);
    rec.line0 = after;
    rec.memoLine = 0;
    rec.memoOffset = after;
    keys_.push_back(std::move(rec));
    *appended = &keys_.back();
    if (keys_.back().key == kEndKey) scanFinished_ = true;
  }
  scanPos_ = after;
}

cmcGTex::KeyRecord* cmcGTex::FindKey(const std::string& key) {
  int p = 0;
  for (auto it = keys_.begin(); it != keys_.end(); ++it, ++p) {
    if (it->key != key) continue;
    if (p > kMoveToFrontDepth) keys_.splice(keys_.begin(), keys_, it);
    return &*it;  // list nodes do not move when spliced
  }
  while (!scanFinished_) {
    KeyRecord* appended = nullptr;
    ScanStep(&appended);
    if (appended && appended->key == key) return appended;
  }
  return nullptr;
}

bool cmcGTex::ReadCachedLine(std::string* text) {
  auto hit = cacheIndex_.find(pos_);
  if (hit != cacheIndex_.end()) {
    auto entry = hit->second;
    *text = entry->text;
    pos_ += entry->length;
    std::fseek(file_, pos_, SEEK_SET);
    if (std::next(entry) != cache_.end()) cache_.splice(cache_.end(), cache_, entry);
    return true;
  }
  if (std::fseek(file_, pos_, SEEK_SET) != 0) return false;
  long consumed = 0;
  if (!ReadRawLine(text, &consumed)) return false;
  if (static_cast<int>(cache_.size()) >= kCacheSize) {
    cacheIndex_.erase(cache_.front().start);
    cache_.pop_front();
  }
  cache_.push_back(CacheEntry{pos_, consumed, *text});
  cacheIndex_[pos_] = std::prev(cache_.end());
  pos_ += consumed;
  return true;
}

void cmcGTex::SetVariant(const std::string& variant) {
  variant_ = variant;
  resolved_.clear();
}

const std::string& cmcGTex::Resolve(const std::string& key) {
  if (variant_.empty() || key.rfind("GI_", 0) != 0) return key;
  auto hit = resolved_.find(key);
  if (hit == resolved_.end()) {
    const std::string variantKey = "GI_" + variant_ + "_" + key.substr(3);
    hit = resolved_.emplace(key, FindKey(variantKey) ? variantKey : key).first;
  }
  return hit->second;
}

bool cmcGTex::TryLine(const std::string& key, int n, std::string* out) {
  if (n < 0) return false;
  KeyRecord* rec = FindKey(Resolve(key));
  if (!rec || !file_) return false;
  int line = rec->memoLine;
  long offset = rec->memoOffset;
  if (n < line) {
    line = 0;
    offset = rec->line0;
  }
  if (std::fseek(file_, offset, SEEK_SET) != 0) return false;
  pos_ = offset;
  std::string text;
  for (; line < n; ++line) {
    if (!ReadCachedLine(&text)) return false;
  }
  if (!ReadCachedLine(&text)) return false;
  CutAtLineFeed(&text);
  rec->memoLine = n + 1;
  rec->memoOffset = pos_;
  *out = std::move(text);
  return true;
}

std::string cmcGTex::Line(const std::string& key, int n) {
  std::string out;
  if (!TryLine(key, n, &out)) Fail(key);
  return out;
}

std::string cmcGTex::Block(const std::string& key) {
  std::string result;
  for (int n = 0;; ++n) {
    std::string line = Line(key, n);
    if (!line.empty() && line[0] == '#') break;
    if (n > 0) result += '\n';
    result += line;
  }
  return result;
}

void cmcGTex::Fail(const std::string& key) {
  platform::Fatal("GTEX Error !\nThe index '" + key + "' was not found.");
}
