#include "platform/fonts.h"

#include <QStringList>

#include <cmath>

namespace devimax::platform {

void installFontSubstitutions() {
    const auto substitute = [](const char* family, const char* first, const char* second) {
        QFont::insertSubstitutions(
            QString::fromLatin1(family),
            QStringList{QString::fromLatin1(first), QString::fromLatin1(second)});
    };
    substitute("MS Sans Serif", "Liberation Sans", "DejaVu Sans");
    substitute("System", "DejaVu Sans", "Liberation Sans");
    substitute("Small Fonts", "DejaVu Sans", "Liberation Sans");
    substitute("Comic Sans MS", "Comic Neue", "DejaVu Sans");
}

QFont designFont(const QString& family, double points, bool bold, bool underline) {
    QFont font(family);
    // The layout is in pixels at 15 twips per pixel, i.e. 96 dpi: size the text the
    // same way so that it fits its control whatever DPI the screen reports.
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace devimax::platform
