// Window timers driven by an interval, as the routines think of them: any interval
// (re)starts the timer, 0 stops it.
#pragma once

#include <QTimer>

namespace devimax::platform {

inline void setTimerInterval(QTimer* timer, int milliseconds) {
    timer->setInterval(milliseconds);
    if (milliseconds > 0)
        timer->start();
    else
        timer->stop();
}

} // namespace devimax::platform
