// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clone_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/file_sync.h"
#include "text/gtex.h"

using enum CloneFileCode;

namespace {

namespace fs = std::filesystem;

// Paths stay the bytes the system gave us (the local 8-bit encoding) all the
// way to the system call: a std::filesystem::path made from them and fopen
// take them as they are, while a QString would replace a byte that is not
// UTF-8 and so name another file.

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Writes a temporary file beside the target and renames it over the target
// only when every write, the flush and the sync succeeded; until then the
// target is untouched. Only when the folder refuses new files while the
// target itself may be written is the target written in place, and then a
// failure is still reported.
class SaveFileSink : public cmcCloneSink {
 public:
  ~SaveFileSink() override { Discard(); }

  bool Open(const std::string& path) override {
    Discard();
    target_ = fs::path(path);
    std::error_code error;
    // A link is followed, so that the file it names is replaced, not the link.
    if (fs::is_symlink(fs::symlink_status(target_, error))) {
      const fs::path resolved = fs::canonical(target_, error);
      if (!error) target_ = resolved;
    }
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 64; ++attempt) {
      temp_ = target_;
      temp_ += "." + std::to_string(random() % 1000000) + ".tmp";
      errno = 0;
      file_.reset(platform::CreateNewFile(temp_));
      if (file_) return true;
      if (errno != EEXIST) break;
    }
    temp_.clear();
    if (errno != EACCES && errno != EPERM) return false;
    if (!fs::is_regular_file(target_, error)) return false;
    direct_ = true;
    file_.reset(std::fopen(target_.string().c_str(), "wb"));
    return file_ != nullptr;
  }

  bool Write(std::string_view bytes) override {
    return file_ && platform::WriteToFile(file_.get(), bytes);
  }

  bool Commit() override {
    if (!file_) return false;
    // The sync comes before the rename: a power cut after a rename of data
    // still in the cache leaves an empty file where the saved one was.
    bool ok = platform::FlushFile(file_.get()) && platform::SyncToDisk(file_.get());
    ok = platform::CloseFile(file_.release()) && ok;
    if (direct_ || !ok) {
      Discard();
      return ok;
    }
    std::error_code error;
    // The new file keeps the permissions of the one it replaces.
    const fs::file_status old = fs::status(target_, error);
    if (!error && fs::exists(old)) fs::permissions(temp_, old.permissions(), error);
    if (!platform::MoveIntoPlace(temp_, target_, error)) {
      Discard();
      return false;
    }
    temp_.clear();
    return true;
  }

  void Discard() override {
    file_.reset();
    std::error_code error;
    if (!temp_.empty()) fs::remove(temp_, error);
    temp_.clear();
    direct_ = false;
  }

 private:
  fs::path target_;
  fs::path temp_;
  FilePtr file_;
  bool direct_ = false;
};

// Reads lines, keeping at most kKeep characters of each: a line longer than
// any valid one only needs to be recognised as too long. A line that goes
// on past kGiveUp characters ends the reading, so that a device that never
// sends a line end (say /dev/zero) cannot hold the program forever.
class LineReader {
 public:
  static constexpr std::size_t kKeep = 1024;
  static constexpr std::size_t kGiveUp = std::size_t{64} * 1024;
  enum Status { kLine, kEnd, kRunaway };
  explicit LineReader(std::FILE* file) : file_(file) {}

  // The next line with its line end, if it had one.
  Status Next(std::string* line, bool* ended) {
    line->clear();
    *ended = false;
    std::size_t length = 0;
    for (int got; (got = std::getc(file_)) != EOF;) {
      const char c = static_cast<char>(got);
      if (++length > kGiveUp) return kRunaway;
      if (line->size() < kKeep) line->push_back(c);
      if (c == '\n') {
        *ended = true;
        return kLine;
      }
    }
    return length > 0 ? kLine : kEnd;
  }

 private:
  std::FILE* file_;
};

bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDecimal(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
int HexValue(char c) {
  if (IsDecimal(c)) return c - '0';
  return (c >= 'a' ? c - 'a' : c - 'A') + 10;
}
int Hex(const std::string& s, std::size_t at, int digits) {
  int v = 0;
  for (int i = 0; i < digits; ++i) v = v * 16 + HexValue(s[at + static_cast<std::size_t>(i)]);
  return v;
}

// The number at the ninth character, read the way C's atoi reads: leading
// blanks, a sign, digits, and 0 when there are none.
int RevisionAt(const std::string& line) {
  if (line.size() <= 8) return 0;
  errno = 0;
  const long v = std::strtol(line.c_str() + 8, nullptr, 10);
  return static_cast<int>(std::clamp<long>(v, INT_MIN, INT_MAX));
}

void StripLineEnd(std::string* line, bool ended) {
  if (line->empty()) return;
  if (!ended) {
    // Without a line end the last character is taken for it, as a reader
    // that always removes one character does; the line then fails its
    // length check instead of being read short.
    line->pop_back();
    return;
  }
  line->pop_back();
  if (!line->empty() && line->back() == '\r') line->pop_back();
}

}  // namespace

