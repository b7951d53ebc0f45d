#include "calculator/number_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

namespace devimax::calc {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Number of digits starting at `pos`.
std::size_t digitRun(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end - pos;
}

// The pieces of a number text that passed the syntax check.
struct NumberParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool exponentNegative = false;
    std::string_view exponentDigits;
};

std::optional<NumberParts> splitNumber(std::string_view text, std::string_view separator) {
    NumberParts parts;
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-') {
        parts.negative = true;
        ++pos;
    }
    std::size_t run = digitRun(text, pos);
    if (run == 0)
        return std::nullopt;
    parts.integerDigits = text.substr(pos, run);
    pos += run;

    if (!separator.empty() && text.substr(pos, separator.size()) == separator) {
        pos += separator.size();
        run = digitRun(text, pos);
        parts.fractionDigits = text.substr(pos, run);
        pos += run;
    }

    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            parts.exponentNegative = text[pos] == '-';
            ++pos;
        }
        run = digitRun(text, pos);
        if (run == 0)
            return std::nullopt;
        parts.exponentDigits = text.substr(pos, run);
        pos += run;
    }

    if (pos != text.size())
        return std::nullopt;
    return parts;
}

// Decimal exponent of the leading significant digit (1 for "5", 0 for "0,5", 3 for
// "1E+2"), saturated far beyond the double range. Only used when the digits are not
// all zero.
long long leadingDigitExponent(const NumberParts& parts) {
    constexpr long long limit = 1'000'000'000;
    long long exponent = 0;
    for (char c : parts.exponentDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > limit) {
            exponent = limit;
            break;
        }
    }
    if (parts.exponentNegative)
        exponent = -exponent;

    const std::size_t firstNonZero = parts.integerDigits.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        return exponent + static_cast<long long>(parts.integerDigits.size() - firstNonZero);
    const std::size_t fractionNonZero = parts.fractionDigits.find_first_not_of('0');
    return exponent - static_cast<long long>(fractionNonZero);
}

} // namespace

ReadResult readNumberStatus(std::string_view text, std::string_view separator) {
    const std::optional<NumberParts> parts = splitNumber(text, separator);
    if (!parts)
        return {ReadStatus::NotANumber, 0};

    // Rewrite in the one form std::from_chars reads, whatever the separator.
    std::string plain;
    plain.reserve(text.size() + 2);
    if (parts->negative)
        plain += '-';
    plain += parts->integerDigits;
    if (!parts->fractionDigits.empty()) {
        plain += '.';
        plain += parts->fractionDigits;
    }
    if (!parts->exponentDigits.empty()) {
        plain += 'e';
        if (parts->exponentNegative)
            plain += '-';
        plain += parts->exponentDigits;
    }

    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Either too large for a double or so small that it rounds to zero.
        const bool allZero =
            parts->integerDigits.find_first_not_of('0') == std::string_view::npos &&
            parts->fractionDigits.find_first_not_of('0') == std::string_view::npos;
        if (!allZero && leadingDigitExponent(*parts) > 0)
            return {ReadStatus::OutOfRange, 0};
        return {ReadStatus::Ok, parts->negative ? -0.0 : 0.0};
    }
    if (error != std::errc() || end != plain.data() + plain.size())
        return {ReadStatus::NotANumber, 0};
    if (!std::isfinite(value))
        return {ReadStatus::OutOfRange, 0};
    return {ReadStatus::Ok, value};
}

std::optional<double> readNumber(std::string_view text, std::string_view separator) {
    const ReadResult result = readNumberStatus(text, separator);
    if (result.status != ReadStatus::Ok)
        return std::nullopt;
    return result.value;
}

std::string formatResult(double value, std::string_view separator) {
    constexpr int significantDigits = 15;
    if (value == 0)
        return "0"; // also for -0
    char buffer[64];
    if (!std::isfinite(value)) {
        // Never produced by the calculator, which reports such results instead.
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, result.ptr);
    }

    // Scientific form with 15 significant digits gives the rounded digits and the
    // exponent of the rounded value: "-d.dddddddddddddde+XX".
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));

    const bool negative = scientific.front() == '-';
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, ePos))
        if (isDigit(c))
            digits += c;
    int exponent = 0;
    const std::string_view exponentText = scientific.substr(ePos + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);

    const std::size_t lastNonZero = digits.find_last_not_of('0');
    digits.erase(lastNonZero + 1);

    std::string text;
    if (negative)
        text += '-';
    if (exponent < -4 || exponent >= significantDigits) {
        text += digits.front();
        if (digits.size() > 1) {
            text += separator;
            text.append(digits, 1);
        }
        text += 'E';
        text += exponent < 0 ? '-' : '+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            text += '0';
        char exponentBuffer[8];
        const auto written =
            std::to_chars(exponentBuffer, exponentBuffer + sizeof exponentBuffer, magnitude);
        text.append(exponentBuffer, written.ptr);
    } else if (exponent < 0) {
        text += '0';
        text += separator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
    } else {
        const auto integerLength = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerLength) {
            text += digits;
            text.append(integerLength - digits.size(), '0');
        } else {
            text.append(digits, 0, integerLength);
            text += separator;
            text.append(digits, integerLength);
        }
    }
    return text;
}

} // namespace devimax::calc
