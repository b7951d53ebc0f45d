#include "platform/locale_text.h"

#include <QLocale>

namespace devimax::platform {

std::string decimalSeparator() {
    return QLocale().decimalPoint().toStdString();
}

} // namespace devimax::platform
