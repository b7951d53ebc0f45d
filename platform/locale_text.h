// The user's decimal separator, looked up each time a text is built or read.
#pragma once

#include <string>

namespace devimax::platform {

std::string decimalSeparator();

} // namespace devimax::platform
