// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_radio.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "sim_image.h"

namespace sim {

namespace {

const Bytes kStrayBytes = {0x00, 0x55, 0xAA, 0xFD, 0x0D, 0x0A};

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string Hex4(unsigned value) {
  const std::uint8_t b[2] = {static_cast<std::uint8_t>(value >> 8),
                             static_cast<std::uint8_t>(value)};
  return HexText(b, 2);
}

}  // namespace

Radio::Radio(const Options& options, Bytes image, EventLog& log, Output& out)
    : options_(options), image_(std::move(image)), log_(log), out_(out) {
  image_.resize(kImageSize, 0);
  if (options_.fault == Fault::NoSignature) std::memset(&image_[kSignatureAddress], 0, 8);
}

void Radio::Receive(std::uint8_t byte) {
  if (auto frame = assembler_.Push(byte)) OnFrame(*frame);
}

void Radio::LineClosed() {
  assembler_.Reset();
  if (writing_) log_.Line("write abandoned frames=" + std::to_string(writeFrames_));
  writing_ = false;
}

void Radio::StartExchange(const char* name) {
  exchangeFrames_ = 0;
  log_.Line(name);
}

void Radio::OnFrame(const Bytes& frame) {
  // As assembled: FE, the two address bytes, the command, the body.
  if (frame.size() < 4 || frame[1] != kProgramAddress[0] || frame[2] != kProgramAddress[1]) {
    log_.Line("ignored a frame not addressed to the radio");
    return;
  }
  const std::uint8_t command = frame[3];
  const Bytes body(frame.begin() + 4, frame.end());

  if (command == kInfoRequest || command == kReadRequest || command == kWriteRequest) {
    // Every request carries the model code and 0; a radio of another model
    // keeps quiet.
    if (body.size() != 4 || body[0] != (kModelCode >> 8) || body[1] != (kModelCode & 0xFF)) {
      log_.Line("ignored a request for another model");
      return;
    }
    if (writing_) log_.Line("write abandoned frames=" + std::to_string(writeFrames_));
    writing_ = false;
  }

  switch (command) {
    case kInfoRequest:
      StartExchange("info request");
      AnswerInformation();
      return;
    case kReadRequest:
      StartExchange("read request");
      SendImage();
      return;
    case kWriteRequest:
      StartExchange("write request");
      writing_ = true;
      staging_ = image_;
      writeFrames_ = 0;
      writeBytes_ = 0;
      writeError_.clear();
      if (options_.fault == Fault::HangUp && options_.At() == 0) {
        log_.Line("fault: hang-up after 0 frames");
        out_.HangUp();
      }
      return;
    case kDataFrame:
      if (writing_)
        TakeDataFrame(body);
      else
        log_.Line("ignored a data frame outside a write");
      return;
    case kEndFrame:
      if (writing_)
        FinishWrite(body);
      else
        log_.Line("ignored an end frame outside a write");
      return;
    default: log_.Line("ignored command " + HexText(&command, 1));
  }
}

void Radio::SendFrame(std::uint8_t command, const Bytes& body) {
  if (options_.fault == Fault::Stray && exchangeFrames_ == options_.At()) {
    log_.Line("fault: stray bytes");
    out_.Send(kStrayBytes);
  }
  ++exchangeFrames_;
  out_.Send(RadioFrame(command, body));
}

Bytes Radio::InformationPayload() const {
  Bytes p(28, 0);
  p[0] = 28;
  p[1] = options_.revision;
  p[2] = 1;
  for (std::size_t i = 0; i < kCommentLength; ++i) {
    const std::uint8_t c = image_[kCommentAddress + i];
    p[3 + i] = c >= 32 && c <= 126 ? c : ' ';
  }
  std::uint8_t flags = 0;
  if (options_.fault == Fault::ReadForbidden) flags |= 0x01;
  // The program reads either of bits 1 and 2 as over-temperature.
  if (options_.fault == Fault::OverTemp) flags |= options_.At() == 2 ? 0x04 : 0x02;
  if (options_.fault == Fault::DcVoltage) flags |= 0x08;
  if (options_.fault == Fault::OverVoltage) flags |= 0x10;
  p[19] = flags;
  p[20] = options_.battery;
  std::uint8_t model = image_[kModelAddress];
  if (options_.fault == Fault::OtherModel) {
    const long at = options_.At();
    model = at >= 0 ? static_cast<std::uint8_t>(at) : (model >= 8 && model <= 11 ? 0 : 8);
  }
  p[21] = model;
  p[22] = static_cast<std::uint8_t>(options_.extraId >> 8);
  p[23] = static_cast<std::uint8_t>(options_.extraId);
  const std::uint16_t extra = options_.extraVersion.value_or(0);
  p[24] = static_cast<std::uint8_t>(extra >> 8);
  p[25] = static_cast<std::uint8_t>(extra);
  if (options_.dealerVersion) {
    p[26] = static_cast<std::uint8_t>(*options_.dealerVersion >> 8);
    p[27] = static_cast<std::uint8_t>(*options_.dealerVersion);
  } else {
    p[26] = image_[kDealerVersionAddress];
    p[27] = image_[kDealerVersionAddress + 1];
  }
  // The payload travels raw inside the frame: a preamble or terminator byte
  // taken from a strange image would cut it, so such bytes go out as 0.
  for (std::uint8_t& b : p)
    if (b == kPreamble || b == kTerminator) b = 0;
  return p;
}

void Radio::AnswerInformation() {
  if (options_.fault == Fault::Silent) return;
  // The two values as two decimal digits per byte: 5816 and 0001.
  Bytes body = {0x58, 0x16, 0x00,
                static_cast<std::uint8_t>(options_.fault == Fault::Value2Zero ? 0x00 : 0x01)};
  const Bytes payload = InformationPayload();
  body.insert(body.end(), payload.begin(), payload.end());
  SendFrame(kInfoReply, body);
  log_.Line("info reply");
}

void Radio::SendImage() {
  if (options_.fault == Fault::Silent) return;
  const Fault fault = options_.fault;
  const long at = options_.At();
  const unsigned size = static_cast<unsigned>(options_.frameSize);
  unsigned sent = 0;
  bool lowered = false;
  auto beyondFrame = [&] {
    // Reaches 8 bytes past the last image address.
    const std::uint16_t address = static_cast<std::uint16_t>(kImageSize - 8);
    const Bytes zeros(16, 0);
    SendFrame(kDataFrame, ToBytes(DataFrameBody(address, zeros.data(), zeros.size())));
    ++sent;
    log_.Line("fault: data frame beyond the image at " + Hex4(address));
  };

  long index = 0;
  for (unsigned address = kReadFirst; address <= kReadLast; address += size, ++index) {
    if (fault == Fault::HangUp && index == at) {
      log_.Line("fault: hang-up after " + std::to_string(index) + " frames");
      out_.HangUp();
      return;
    }
    const unsigned n = std::min(size, kReadLast + 1u - address);
    if (fault == Fault::MissingFrame && index == at) {
      log_.Line("fault: left out the data frame at " + Hex4(address));
      continue;
    }
    std::string body = DataFrameBody(static_cast<std::uint16_t>(address), &image_[address], n);
    if (fault == Fault::BadChecksum && index == at) {
      std::uint8_t sum = static_cast<std::uint8_t>(
          DataChecksum(static_cast<std::uint16_t>(address), &image_[address], n) + 1);
      body.replace(body.size() - 2, 2, HexText(&sum, 1));
      log_.Line("fault: bad checksum at " + Hex4(address));
    }
    if (fault == Fault::LowerCase && !lowered && index >= at &&
        std::any_of(body.begin(), body.end(), [](char c) { return c >= 'A' && c <= 'F'; })) {
      std::transform(body.begin(), body.end(), body.begin(),
                     [](char c) { return static_cast<char>(std::tolower(c)); });
      lowered = true;
      log_.Line("fault: lower-case hex at " + Hex4(address));
    }
    SendFrame(kDataFrame, ToBytes(body));
    ++sent;
    if (fault == Fault::BeyondImage && index == at) beyondFrame();
  }
  if (fault == Fault::BeyondImage && (at < 0 || at >= index)) beyondFrame();
  if (fault == Fault::HangUp && index == at) {
    log_.Line("fault: hang-up after " + std::to_string(index) + " frames");
    out_.HangUp();
    return;
  }
  unsigned announced = sent;
  if (fault == Fault::WrongCount) {
    announced = sent - 1;
    log_.Line("fault: end frame announces " + std::to_string(announced & 0xFF) + " frames");
  }
  SendFrame(kEndFrame, ToBytes(EndFrameBody(announced)));
  log_.Line("read end frames=" + std::to_string(sent));
}

void Radio::TakeDataFrame(const Bytes& body) {
  ++writeFrames_;
  const DataFrameResult result = DecodeDataFrame(body);
  if (!result.frame) {
    if (writeError_.empty())
      writeError_ = "data frame " + std::to_string(writeFrames_ - 1) + ": " + result.error;
  } else if (result.frame->address + result.frame->data.size() > kImageSize) {
    if (writeError_.empty())
      writeError_ = "data frame at " + Hex4(result.frame->address) + " beyond the image";
  } else {
    if (writeBytes_ == 0) firstWritten_ = result.frame->address;
    std::copy(result.frame->data.begin(), result.frame->data.end(),
              staging_.begin() + result.frame->address);
    writeBytes_ += result.frame->data.size();
  }
  if (options_.fault == Fault::HangUp && static_cast<long>(writeFrames_) == options_.At()) {
    log_.Line("fault: hang-up after " + std::to_string(writeFrames_) + " frames");
    out_.HangUp();
  }
}

void Radio::FinishWrite(const Bytes& body) {
  writing_ = false;
  const std::string expected = EndFrameBody(writeFrames_);
  std::string error = writeError_;
  if (error.empty() && std::string(body.begin(), body.end()) != expected)
    error = "end frame " + std::string(body.begin(), body.end()) + " after " +
            std::to_string(writeFrames_) + " frames";
  if (error.empty() && options_.fault == Fault::WriteRefused) error = "fault: write refused";
  if (options_.fault == Fault::Silent) {
    log_.Line("write end frames=" + std::to_string(writeFrames_) + " unanswered");
    return;
  }
  if (!error.empty()) {
    log_.Line("write refused: " + error);
    SendFrame(kWriteResult, Bytes{0x01});
    return;
  }
  image_ = staging_;
  if (options_.fault == Fault::StoreWrong) {
    const long at = options_.At() >= 0 ? options_.At() : static_cast<long>(firstWritten_);
    if (at < static_cast<long>(image_.size())) {
      image_[static_cast<std::size_t>(at)] ^= 0x01;
      log_.Line("fault: stored the byte at " + Hex4(static_cast<unsigned>(at)) + " wrong");
    }
  }
  log_.Line("write accepted frames=" + std::to_string(writeFrames_) +
            " bytes=" + std::to_string(writeBytes_));
  if (!options_.savePath.empty()) {
    const std::string saveError = WriteCloneFile(options_.savePath, image_);
    log_.Line(saveError.empty() ? "saved " + options_.savePath : "save failed: " + saveError);
  }
  SendFrame(kWriteResult, Bytes{0x00});
}

}  // namespace sim