std::unique_ptr<cmcCloneSink> MakeSaveFileSink() { return std::make_unique<SaveFileSink>(); }

const clsAddrRangeList& cmcCloneFile::StandardRanges() {
  static const clsAddrRangeList ranges = {{memmap::kFileFirst, memmap::kFileLast}};
  return ranges;
}

bool cmcCloneFile::AcceptRevisionOne(int revision, void*) {
  return revision == memmap::kMapRevision;
}

cmcCloneFile::cmcCloneFile() = default;
cmcCloneFile::~cmcCloneFile() = default;

void cmcCloneFile::Attach(cmcEeprom* image) {
  image_ = image;
  const int size = image ? image->Size() : 0;
  first_ = 0;
  last_ = size - 1;
  required_.assign(static_cast<std::size_t>(size), true);
  loaded_.assign(static_cast<std::size_t>(size), false);
}

void cmcCloneFile::SetRecordLength(int length) {
  if (length >= 1 && length <= 255) recordLength_ = length;
}

CloneFileCode cmcCloneFile::Report(CloneFileCode code) const {
  if (code != kOk && showMessages_) ShowError(code, questions_ ? *questions_ : DefaultQuestions());
  return code;
}

std::string cmcCloneFile::ErrorText(CloneFileCode code) {
  static const char* const kKeys[] = {
      nullptr,
      "GI_Mess_FileErr_FileOpen",
      "GI_Mess_FileErr_FileAccess",
      "GI_Mess_FileErr_Model",
      "GI_Mess_FileErr_Extra",
      "GI_Mess_FileErr_MapRev",
      "GI_Mess_FileErr_Format",
      "GI_Mess_FileErr_Coverage",
      "GI_Mess_FileErr_Data",
      "GI_Mess_FileErr_Newer",
  };
  const int n = static_cast<int>(code);
  if (n <= 0 || n >= static_cast<int>(std::size(kKeys)) || gGTex == nullptr) return {};
  return gGTex->Block(kKeys[n]);
}

void cmcCloneFile::ShowError(CloneFileCode code, UserQuestions& questions) {
  const std::string reason = ErrorText(code);
  if (reason.empty()) return;
  questions.Report(UserQuestions::Kind::kWarning,
                   gGTex->Block("GI_Mess_FileErr_Headline") + "\n\n" + reason);
}

std::string cmcCloneFile::CommentFromImage(const cmcEeprom& image) {
  std::string text;
  for (int i = 0; i < memmap::kCommentLength; ++i) {
    const int a = memmap::kComment + i;
    const int c = image.IsValidAddress(a) ? image.GetByte(a) : ' ';
    text.push_back((c >= 32 && c <= 126) ? static_cast<char>(c) : ' ');
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

namespace {
bool IsSaveTarget(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  return !fs::exists(status) || fs::is_regular_file(status);
}
}  // namespace

CloneFileCode cmcCloneFile::CheckSaveTarget(const std::string& path, UserQuestions& questions) {
  if (IsSaveTarget(path)) return kOk;
  ShowError(kFileOpen, questions);
  return kFileOpen;
}

CloneFileCode cmcCloneFile::Write(const std::string& path, const clsAddrRangeList& ranges) {
  return Report(DoWrite(path, ranges));
}

CloneFileCode cmcCloneFile::DoWrite(const std::string& path, const clsAddrRangeList& ranges) {
  if (image_ == nullptr || !IsSaveTarget(path)) return kFileOpen;
  std::unique_ptr<cmcCloneSink> own;
  cmcCloneSink* sink = sink_;
  if (sink == nullptr) {
    own = MakeSaveFileSink();
    sink = own.get();
  }
  if (!sink->Open(path)) return kFileOpen;

  // A line break inside the comment would start a line of its own.
  std::string comment = comment_;
  for (char& c : comment)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';

  char buf[64];
  std::string text;
  std::snprintf(buf, sizeof buf, "%04X%04X\r\n", modelCode_, extraCode_);
  text += buf;
  text += "#Comment=" + comment + "\r\n";
  std::snprintf(buf, sizeof buf, "#MapRev=%d\r\n", mapRevision_);
  text += buf;
  if (!sink->Write(text)) {
    sink->Discard();
    return kFileAccess;
  }

  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    if (!image_->IsValidAddress(r.first) || !image_->IsValidAddress(r.last)) break;
    for (int c = r.first; c <= r.last;) {
      int n = recordLength_ - (c % recordLength_);
      if (c + n - 1 > r.last) n = r.last - c + 1;
      std::snprintf(buf, sizeof buf, "%04X%02X", c, n);
      std::string line = buf;
      for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", image_->GetByte(c + i));
        line += buf;
      }
      line += "\r\n";
      if (!sink->Write(line)) {
        sink->Discard();
        return kFileAccess;
      }
      c += n;
    }
  }
  return sink->Commit() ? kOk : kFileAccess;
}

