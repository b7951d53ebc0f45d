#include "exchange/conversion.h"

#include "calculator/failures.h"
#include "calculator/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace devimax::exchange {

namespace {

constexpr std::uint64_t kPowersOfTen[] = {1ULL,
                                          10ULL,
                                          100ULL,
                                          1000ULL,
                                          10000ULL,
                                          100000ULL,
                                          1000000ULL,
                                          10000000ULL,
                                          100000000ULL,
                                          1000000000ULL,
                                          10000000000ULL,
                                          100000000000ULL,
                                          1000000000000ULL,
                                          10000000000000ULL,
                                          100000000000000ULL,
                                          1000000000000000ULL};

// Magnitude of the largest negative count; positive counts stop one below.
constexpr std::uint64_t kLargestMagnitude =
    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;

// |value| in ten-thousandths, rounded half away from zero on the 15-significant-digit
// decimal form of |value|. nullopt when the magnitude exceeds kLargestMagnitude.
std::optional<std::uint64_t> roundedMagnitude(double magnitude) {
    if (magnitude == 0)
        return 0;
    // d.dddddddddddddde±XX: 15 significant digits D and a decimal exponent E, so that
    // magnitude ~= D * 10^(E - 14) and the count of ten-thousandths is D * 10^(E - 10).
    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    if (written.ec != std::errc())
        return std::nullopt;
    std::uint64_t digits = static_cast<std::uint64_t>(buffer[0] - '0');
    for (int i = 2; i < 16; ++i)
        digits = digits * 10 + static_cast<std::uint64_t>(buffer[i] - '0');
    const char* exponentText = buffer + 17; // after "e"
    if (*exponentText == '+')
        ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, written.ptr, exponent);

    const int shift = exponent - 10;
    if (shift >= 0) {
        // digits >= 10^14, so any shift above 4 leaves the 64-bit range.
        if (shift > 4)
            return std::nullopt;
        const std::uint64_t count = digits * kPowersOfTen[shift]; // < 10^19, no wrap
        if (count > kLargestMagnitude)
            return std::nullopt;
        return count;
    }
    if (-shift > 15)
        return 0; // digits < 10^15 <= half of 10^(-shift)
    const std::uint64_t divisor = kPowersOfTen[-shift];
    std::uint64_t count = digits / divisor;
    const std::uint64_t remainder = digits % divisor;
    if (remainder * 2 >= divisor)
        ++count;
    return count;
}

ConversionResult failure(int number, const char* description) {
    ConversionResult result;
    result.failureNumber = number;
    result.description = description;
    return result;
}

ConversionResult readFailure(calc::ReadStatus status) {
    if (status == calc::ReadStatus::OutOfRange)
        return failure(kFailureOutOfRange, kDescriptionOutOfRange);
    return failure(kFailureNotANumber, kDescriptionNotANumber);
}

} // namespace

std::optional<FixedAmount> FixedAmount::fromDouble(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const bool negative = value < 0;
    const auto magnitude = roundedMagnitude(std::fabs(value));
    if (!magnitude)
        return std::nullopt;
    if (!negative) {
        if (*magnitude == kLargestMagnitude)
            return std::nullopt;
        return FixedAmount(static_cast<std::int64_t>(*magnitude));
    }
    // Negating in unsigned arithmetic keeps INT64_MIN exact.
    return FixedAmount(static_cast<std::int64_t>(0 - *magnitude));
}

std::string FixedAmount::text(std::string_view separator) const {
    const bool negative = count_ < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(count_) : static_cast<std::uint64_t>(count_);
    const std::uint64_t whole = magnitude / 10000;
    std::uint64_t fraction = magnitude % 10000;

    char digits[24];
    char* end = digits;
    if (negative)
        *end++ = '-';
    end = std::to_chars(end, digits + sizeof digits, whole).ptr;

    std::string result;
    if (fraction == 0) {
        result.assign(digits, end);
        return result;
    }
    char fractionDigits[4];
    std::size_t fractionLength = 4;
    for (int i = 3; i >= 0; --i) {
        fractionDigits[i] = static_cast<char>('0' + fraction % 10);
        fraction /= 10;
    }
    while (fractionDigits[fractionLength - 1] == '0')
        --fractionLength;

    result.reserve(static_cast<std::size_t>(end - digits) + separator.size() + fractionLength);
    result.append(digits, end);
    result.append(separator);
    result.append(fractionDigits, fractionLength);
    return result;
}

ConversionResult convertAmount(std::string_view mainDisplay, std::string_view rateText,
                               bool reversed, std::string_view separator) {
    ConversionResult result;
    // A display that starts a negative number shows "0," on the second display,
    // always with a comma.
    if (!mainDisplay.empty() && mainDisplay.front() == '-') {
        result.ok = true;
        result.text = "0,";
        return result;
    }

    // The amount is read first, so its failure wins over the rate's.
    const calc::ReadResult amount = calc::readNumberStatus(mainDisplay, separator);
    if (amount.status != calc::ReadStatus::Ok)
        return readFailure(amount.status);
    const calc::ReadResult rate = calc::readNumberStatus(rateText, separator);
    if (rate.status != calc::ReadStatus::Ok)
        return readFailure(rate.status);

    if (reversed && rate.value == 0)
        return failure(kFailureDivisionByZero, kDescriptionDivisionByZero);
    const double value = reversed ? amount.value / rate.value : amount.value * rate.value;

    const auto fixed = FixedAmount::fromDouble(value);
    if (!fixed)
        return failure(kFailureOutOfRange, kDescriptionOutOfRange);
    result.ok = true;
    result.text = fixed->text(separator);
    return result;
}

} // namespace devimax::exchange
