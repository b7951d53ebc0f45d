// The pocket calculator behind the main display: its state, the keys that edit the
// display text and the operator keys that evaluate strictly from left to right.
// Plain C++: the window owns a Calculator, forwards key clicks to it and copies
// `display` into the Readout label. The decimal separator is passed in on every
// call (looked up from the user's locale by the window each time).
#pragma once

#include "value_slot.h"

#include <string>
#include <string_view>

namespace devimax::calc {

// What an operator key asks the window to report after it has run.
enum class OperatorOutcome {
    Done,
    DivisionByZero, // "Division par zero?"
    NotANumber,     // an operand that cannot be read as a number (the lone "-")
    OutOfRange,     // a typed number or a result outside the double range
};

struct Calculator {
    std::string display; // caption of Readout, UTF-8
    bool decimalEntered = false;
    std::string entryState; // "NUMS", "NEG", "OPS", "CE", "NONE"; empty before start-up
    ValueSlot firstOperand;
    ValueSlot secondOperand;
    int operandCount = 0;
    std::string pendingOperator; // caption of the pending operator key; " " after a reset

    void digitKey(std::string_view digit, std::string_view separator);
    void decimalKey(std::string_view separator);
    void clearEntryKey(std::string_view separator);
    // The display part of the clear-all key: "0" + separator and both operands the
    // integer 0. The rest of the reset is done by the start-up completion.
    void clearAllKey(std::string_view separator);
    OperatorOutcome operatorKey(std::string_view caption, std::string_view separator);
    // The calculator part of the start-up completion; does not touch the operands.
    void reset();
};

} // namespace devimax::calc
