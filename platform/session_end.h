// When the desktop ends the program (log-off, shutdown, or a terminal's Ctrl+C),
// it sends a signal rather than closing the window. This turns SIGTERM, SIGHUP and
// SIGINT into an ordinary close of the window, so its close routine runs.
#pragma once

class QWidget;

namespace devimax::platform {

void closeWindowWhenSessionEnds(QWidget* window);

} // namespace devimax::platform
