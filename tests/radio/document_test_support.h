// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small world for document and clone manager tests: the fixture overlay
// as the text table, an initial clone data file per model in a temporary
// data folder, a recording message responder, virtual time, and a scripted
// radio behind the scripted serial device.

#include <gtest/gtest.h>
#include "support/codes.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/paths.h"
#include "platform/recording_responder.h"
#include "platform/serial_device.h"
#include "platform/temporary_folder.h"
#include "platform/virtual_timer_service.h"
#include "radio/document.h"
#include "scripted_serial_device.h"
#include "support/scripted_questions.h"
#include "text/gtex.h"

namespace doctest {

// An image as the radio would hold it: signature, model byte, dealer
// block version 01.20, some recognisable channel bytes.
inline cmcEeprom RadioImage(int model = 0) {
  cmcEeprom image(memmap::kImageSize);
  for (int a = 0; a < 0x1A2; ++a) image.SetByte(a, static_cast<std::uint8_t>(a * 7));
  image.WriteBlock(memmap::kComment, "TEST COMMENT    ", 16);
  image.WriteBlock(memmap::kSignature, memmap::kSignatureText, memmap::kSignatureLength);
  image.SetByte(memmap::kModelByte, static_cast<std::uint8_t>(model));
  image.SetByte(memmap::kDealerVersion, 0x01);
  image.SetByte(memmap::kDealerVersion + 1, 0x20);
  return image;
}

inline int WriteFile(const std::string& path, cmcEeprom image) {
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  return Num(file.Write(path, cmcCloneFile::StandardRanges()));
}

// The radio's side of the scripted line.
struct ManRadio {
  std::vector<std::uint8_t> payload;
  std::uint8_t value2 = 1;
  cmcEeprom image = RadioImage();
  bool silentOnRead = false;
  std::uint8_t writeResult = 0;
  cmcEeprom written{memmap::kImageSize};
  std::vector<std::pair<int, int>> writtenFrames;  // (address, count)
  // A radio that keeps what it is sent (later reads serve it), with the
  // byte at storeWrongAt kept with its low bit flipped (-1: none).
  bool keepsWrites = false;
  int storeWrongAt = -1;
  int readRequests = 0;

  ManRadio() {
    payload.assign(28, 0);
    payload[0] = 28;
    payload[1] = 0x21;
    payload[2] = 1;
    std::memcpy(&payload[3], "RADIO COMMENT   ", 16);
    payload[21] = 0;
    payload[26] = 0x01;  // dealer block as new as the initial image's
    payload[27] = 0x20;
  }

  void Serve(const cmcBuff& frame, ScriptedLine& line) {
    switch (frame.Size() > 3 ? frame[3] : 0) {
      case 0xE0: line.Reply(radioframe::Info(0x58, 0x16, 0x00, value2, payload)); break;
      case 0xE2: {
        ++readRequests;
        if (silentOnRead) break;
        int count = 0;
        for (int a = 0; a <= 0xCEF; a += 16, ++count) {
          std::vector<std::uint8_t> bytes(image.Data() + a, image.Data() + a + 16);
          line.Reply(radioframe::Data(a, bytes));
        }
        line.Reply(radioframe::End(count));
        break;
      }
      case 0xE4: {
        int address = 0;
        const auto bytes = radioframe::DataOf(frame, &address);
        writtenFrames.emplace_back(address, static_cast<int>(bytes.size()));
        written.WriteBlock(address, bytes.data(), static_cast<int>(bytes.size()));
        if (keepsWrites) image.WriteBlock(address, bytes.data(), static_cast<int>(bytes.size()));
        break;
      }
      case 0xE5:
        if (keepsWrites && storeWrongAt >= 0)
          image.SetByte(storeWrongAt, static_cast<std::uint8_t>(image.GetByte(storeWrongAt) ^ 1));
        line.Reply(radioframe::WriteResult(writeResult));
        break;
      default: break;
    }
  }
};

class DocumentWorld : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.IsValid());
    data = dir.Path() + "/";
    for (int m = 0; m < memmap::kModelTypes; ++m) {
      ASSERT_EQ(WriteFile(data + "initial" + std::to_string(m) + ".dat", RadioImage(m)), 0);
    }
    platform::SetDataDirOverride(data);
    ASSERT_TRUE(table.Bind(SEACLONE_TEST_DATA "/clone/messages.ovl"));
    previousTable = gGTex;
    gGTex = &table;
    line.radio = [this](const cmcBuff& frame, ScriptedLine& l) { radio.Serve(frame, l); };
  }
  void TearDown() override {
    platform::SetDataDirOverride("");
    gGTex = previousTable;
  }

  // A document on the scripted line.
  std::unique_ptr<cmcDocument> MakeDocument(int model = 0) {
    auto doc = std::make_unique<cmcDocument>(model, nullptr, Devices());
    doc->CloneMan().SetPortDevice("/dev/scripted");
    return doc;
  }

  // Devices on the scripted line.
  platform::SerialDeviceFactory Devices() {
    return [this] { return std::make_unique<ScriptedSerialDevice>(line); };
  }

  // Runs a clone command to its end; returns its final status (-1: it
  // never finished, -2: it did not start).
  int Run(cmcDocument& doc, cmcDocument::StartResult (cmcDocument::*command)(cmcDocument::Done)) {
    int status = -1;
    int calls = 0;
    if ((doc.*command)([&](CloneStatus s) { status = Num(s), ++calls; }) != cmcDocument::kStarted)
      return -2;
    time.AdvanceUntil([&] { return calls > 0; }, 120000);
    EXPECT_LE(calls, 1);
    return status;
  }

  platform::ScopedVirtualTime time;  // before anything that makes tasks
  platform::TemporaryFolder dir{"seaclone-test"};
  std::string data;
  cmcGTex table;
  cmcGTex* previousTable = nullptr;
  platform::RecordingResponder messages;
  testsupport::ScriptedQuestions questions{messages};
  ScriptedLine line;
  ManRadio radio;
};

}  // namespace doctest
