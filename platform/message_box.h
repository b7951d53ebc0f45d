// Every message of the program goes through here: a modal box with one OK button,
// no icon, the given title and text.
#pragma once

#include <QString>

class QWidget;

namespace devimax::platform {

void showMessage(QWidget* parent, const QString& title, const QString& text);

} // namespace devimax::platform
