#pragma once

#include <QIcon>

namespace kestrova {

// The program's icon for the window, the taskbar and the tray: the
// embedded drawing. It offers 16, 22, 24, 32, 48 and 64 pixels and draws
// any size asked for, each only when first asked for, so that starting
// the program renders no more than what the desktop shows. Every call
// gives the same icon. A null icon if the drawing cannot be read.
QIcon ProgramIcon();

}  // namespace kestrova
