// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text table: keyed lookups into an overlay file that is never loaded
// whole. Keys are collected lazily as far as a search needs them, each key
// remembers where its next line starts, and recently read lines are cached by
// file offset, so sheets that redraw the same definitions cost little.

#include <cstdint>
#include <cstdio>
#include <list>
#include <string>
#include <unordered_map>

class cmcGTex {
 public:
  // A physical line longer than this is read as several lines.
  static constexpr int kMaxLine = 8191;
  static constexpr int kCacheSize = 64;
  // A key found deeper than this in the key list moves to its head.
  static constexpr int kMoveToFrontDepth = 10;

  cmcGTex();
  ~cmcGTex();
  cmcGTex(const cmcGTex&) = delete;
  cmcGTex& operator=(const cmcGTex&) = delete;

  // Binds the table to a file once; a second bind is ignored.
  bool Bind(const std::string& path);
  const std::string& Path() const { return path_; }

  // Line n of the entry, without its line end. An unknown key, a missing
  // file or a read past the end is fatal (an installation fault).
  std::string Line(const std::string& key, int n);
  std::string Text(const std::string& key) { return Line(key, 0); }
  // Lines 0, 1, ... up to the first line beginning with "#", joined by "\n".
  std::string Block(const std::string& key);

  // The same lookup without the fatal stop, for callers that probe.
  bool TryLine(const std::string& key, int n, std::string* out);
  bool HasKey(const std::string& key) { return FindKey(Resolve(key)) != nullptr; }

  // From now on a key GI_X finds the entry GI_<variant>_X instead,
  // wherever the file has one: a program other than the window (the
  // command-line tool) words the texts written for the window its own way
  // without changing them. "" turns it off.
  void SetVariant(const std::string& variant);

 private:
  struct KeyRecord {
    std::string key;
    long line0 = 0;       // offset of line 0
    int memoLine = 0;     // the next line number ...
    long memoOffset = 0;  // ... and where it starts
  };
  struct CacheEntry {
    long start;
    long length;
    std::string text;
  };

  bool Open();
  void ScanStep(KeyRecord** appended);
  KeyRecord* FindKey(const std::string& key);
  // The key a lookup of key reads under the variant.
  const std::string& Resolve(const std::string& key);
  // Reads one line at pos_ through the cache; false at the end of the file.
  bool ReadCachedLine(std::string* text);
  // Reads one line directly from the file at its current position.
  bool ReadRawLine(std::string* text, long* consumed);
  [[noreturn]] void Fail(const std::string& key);

  std::string path_;
  bool bound_ = false;
  std::FILE* file_ = nullptr;
  bool openTried_ = false;
  long pos_ = 0;
  long scanPos_ = 0;
  bool scanFinished_ = false;
  std::list<KeyRecord> keys_;
  std::list<CacheEntry> cache_;  // most recently used at the back
  std::unordered_map<long, std::list<CacheEntry>::iterator> cacheIndex_;
  std::string variant_;
  std::unordered_map<std::string, std::string> resolved_;
};

// The two tables of the running program; the start-up code owns them.
extern cmcGTex* gGTex;
extern cmcGTex* gHelpGTex;
