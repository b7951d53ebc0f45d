#include "calculator/value_slot.h"

#include "calculator/number_text.h"

namespace devimax::calc {

std::optional<double> ValueSlot::value(std::string_view separator) const {
    switch (kind) {
    case Kind::Number:
        return number;
    case Kind::Text:
        return readNumber(text, separator);
    case Kind::Empty:
    case Kind::IntegerZero:
        break;
    }
    return 0.0; // an empty slot counts as zero, like the integer 0
}

} // namespace devimax::calc
