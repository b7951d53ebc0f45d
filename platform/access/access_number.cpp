// Number text: strict parsing for updates and '.'-separated formatting for dumps.
#include "platform/access/access_internal.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace devimax::access::detail {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Unsigned value of a digit string; nullopt past 2^64 - 1.
std::optional<std::uint64_t> digitsValue(std::string_view digits) {
    std::uint64_t value = 0;
    for (char c : digits) {
        const auto d = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - d) / 10)
            return std::nullopt;
        value = value * 10 + d;
    }
    return value;
}

std::optional<std::int64_t> signedValue(bool negative, std::uint64_t magnitude) {
    constexpr auto maxPositive =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!negative)
        return magnitude <= maxPositive ? std::optional<std::int64_t>(magnitude) : std::nullopt;
    if (magnitude > maxPositive + 1)
        return std::nullopt;
    if (magnitude == maxPositive + 1)
        return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(magnitude);
}

} // namespace

std::optional<DecimalNumber> parseDecimal(std::string_view text, std::string_view separator) {
    DecimalNumber number;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        number.negative = true;
        ++i;
    }
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const std::string_view intDigits = text.substr(intStart, i - intStart);
    if (intDigits.empty())
        return std::nullopt;
    std::string_view fracDigits;
    if (!separator.empty() && text.substr(i, separator.size()) == separator) {
        i += separator.size();
        const std::size_t fracStart = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        fracDigits = text.substr(fracStart, i - fracStart);
        if (fracDigits.empty())
            return std::nullopt;
    }
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        const std::size_t expStart = i;
        while (i < text.size() && isDigit(text[i])) {
            // Anything past a million is far outside every column's range.
            if (exponent < 1000000)
                exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (i == expStart)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;

    std::string digits = std::string(intDigits) + std::string(fracDigits);
    exponent -= static_cast<std::int64_t>(fracDigits.size());
    const auto firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        number.digits.clear();
        number.exponent = 0;
        return number;
    }
    digits.erase(0, firstNonZero);
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    number.digits = std::move(digits);
    number.exponent = exponent;
    return number;
}

std::optional<double> decimalToDouble(const DecimalNumber& number) {
    if (number.digits.empty())
        return 0.0;
    std::string text = number.digits + "e" + std::to_string(number.exponent);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return number.negative ? -value : value;
}

std::optional<std::int64_t> decimalToCurrency(const DecimalNumber& number) {
    if (number.digits.empty())
        return 0;
    const std::int64_t shift = number.exponent + 4;
    std::uint64_t magnitude = 0;
    if (shift >= 0) {
        if (static_cast<std::int64_t>(number.digits.size()) + shift > 20)
            return std::nullopt;
        auto v = digitsValue(number.digits + std::string(static_cast<std::size_t>(shift), '0'));
        if (!v)
            return std::nullopt;
        magnitude = *v;
    } else {
        const std::int64_t keep = static_cast<std::int64_t>(number.digits.size()) + shift;
        if (keep < 0)
            return 0; // below half a ten-thousandth
        const std::string_view kept = std::string_view(number.digits).substr(0, keep);
        if (kept.size() > 20)
            return std::nullopt;
        auto v = digitsValue(kept);
        if (!v)
            return std::nullopt;
        magnitude = *v;
        if (number.digits[static_cast<std::size_t>(keep)] >= '5') {
            if (magnitude == std::numeric_limits<std::uint64_t>::max())
                return std::nullopt;
            ++magnitude;
        }
    }
    return signedValue(number.negative, magnitude);
}

std::optional<std::int64_t> decimalToInteger(const DecimalNumber& number, std::int64_t min,
                                             std::int64_t max) {
    if (number.digits.empty())
        return 0;
    if (number.exponent < 0 ||
        static_cast<std::int64_t>(number.digits.size()) + number.exponent > 20)
        return std::nullopt;
    auto magnitude =
        digitsValue(number.digits + std::string(static_cast<std::size_t>(number.exponent), '0'));
    if (!magnitude)
        return std::nullopt;
    auto value = signedValue(number.negative, *magnitude);
    if (!value || *value < min || *value > max)
        return std::nullopt;
    return value;
}

std::string formatDouble(double value) {
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return "?";
    return std::string(buffer, ptr);
}

std::string formatCurrency(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::string text = std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += "." + fraction;
    return negative ? "-" + text : text;
}

std::string formatValue(const Value& value) {
    switch (value.kind) {
    case Value::Kind::Null:
        return {};
    case Value::Kind::Boolean:
        return value.boolean ? "1" : "0";
    case Value::Kind::Integer:
        return std::to_string(value.integer);
    case Value::Kind::Double:
        return formatDouble(value.number);
    case Value::Kind::Currency:
        return formatCurrency(value.integer);
    case Value::Kind::Text:
        return value.text;
    case Value::Kind::Unsupported:
        return "?";
    }
    return {};
}

std::string typeName(const Column& column, JetVersion version) {
    switch (column.type()) {
    case ColumnType::Boolean:
        return "boolean";
    case ColumnType::Byte:
        return "byte";
    case ColumnType::Integer:
        return "integer";
    case ColumnType::Long:
        return "long";
    case ColumnType::Currency:
        return "currency";
    case ColumnType::Single:
        return "single";
    case ColumnType::Double:
        return "double";
    case ColumnType::DateTime:
        return "datetime";
    case ColumnType::Binary:
        return "binary";
    case ColumnType::Text:
        return "text:" +
               std::to_string(version == JetVersion::Jet4 ? column.size / 2 : column.size);
    case ColumnType::Ole:
        return "ole";
    case ColumnType::Memo:
        return "memo";
    case ColumnType::Guid:
        return "guid";
    case ColumnType::Numeric:
        return "numeric";
    }
    return "type" + std::to_string(column.typeCode);
}

} // namespace devimax::access::detail
