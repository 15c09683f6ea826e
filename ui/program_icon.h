// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace kestrova {

// The program's icon for the window, the taskbar and the tray: the
// drawing, rendered at build time into 16 to 256 pixels that the program
// carries as resources (the sizes it offers as ready pixels, the larger
// ones as PNGs). It offers 16, 22, 24, 32, 48 and 64 pixels; any size asked
// for is made from the smallest rendering at least as large (scaled down
// smoothly when it is not one of them), each only when first asked for.
// Every call gives the same icon. A null icon if the renderings are
// missing.
QIcon ProgramIcon();

}  // namespace kestrova
