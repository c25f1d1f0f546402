// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The initial clone data files the build lays beside the programs, one a
// model, for tests that run seaclone-cli on every one of them.

#include <QString>

namespace testsupport {

inline const char* const kInitialFiles[] = {
    "TB58_00_USA.DAT",       "TB58_01_EUR.DAT", "TB58_02_UK.DAT",      "TB58_03_DE_ATIS.DAT",
    "TB58_04_NL_ATIS.DAT",   "TB58_05_AUS.DAT", "TB58_06_USA_COM.DAT", "TB58_07_NZ.DAT",
    "TB58_08_NORDIC_US.DAT", "TB58_09_SWE.DAT", "TB58_10_NOR.DAT",     "TB58_11_FIN.DAT",
    "TB58_12_EXPORT.DAT",
};

// The path of an initial file beside the programs.
inline QString Initial(const char* name) { return QStringLiteral(SEACLONE_BIN_DIR "/") + name; }

}  // namespace testsupport
