#include "platform/cursors.h"

#include <QPainter>
#include <QPixmap>

namespace devimax::platform {

QCursor iconCursor() {
    constexpr int kSize = 32;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        // Black outlines with a white edge inside, so the shape shows on any background.
        const auto square = [&painter](int left, int side) {
            painter.setPen(Qt::black);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(left, left, side - 1, side - 1);
            painter.setPen(Qt::white);
            painter.drawRect(left + 1, left + 1, side - 3, side - 3);
        };
        square(6, 20); // outer square, 20 px
        square(12, 8); // inner square, 8 px, centred in the outer one
    }
    return QCursor(pixmap, 16, 16);
}

} // namespace devimax::platform
