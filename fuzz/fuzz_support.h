// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the harnesses: designed stops (an installation fault such as a
// missing overlay key) become exceptions that a harness catches, so only
// real faults (crashes, sanitizer reports, hangs) count as findings.

#include <cstddef>
#include <cstdint>
#include <string>

class cmcGTex;

namespace fuzz {

// Installs the throwing fatal handler and a silent message responder once.
void Init();

// Writes the bytes to a file in a private temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const uint8_t* data, size_t size);

// The program's own overlay, assembled once from the source fragments as the
// build does, so that messages of a failure can be looked up. Also installs
// it as gGTex.
cmcGTex& MainOverlay();

// Ends the process with a finding: a broken promise that the sanitizers
// cannot see (a wrong result rather than a bad access).
[[noreturn]] void Finding(const char* what);

}  // namespace fuzz
