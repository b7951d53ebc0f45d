// Helpers for the classic look that the three windows share: positions given in
// twips, the light grey ground, and controls made with their name, place and font.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QStyle;
class QWidget;

namespace devimax::platform {

inline constexpr int kTwipsPerPixel = 15;
inline const QColor kLightGrey(192, 192, 192);

// A rectangle designed in twips, placed at 15 twips per pixel.
constexpr QRect twips(int left, int top, int width, int height) {
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
}

// Light grey ground, text in the given colour, background filled.
void paintGrey(QWidget* widget, const QColor& text = Qt::black);

// A push button that never becomes the default by getting the focus: Enter is
// dispatched by the windows themselves.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& rect, const QFont& font);

// A label on the light grey ground.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                  const QFont& font, const QColor& text = Qt::black);

// The plain etched frame of the classic look: the desktop style would shade the
// inside of a group box, and the labels in it would stand out as lighter patches.
QStyle* plainFrameStyle();

} // namespace devimax::platform
