// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrova {

// Whether `socket` becomes readable within `timeoutMs` milliseconds (-2: no
// limit). A failed wait, and any other negative time-out, counts as no data
// and raises nothing.
bool PlainWaitForData(int socket, int timeoutMs);

}  // namespace kestrova
