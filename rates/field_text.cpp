#include "rates/field_text.h"

#include <charconv>
#include <cstdlib>

namespace devimax::rates {
namespace {

std::string withSeparator(std::string text, std::string_view separator) {
    std::string out;
    out.reserve(text.size() + separator.size());
    for (char c : text) {
        if (c == '.')
            out += separator;
        else
            out += c == 'e' ? 'E' : c;
    }
    return out;
}

template <class Number> std::string shortest(Number value, std::string_view separator) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return withSeparator(std::string(buffer, result.ptr), separator);
}

std::string currencyText(std::int64_t tenThousandths, std::string_view separator) {
    const bool negative = tenThousandths < 0;
    // Work on the unsigned magnitude so that the most negative amount is safe too.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += std::string(separator) + fraction;
    return text;
}

} // namespace

std::string fieldText(const access::Value& value, std::string_view separator) {
    using Kind = access::Value::Kind;
    switch (value.kind) {
    case Kind::Null:
    case Kind::Unsupported:
        return {};
    case Kind::Boolean:
        return value.boolean ? "Vrai" : "Faux";
    case Kind::Integer:
        return std::to_string(value.integer);
    case Kind::Double:
        return shortest(value.number, separator);
    case Kind::Currency:
        return currencyText(value.integer, separator);
    case Kind::Text:
        return value.text;
    }
    return {};
}

} // namespace devimax::rates
