// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/build_kind.h"

// Set by the build for each program: 0 for kestrova, 1 for kestrova-log.
#ifndef KESTROVA_BUILD_LOG
#error "KESTROVA_BUILD_LOG must be defined by the build"
#endif

namespace kestrova {

inline constexpr BuildKind kThisBuild = KESTROVA_BUILD_LOG ? BuildKind::Log : BuildKind::Standard;

// The program's name in messages, --help and --version.
inline constexpr const char* kProgramName = KESTROVA_BUILD_LOG ? "kestrova-log" : "kestrova";

// Its menu entry's file name without ".desktop"; the window carries it so
// that the desktop shows the entry's name and icon for it.
inline constexpr const char* kDesktopEntry = KESTROVA_BUILD_LOG ? "org.example.kestrova.log" : "org.example.kestrova";

// What --help says the program does.
inline constexpr const char* kProgramSummary =
    KESTROVA_BUILD_LOG ? "Watches one game server: its settings and players every 500 ms, and a\n"
                         "remote console. Every N seconds it appends the player list to the day's\n"
                         "log file ddmm.csv. The endpoint typed into the window is kept in data.dat.\n"
                       : "Watches one game server and talks to it: its settings and players every\n"
                         "500 ms, a remote console, kicking a player and changing the map. The\n"
                         "endpoint typed into the window is kept in data.dat.\n";

}  // namespace kestrova
