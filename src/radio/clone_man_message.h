// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one message a failed clone exchange shows: a head line chosen by the
// status, then the check lines that fit the kind of failure (cable, port,
// radio model, payload). Composed from the overlay so that every word the
// user reads comes from the text table.

#include <string>
#include <vector>

#include "radio/clone_drv_result.h"

class cmcGTex;
class UserQuestions;
struct clsPortFailure;

namespace cloneman {

// The message text for status (empty for 0). port fills the head line of
// status 2; when the port was given as a device path instead (the
// command-line tool), the device's own head line names the path. When the
// failure of the port is known and the overlay words its reason
// (GI_Mess_CloneErr_PortFault, one line per platform::SerialFault, naming the
// port through GI_Mess_CloneErr_PortName), that line is the head instead.
// partlyWritten: a write failed after data had gone to the radio; the
// message then says what that leaves in the radio and what to do
// (GI_Mess_CloneErr_PartWrite), right after the head line.
// table defaults to gGTex.
std::string CloneErrorText(CloneStatus status, int port, cmcGTex* table = nullptr,
                           const std::string& device = {}, const clsPortFailure* failure = nullptr,
                           bool partlyWritten = false);

// Reports the message for status to questions as an error; nothing for 0.
void ShowCloneError(UserQuestions& questions, CloneStatus status, int port,
                    const std::string& device = {}, const clsPortFailure* failure = nullptr,
                    bool partlyWritten = false);

// Replaces the first integer conversion (%d, %i or %u, with optional flags
// and width) of an overlay text by value and "%%" by "%". Overlay texts are
// data: they never reach printf, so a stray conversion cannot read past the
// arguments.
std::string FormatInt(const std::string& format, int value);
// The same for the first "%s" and a text ...
std::string FormatText(const std::string& format, const std::string& value);
// ... and for as many "%s" as there are texts, in turn.
std::string FormatTexts(const std::string& format, const std::vector<std::string>& values);

}  // namespace cloneman
