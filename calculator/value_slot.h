// An operand of the calculator: empty, a double, the integer 0, or a text copied
// from the display (read as a number only when an evaluation needs it).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace devimax::calc {

struct ValueSlot {
    enum class Kind { Empty, Number, IntegerZero, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;

    static ValueSlot empty() { return {}; }
    static ValueSlot fromNumber(double value) { return {Kind::Number, value, {}}; }
    static ValueSlot integerZero() { return {Kind::IntegerZero, 0, {}}; }
    static ValueSlot fromText(std::string_view t) { return {Kind::Text, 0, std::string(t)}; }

    // The slot's value for arithmetic; nullopt when a text does not read as a number.
    std::optional<double> value(std::string_view separator) const;
    bool operator==(const ValueSlot&) const = default;
};

} // namespace devimax::calc
