// How a stored field is shown in a bound label: numbers with the user's decimal
// separator and their full value (shortest text that reads back the same).
#pragma once

#include "platform/access/access_file.h"

#include <string>
#include <string_view>

namespace devimax::rates {

std::string fieldText(const access::Value& value, std::string_view separator);

} // namespace devimax::rates
