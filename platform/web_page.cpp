#include "platform/web_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace devimax::platform {
namespace {

std::function<bool(const QString&)>& testOpener() {
    static std::function<bool(const QString&)> opener;
    return opener;
}

} // namespace

bool openWebPage(const QString& address) {
    if (const auto& opener = testOpener())
        return opener(address);
    return QDesktopServices::openUrl(QUrl(address));
}

void setWebPageOpenerForTests(std::function<bool(const QString&)> opener) {
    testOpener() = std::move(opener);
}

} // namespace devimax::platform
