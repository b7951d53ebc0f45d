// One tick of the second display: the main display's amount exchanged at a rate,
// rounded to a fixed-point amount of ten-thousandths and written as text.
// Plain C++; the window picks the rate text for the chosen currency.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace devimax::exchange {

// A signed amount with exactly four decimals, held as a count of ten-thousandths.
class FixedAmount {
public:
    // Rounds to the nearest ten-thousandth; a value exactly halfway (judged on its
    // 15-significant-digit decimal form) goes away from zero. nullopt when the value
    // is not finite or lies outside the 64-bit range.
    static std::optional<FixedAmount> fromDouble(double value);
    static FixedAmount fromTenThousandths(std::int64_t count) { return FixedAmount(count); }

    std::int64_t tenThousandths() const { return count_; }
    // "-" when negative, integer digits without grouping, then the separator and at
    // most four fraction digits without trailing zeros, only when the fraction is not 0.
    std::string text(std::string_view separator) const;

private:
    explicit FixedAmount(std::int64_t count) : count_(count) {}
    std::int64_t count_ = 0;
};

struct ConversionResult {
    bool ok = false;
    std::string text;        // the new caption of the second display when ok
    int failureNumber = 0;   // when not ok: one of the numbers of calculator/failures.h
    std::string description; // when not ok: a short French description
};

// reversed: false = amount x rate (euros in the main display), true = amount / rate.
// A main display starting with "-" gives "0," whatever the separator.
ConversionResult convertAmount(std::string_view mainDisplay, std::string_view rateText,
                               bool reversed, std::string_view separator);

} // namespace devimax::exchange
