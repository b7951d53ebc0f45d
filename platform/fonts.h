// The windows name the classic desktop fonts; these map them onto fonts that a
// Debian desktop has, at pixel sizes that keep every caption inside its control.
#pragma once

#include <QFont>
#include <QString>

namespace devimax::platform {

// Registers the substitutions once per process ("MS Sans Serif", "System",
// "Small Fonts", "Comic Sans MS").
void installFontSubstitutions();

// A font given as in the layout tables: family, size in points (at 96 dots per
// inch, the design resolution), bold, underline.
QFont designFont(const QString& family, double points, bool bold = false, bool underline = false);

} // namespace devimax::platform
