#pragma once
// Shared by the harnesses: designed stops (an installation fault such as a
// missing overlay key) become exceptions that a harness catches, so only
// real faults (crashes, sanitizer reports, hangs) count as findings.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Installs the throwing fatal handler and a silent message responder once.
void Init();

// Writes the bytes to a file in a private temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const uint8_t* data, size_t size);

}  // namespace fuzz
