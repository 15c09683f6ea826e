#pragma once

#include <QIcon>

namespace kestrova {

// The program's icon for the window, the taskbar and the tray: the
// embedded drawing rendered at 16, 22, 24, 32, 48, 64, 128 and 256 pixels.
// A null icon if the drawing cannot be read.
QIcon ProgramIcon();

}  // namespace kestrova
