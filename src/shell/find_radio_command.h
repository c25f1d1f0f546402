// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window adds to the search for the radio (ui/find_radio_dialog.h):
// the offer to search, made in the message of a clone command whose radio
// did not answer, so that the user who guessed the wrong port is one click
// from the right one. The search window itself is opened by
// shell::Navigation::FindRadio (find_radio_command.cpp).

#include <optional>
#include <string>

#include "model/user_questions.h"

// Stands between a document and the user while one clone command runs: an
// error is held until the command's status is known, then shown, with the
// offer when the radio was not found on the port (radiofind::WorthSearching).
// Every other question and message goes through at once (a held error
// first, so nothing changes order).
class cuiFindRadioOffer : public UserQuestions {
 public:
  explicit cuiFindRadioOffer(UserQuestions& user) : user_(user) {}

  int Ask(const std::string& key, unsigned style) override;
  void Report(Kind kind, const std::string& text) override;
  // Shows what is held; with offer, as a question that ends in
  // GI_Mess_FindRadio_Offer. True when the user said Yes to a search.
  bool Finish(bool offer);

 private:
  void Flush();

  UserQuestions& user_;
  std::optional<std::string> held_;
};
