// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A simulator serving the sample image, and the program's end of its line.

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <memory>

#include "radio_sim_client.h"
#include "support/radio_sim.h"

namespace simtest {

class RadioSimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    image_ = SampleImage();
    imagePath_ = dir_.filePath("radio.dat");
    savePath_ = dir_.filePath("saved.dat");
    ASSERT_TRUE(WriteCloneFile(imagePath_, image_));
  }

  // Starts the simulator on the sample image with these further options and
  // opens its line.
  void Start(const QStringList& options = {}) {
    QStringList args{"--image", imagePath_};
    args << options;
    ASSERT_TRUE(sim_.Start(args)) << sim_.Error();
    client_ = std::make_unique<Client>(sim_.Device());
    ASSERT_TRUE(client_->IsOpen()) << sim_.Device();
  }

  // Sends a request and collects the echo and the radio's frames up to the
  // one with the given command.
  Bytes Exchange(const Bytes& request, std::uint8_t answer) {
    client_->Send(request);
    return client_->ReadUntilRadioFrame(answer);
  }

  // The radio's frames in a stream, the echo of the program's left out.
  static std::vector<Frame> RadioFrames(const Bytes& stream) {
    std::vector<Frame> frames;
    for (const Frame& f : SplitFrames(stream))
      if (f.from0 == 0xEF && f.from1 == 0xEE) frames.push_back(f);
    return frames;
  }

  QTemporaryDir dir_;
  Bytes image_;
  QString imagePath_;
  QString savePath_;
  testsupport::RadioSim sim_;
  std::unique_ptr<Client> client_;
};

}  // namespace simtest
