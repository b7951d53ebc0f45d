// The two text rules of the displays: how a display or rate text is read as a
// number, and how a computed number is written back. The separator is the user's
// locale decimal separator (UTF-8), passed in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devimax::calc {

// Accepted: an optional leading "-", one or more digits (leading zeros allowed),
// optionally the separator followed by zero or more digits, optionally an exponent
// ("E" or "e", an optional sign, digits). Nothing else: no blanks, no grouping, no
// leading "+", no other separator. A value beyond the double range is OutOfRange.
enum class ReadStatus { Ok, NotANumber, OutOfRange };
struct ReadResult {
    ReadStatus status = ReadStatus::NotANumber;
    double value = 0;
};
ReadResult readNumberStatus(std::string_view text, std::string_view separator);
std::optional<double> readNumber(std::string_view text, std::string_view separator);

// General decimal form, at most 15 significant digits, separator only with a
// fraction, no grouping, exponent form such as 1E+20 or 1E-05 where the plain form
// would need more than 15 digits.
std::string formatResult(double value, std::string_view separator);

} // namespace devimax::calc
