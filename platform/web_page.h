// Opening a web address in the desktop's default browser.
#pragma once

#include <QString>
#include <functional>

namespace devimax::platform {

// Hands the address to the desktop (QDesktopServices). Returns what the desktop
// answered; callers are free to ignore it.
bool openWebPage(const QString& address);

// Tests replace the desktop by their own opener; nullptr puts the desktop back.
void setWebPageOpenerForTests(std::function<bool(const QString&)> opener);

} // namespace devimax::platform
