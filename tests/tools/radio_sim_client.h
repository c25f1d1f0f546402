// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's end of the line for the simulator tests: plain POSIX reads
// and writes on the pseudo-terminal, and just enough framing to take the
// radio's answers apart. Written from the frame table, not from the
// simulator's code, so that each checks the other.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "support/radio_sim.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kImageSize = 3796;
constexpr unsigned kReadEnd = 0xCF0;  // a read covers 000-CEF

inline Bytes Hex(const std::string& text) {
  Bytes out;
  std::string digits;
  for (char c : text)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits.push_back(c);
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  return out;
}

template <class T>
std::vector<T> Concat(std::vector<T> a, const std::vector<T>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Bytes kInfoRequest = Hex("FE FE EE EF E0 58 16 00 00 FD");
const Bytes kReadRequest = Hex("FE FE EE EF E2 58 16 00 00 FD");
const Bytes kWriteRequest = Hex("FE FE EE EF E3 58 16 00 00 FD");

// One frame as it travels: FE FE, two address bytes, command, body, FD.
struct Frame {
  std::uint8_t from0 = 0, from1 = 0, command = 0;
  std::string body;  // raw bytes of the body, as characters
  bool operator==(const Frame&) const = default;
};

// Readable failure messages: "EF EE E4 000010...".
inline void PrintTo(const Frame& f, std::ostream* os) {
  char head[16];
  std::snprintf(head, sizeof head, "%02X %02X %02X ", f.from0, f.from1, f.command);
  *os << head;
  for (char c : f.body) {
    if (c >= 32 && c <= 126)
      *os << c;
    else {
      std::snprintf(head, sizeof head, "<%02X>", static_cast<unsigned char>(c));
      *os << head;
    }
  }
}

// Splits a byte stream into frames; bytes outside FE FE ... FD are skipped.
inline std::vector<Frame> SplitFrames(const Bytes& stream, std::size_t from = 0) {
  std::vector<Frame> frames;
  std::size_t i = from;
  while (i + 1 < stream.size()) {
    if (stream[i] != 0xFE || stream[i + 1] != 0xFE) {
      ++i;
      continue;
    }
    std::size_t end = i + 2;
    while (end < stream.size() && stream[end] != 0xFD) ++end;
    if (end >= stream.size() || end < i + 5) break;
    Frame f{stream[i + 2], stream[i + 3], stream[i + 4],
            std::string(stream.begin() + i + 5, stream.begin() + end)};
    frames.push_back(f);
    i = end + 1;
  }
  return frames;
}

// A data frame body decoded: address, data; ok is false when the text is
// not upper-case hex of the right length or the checksum fails.
struct Decoded {
  bool ok = false;
  unsigned address = 0;
  Bytes data;
};

inline Decoded DecodeData(const std::string& body) {
  Decoded d;
  if (body.size() % 2 || body.size() < 8) return d;
  Bytes raw;
  for (std::size_t i = 0; i < body.size(); i += 2) {
    auto val = [](char c) {
      return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    const int h = val(body[i]), l = val(body[i + 1]);
    if (h < 0 || l < 0) return d;
    raw.push_back(static_cast<std::uint8_t>(h * 16 + l));
  }
  unsigned sum = 0;
  for (auto b : raw) sum += b;
  if (raw.size() != raw[2] + 4u || (sum & 0xFF) != 0) return d;
  d.ok = true;
  d.address = raw[0] * 256u + raw[1];
  d.data.assign(raw.begin() + 3, raw.end() - 1);
  return d;
}

// A data frame as the program sends it.
inline Bytes ProgramDataFrame(unsigned address, const Bytes& data) {
  unsigned sum = (address >> 8) + (address & 0xFF) + static_cast<unsigned>(data.size());
  char text[8];
  std::snprintf(text, sizeof text, "%04X%02X", address, static_cast<unsigned>(data.size()));
  std::string body = text;
  for (auto b : data) {
    std::snprintf(text, sizeof text, "%02X", b);
    body += text;
    sum += b;
  }
  std::snprintf(text, sizeof text, "%02X", (256 - (sum & 0xFF)) & 0xFF);
  body += text;
  Bytes frame = Hex("FE FE EE EF E4");
  frame.insert(frame.end(), body.begin(), body.end());
  frame.push_back(0xFD);
  return frame;
}

inline Bytes ProgramEndFrame(unsigned count) {
  char text[16];
  std::snprintf(text, sizeof text, "Zelm Inc.%02X", count & 0xFF);
  Bytes frame = Hex("FE FE EE EF E5");
  frame.insert(frame.end(), text, text + std::strlen(text));
  frame.push_back(0xFD);
  return frame;
}

// A recognisable image: a byte pattern over 000-CEF, a comment, a model
// type, the maker signature and a dealer block version.
inline Bytes SampleImage(std::uint8_t model = 3) {
  Bytes image(kImageSize, 0);
  for (unsigned a = 0; a < kReadEnd; ++a) image[a] = static_cast<std::uint8_t>(a * 7 + (a >> 8));
  std::memcpy(&image[0x9C0], "SIM TEST RADIO  ", 16);
  image[0x9D1] = model;
  std::memcpy(&image[0x9D8], "Zelm Inc", 8);
  // The dealer block version, in the block and in its active copy.
  image[0xCBC] = image[0xB7C] = 0x01;
  image[0xCBD] = image[0xB7D] = 0x02;
  return image;
}

// The 28-byte information payload a radio holding this image reports when
// no option or fault changes it.
inline Bytes DefaultPayload(const Bytes& image) {
  Bytes p(28, 0);
  p[0] = 28;
  p[1] = 0x10;
  p[2] = 1;
  std::memcpy(&p[3], &image[0x9C0], 16);
  p[21] = image[0x9D1];
  p[22] = 0x01;
  p[26] = image[0xB7C];
  p[27] = image[0xB7D];
  return p;
}

// The data frames a clean read of the image consists of, n bytes a frame.
inline std::vector<Frame> ReadFrames(const Bytes& image, unsigned n = 16) {
  std::vector<Frame> frames;
  for (unsigned a = 0; a < kReadEnd; a += n) {
    const Bytes data(image.begin() + a, image.begin() + std::min(a + n, kReadEnd));
    const Bytes wire = ProgramDataFrame(a, data);
    frames.push_back(Frame{0xEF, 0xEE, 0xE4, std::string(wire.begin() + 5, wire.end() - 1)});
  }
  return frames;
}

inline Frame RadioEndFrame(unsigned count) {
  char text[16];
  std::snprintf(text, sizeof text, "Zelm Inc.%02X", count & 0xFF);
  return Frame{0xEF, 0xEE, 0xE5, text};
}

inline bool WriteCloneFile(const QString& path, const Bytes& image) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  QByteArray text = "58160001\r\n#Comment=SIM TEST RADIO\r\n#MapRev=1\r\n";
  for (unsigned a = 0; a < kReadEnd; a += 16) {
    text += QByteArray::number(a, 16).rightJustified(4, '0').toUpper() + "10";
    text += QByteArray(reinterpret_cast<const char*>(&image[a]), 16).toHex().toUpper() + "\r\n";
  }
  return f.write(text) == text.size();
}

// Reads the data lines of a clone data file into an image; false when a
// line is malformed.
inline bool ReadCloneFile(const QString& path, Bytes& image, QByteArray* header = nullptr) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  image.assign(kImageSize, 0);
  bool first = true;
  while (!f.atEnd()) {
    const QByteArray line = f.readLine().trimmed();
    if (first) {
      if (header) *header = line;
      first = false;
      continue;
    }
    if (line.startsWith('#')) continue;
    bool ok = false;
    const unsigned a = line.left(4).toUInt(&ok, 16);
    const unsigned n = line.mid(4, 2).toUInt(&ok, 16);
    if (!ok || line.size() != 6 + 2 * static_cast<qsizetype>(n) || a + n > kImageSize) return false;
    const QByteArray data = QByteArray::fromHex(line.mid(6));
    std::memcpy(&image[a], data.constData(), n);
  }
  return true;
}

