#include "model/clone_file.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/message_box.h"
#include "text/gtex.h"

using enum CloneFileCode;

namespace {

class SaveFileSink : public cmcCloneSink {
 public:
  bool Open(const std::string& path) override {
    file_ = std::make_unique<QSaveFile>(QString::fromStdString(path));
    return file_->open(QIODevice::WriteOnly);
  }
  bool Write(std::string_view bytes) override {
    const auto n = static_cast<qint64>(bytes.size());
    return file_ && file_->write(bytes.data(), n) == n;
  }
  bool Commit() override {
    const bool ok = file_ && file_->commit();
    file_.reset();
    return ok;
  }
  void Discard() override {
    // A QSaveFile that is destroyed without commit removes its temporary file.
    if (file_) file_->cancelWriting();
    file_.reset();
  }

 private:
  std::unique_ptr<QSaveFile> file_;
};

// Reads lines, keeping at most kKeep characters of each: a line longer than
// any valid one only needs to be recognised as too long. A line that goes
// on past kGiveUp characters ends the reading, so that a device that never
// sends a line end (say /dev/zero) cannot hold the program forever.
class LineReader {
 public:
  static constexpr std::size_t kKeep = 1024;
  static constexpr std::size_t kGiveUp = 64 * 1024;
  enum Status { kLine, kEnd, kRunaway };
  explicit LineReader(QFile& file) : file_(file) {}

  // The next line with its line end, if it had one.
  Status Next(std::string* line, bool* ended) {
    line->clear();
    *ended = false;
    std::size_t length = 0;
    char c;
    while (file_.getChar(&c)) {
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
  QFile& file_;
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

const cmcCloneFile::RangeList& cmcCloneFile::StandardRanges() {
  static const RangeList ranges = {{memmap::kFileFirst, memmap::kFileLast}};
  return ranges;
}

bool cmcCloneFile::AcceptRevisionOne(int revision, void*) { return revision == memmap::kMapRevision; }

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
  if (code != kOk && showMessages_) ShowError(code);
  return code;
}

void cmcCloneFile::ShowError(CloneFileCode code) {
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
  if (n <= 0 || n >= static_cast<int>(std::size(kKeys)) || gGTex == nullptr) return;
  const std::string text = gGTex->Text("GI_Mess_FileErr_Headline") + "\n\n" + gGTex->Text(kKeys[n]);
  platform::ShowMessage(text, gGTex->Text("GI_Sys_AppTitle"), platform::kMbOk | platform::kMbIconExclamation);
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

CloneFileCode cmcCloneFile::Write(const std::string& path, const RangeList& ranges) {
  return Report(DoWrite(path, ranges));
}

CloneFileCode cmcCloneFile::DoWrite(const std::string& path, const RangeList& ranges) {
  if (image_ == nullptr) return kFileOpen;
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

  for (const Range& r : ranges) {
    if (r.first > r.last) break;
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

CloneFileCode cmcCloneFile::Read(const std::string& path, const RangeList* ranges) {
  if (image_ == nullptr) return Report(kFileOpen);
  const cmcEeprom kept = *image_;
  const CloneFileCode code = DoRead(path, ranges);
  if (code != kOk) image_->Assign(kept);
  return Report(code);
}

CloneFileCode cmcCloneFile::DoRead(const std::string& path, const RangeList* ranges) {
  // The maps follow the image even if it was resized after Attach.
  const auto size = static_cast<std::size_t>(image_->Size());
  if (required_.size() != size) required_.assign(size, true);
  loaded_.assign(size, false);
  // The revision must come from this file, not from an earlier setting.
  mapRevision_ = -1;
  // Opening a pipe with no writer waits for one for ever; nothing a user
  // means to open as a clone data file is a pipe or a socket.
  std::error_code error;
  const auto type = std::filesystem::status(path, error).type();
  if (type == std::filesystem::file_type::fifo || type == std::filesystem::file_type::socket) {
    return kFileOpen;
  }
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return kFileOpen;
  LineReader reader(file);

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
  if (file.error() != QFileDevice::NoError) return kFileOpen;
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
    image_->SetByte(a + i, static_cast<std::uint8_t>(Hex(line, static_cast<std::size_t>(6 + 2 * i), 2)));
    loaded_[static_cast<std::size_t>(a + i)] = true;
  }
  return kOk;
}

int cmcCloneFile::BuildRequired(const RangeList& ranges) {
  required_.assign(static_cast<std::size_t>(image_->Size()), false);
  int taken = 0;
  for (const Range& r : ranges) {
    if (r.first > r.last) break;
    if (!image_->IsValidAddress(r.first) || !image_->IsValidAddress(r.last)) break;
    for (int a = r.first; a <= r.last; ++a) required_[static_cast<std::size_t>(a)] = true;
    ++taken;
  }
  return taken;
}

CloneFileCode cmcCloneFile::CheckCoverage(const RangeList& ranges) {
  // A list that names nothing inside the image leaves nothing to check
  // against; an empty file must not pass for a complete one.
  if (image_ == nullptr || BuildRequired(ranges) == 0) return kCoverage;
  if (loaded_.size() != required_.size()) return kCoverage;
  if (loaded_ == required_) return kOk;
  for (std::size_t a = 0; a < loaded_.size(); ++a)
    if (loaded_[a] && !required_[a]) return kData;
  return kCoverage;
}
