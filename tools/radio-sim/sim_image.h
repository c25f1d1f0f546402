// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's memory image: its size, the few places the simulator looks
// at, loading it from a clone data file or an initial image, and saving it.

#include <cstdint>
#include <string>

#include "sim_frames.h"

namespace sim {

constexpr std::size_t kImageSize = 3796;
// A read sends, and a clone data file holds, the addresses 000 to CEF.
constexpr std::uint16_t kReadFirst = 0x000;
constexpr std::uint16_t kReadLast = 0xCEF;

constexpr std::uint16_t kCommentAddress = 0x9C0;
constexpr std::size_t kCommentLength = 16;
constexpr std::uint16_t kModelAddress = 0x9D1;
constexpr std::uint16_t kSignatureAddress = 0x9D8;
inline constexpr char kSignature[] = "Zelm Inc";  // 8 bytes, no terminator in the image
// The version of the dealer block the radio runs on: the active copy at
// A40-B7F mirrors B80-CBF, so the version at CBC-CBD sits at B7C-B7D there.
// A write that sends A40-B7F thereby changes what the radio reports.
constexpr std::uint16_t kDealerVersionAddress = 0xB7C;

constexpr std::uint16_t kModelCode = 0x5816;
constexpr std::uint16_t kExtraCode = 0x0001;

// Reads a clone data file into a zeroed image of kImageSize bytes. Returns
// "" on success, else what is wrong with the file. A file that leaves bytes
// of 000-CEF out is served anyway; missing is set to how many.
std::string ReadCloneFile(const std::string& path, Bytes& image, std::size_t& missing);

// Writes 000-CEF of the image as a clone data file, replacing the file in
// one step so that a reader never sees half of it. Returns "" or the error.
std::string WriteCloneFile(const std::string& path, const Bytes& image);

// The image a radio of model type m starts with: the initial clone data file
// of that model when one can be found, else a zero image that carries only
// the maker signature and the model byte. source tells which it was.
std::string LoadModelImage(int model, const std::string& executableDir, Bytes& image,
                           std::string& source);

}  // namespace sim