CloneFileCode cmcCloneFile::Read(const std::string& path, const clsAddrRangeList* ranges) {
  if (image_ == nullptr) return Report(kFileOpen);
  const cmcEeprom kept = *image_;
  const CloneFileCode code = DoRead(path, ranges);
  if (code != kOk) image_->Assign(kept);
  return Report(code);
}

CloneFileCode cmcCloneFile::DoRead(const std::string& path, const clsAddrRangeList* ranges) {
  // The maps follow the image even if it was resized after Attach.
  const auto size = static_cast<std::size_t>(image_->Size());
  if (required_.size() != size) required_.assign(size, true);
  loaded_.assign(size, false);
  // The revision must come from this file, not from an earlier setting.
  mapRevision_ = -1;
  // Opening a pipe with no writer waits for one for ever; nothing a user
  // means to open as a clone data file is a pipe, a socket or a folder.
  std::error_code error;
  const auto type = fs::status(fs::path(path), error).type();
  if (type == fs::file_type::fifo || type == fs::file_type::socket ||
      type == fs::file_type::directory) {
    return kFileOpen;
  }
  const FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return kFileOpen;
  LineReader reader(file.get());

  std::string line;
  bool ended = false;
  if (reader.Next(&line, &ended) != LineReader::kLine) return kFormat;
  if (ended) StripLineEnd(&line, true);
  if (line.size() != 8 || !std::all_of(line.begin(), line.end(), IsDecimal)) return kFormat;
  // The digits are read as hexadecimal, although only decimal ones pass.
  if (Hex(line, 0, 4) != modelCode_) return kModel;
  if (Hex(line, 4, 4) != extraCode_) return kExtra;

  bool dataSeen = false;
  for (LineReader::Status status; (status = reader.Next(&line, &ended)) != LineReader::kEnd;) {
    if (status == LineReader::kRunaway) return kFormat;
    if (!line.empty() && line[0] == '#') {
      if (line.find("MapRev=") != std::string::npos) mapRevision_ = RevisionAt(line);
      continue;
    }
    if (!dataSeen) {
      dataSeen = true;
      if (check_ == nullptr || !check_(mapRevision_, checkUser_)) return kMapRev;
    }
    StripLineEnd(&line, ended);
    if (const CloneFileCode code = ParseDataLine(line); code != kOk) return code;
  }
  if (std::ferror(file.get())) return kFileOpen;
  return ranges ? CheckCoverage(*ranges) : kOk;
}

CloneFileCode cmcCloneFile::ParseDataLine(const std::string& line) {
  if (line.size() < 8 || line.size() > 516) return kFormat;
  if (!std::all_of(line.begin(), line.end(), IsHex)) return kFormat;
  const int a = Hex(line, 0, 4);
  const int n = Hex(line, 4, 2);
  if (line.size() != static_cast<std::size_t>(6 + 2 * n)) return kFormat;
  for (int i = 0; i < n; ++i)
    if (!image_->IsValidAddress(a + i)) return kData;
  for (int i = 0; i < n; ++i) {
    image_->SetByte(a + i,
                    static_cast<std::uint8_t>(Hex(line, static_cast<std::size_t>(6 + 2 * i), 2)));
    loaded_[static_cast<std::size_t>(a + i)] = true;
  }
  return kOk;
}

int cmcCloneFile::BuildRequired(const clsAddrRangeList& ranges) {
  required_.assign(static_cast<std::size_t>(image_->Size()), false);
  int taken = 0;
  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    if (!image_->IsValidAddress(r.first) || !image_->IsValidAddress(r.last)) break;
    for (int a = r.first; a <= r.last; ++a) required_[static_cast<std::size_t>(a)] = true;
    ++taken;
  }
  return taken;
}

CloneFileCode cmcCloneFile::CheckCoverage(const clsAddrRangeList& ranges) {
  // A list that names nothing inside the image leaves nothing to check
  // against; an empty file must not pass for a complete one.
  if (image_ == nullptr || BuildRequired(ranges) == 0) return kCoverage;
  if (loaded_.size() != required_.size()) return kCoverage;
  if (loaded_ == required_) return kOk;
  for (std::size_t a = 0; a < loaded_.size(); ++a)
    if (loaded_[a] && !required_[a]) return kData;
  return kCoverage;
}

void SetUpRadioFile(cmcCloneFile& file, cmcEeprom* image) {
  file.Attach(image);
  file.SetModelCode(memmap::kModelCode);
  file.SetExtraCode(memmap::kExtraCode);
  file.SetMapRevision(memmap::kMapRevision);
  file.SetMapRevisionCheck(&cmcCloneFile::AcceptRevisionOne, nullptr);
}
