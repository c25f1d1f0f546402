// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the window's fleet run reaches its user and the radios: one COM port
// per cable, a message box before each round of radios, and the dialog's
// cable rows and log lines for everything else. A radio's failure is shown
// in its cable's row (and logged) rather than in a message box, which
// would hold up the user while the other cables go on.

#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "model/eeprom.h"
#include "radio/fleet_cables.h"
#include "ui/fleet_dialog.h"

class cmcGTex;

class cuiFleetStation : public fleet::CableStation {
 public:
  // ports: the COM number of each cable; the image of model is written.
  cuiFleetStation(cmcGTex& table, cuiFleetDialog* dialog, std::vector<int> ports, int model,
                  const cmcEeprom& image);
  ~cuiFleetStation() override;

  // The port's text in the dialog's lists: "COM7 (/dev/ttyUSB0)".
  static std::string PortText(cmcGTex& table, int port);

  bool NextRound(const std::vector<fleet::Assignment>& round) override;
  void Prepare(int cable, cmcDocument& document) override;
  int OpenImage(cmcDocument& document) override;
  int Status(CloneStatus status) override;
  int NotStarted(cmcDocument::StartResult result) override;
  std::string Failure(int status) override;
  void Reached(const fleet::Assignment& radio, fleet::Stage stage) override;
  void Done(const fleet::Assignment& radio, const fleet::LogLine& line, int status) override;

 private:
  class CableQuestions;

  cmcGTex& table_;
  QPointer<cuiFleetDialog> dialog_;
  std::vector<int> ports_;
  int model_;
  cmcEeprom image_;
  std::vector<std::unique_ptr<CableQuestions>> questions_;
};
