// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrova {

// The two programs built from this code: `kestrova` (kick and map change)
// and `kestrova-log` (the daily CSV player log).
enum class BuildKind { Standard, Log };

}  // namespace kestrova