// The program's side of the pseudo-terminal.
class Client {
 public:
  explicit Client(const std::string& device) {
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;
  ~Client() { Close(); }

  bool IsOpen() const { return fd_ >= 0; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  bool Send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0)
        done += static_cast<std::size_t>(n);
      else if (n < 0 && errno != EAGAIN)
        return false;
      else {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, 100);
      }
    }
    return true;
  }

  // Collects bytes until done(received) holds, the line ends, or a safety
  // limit of 20 s passes (so a broken simulator fails the test rather than
  // hanging it). Everything received since the last call is returned.
  Bytes ReadUntil(const std::function<bool(const Bytes&)>& done) {
    Bytes got;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done(got) && !ended_ && std::chrono::steady_clock::now() < limit) {
      pollfd p{fd_, POLLIN, 0};
      ::poll(&p, 1, 50);
      std::uint8_t buffer[4096];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0)
        got.insert(got.end(), buffer, buffer + n);
      else if (n == 0 || (n < 0 && errno != EAGAIN))
        ended_ = true;
    }
    return got;
  }
  Bytes ReadCount(std::size_t count) {
    return ReadUntil([count](const Bytes& b) { return b.size() >= count; });
  }
  // Until the radio has completed a frame with this command.
  Bytes ReadUntilRadioFrame(std::uint8_t command) {
    return ReadUntil([command](const Bytes& b) {
      for (const Frame& f : SplitFrames(b))
        if (f.from0 == 0xEF && f.from1 == 0xEE && f.command == command) return true;
      return false;
    });
  }
  // True once a read found the line closed by the other side.
  bool Ended() const { return ended_; }

 private:
  int fd_ = -1;
  bool ended_ = false;
};

}  // namespace simtest
