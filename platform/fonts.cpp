#include "platform/fonts.h"

#include <cmath>

namespace devimax::platform {

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringList{QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringList{QStringLiteral("System"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringList{QStringLiteral("Small Fonts"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringList{QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
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
