// Mouse pointer shapes that Qt does not provide as standard cursors.
#pragma once

#include <QCursor>

namespace devimax::platform {

// The "icon" pointer: a small square inside a larger square, hot spot in the middle.
QCursor iconCursor();

} // namespace devimax::platform
