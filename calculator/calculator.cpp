#include "calculator/calculator.h"

#include "calculator/number_text.h"

#include <cmath>
#include <string>

namespace devimax::calc {

namespace {

const std::string kNums = "NUMS";
const std::string kNeg = "NEG";
const std::string kOps = "OPS";
const std::string kCe = "CE";

// A slot read for arithmetic, with the reason when it cannot be used.
ReadResult readSlot(const ValueSlot& slot, std::string_view separator) {
    if (slot.kind == ValueSlot::Kind::Text)
        return readNumberStatus(slot.text, separator);
    return {ReadStatus::Ok, slot.value(separator).value_or(0)};
}

OperatorOutcome outcomeOf(ReadStatus status) {
    return status == ReadStatus::OutOfRange ? OperatorOutcome::OutOfRange
                                            : OperatorOutcome::NotANumber;
}

// How an operand is shown once it becomes the running result.
std::string resultText(const ValueSlot& slot, std::string_view separator) {
    switch (slot.kind) {
    case ValueSlot::Kind::Number:
        return formatResult(slot.number, separator);
    case ValueSlot::Kind::Text:
        return slot.text;
    case ValueSlot::Kind::Empty:
    case ValueSlot::Kind::IntegerZero:
        break;
    }
    return "0";
}

// Applies `op` to the two operands; on success the result replaces firstOperand,
// otherwise firstOperand is left as it was.
OperatorOutcome evaluate(ValueSlot& first, const ValueSlot& second, std::string_view op,
                         std::string_view separator) {
    const bool arithmetic = op == "+" || op == "-" || op == "X" || op == "/";
    // Operands are read left to right; the first one that cannot be used is reported.
    ReadResult left{ReadStatus::Ok, 0};
    if (arithmetic) {
        left = readSlot(first, separator);
        if (left.status != ReadStatus::Ok)
            return outcomeOf(left.status);
    }
    const ReadResult right = readSlot(second, separator);
    if (right.status != ReadStatus::Ok)
        return outcomeOf(right.status);
    if (!arithmetic) {
        // "=" (and anything unexpected) takes the second operand as the result.
        first = ValueSlot::fromNumber(right.value);
        return OperatorOutcome::Done;
    }

    double result = 0;
    if (op == "+") {
        result = left.value + right.value;
    } else if (op == "-") {
        result = left.value - right.value;
    } else if (op == "X") {
        result = left.value * right.value;
    } else {
        if (right.value == 0)
            return OperatorOutcome::DivisionByZero;
        result = left.value / right.value;
    }
    if (!std::isfinite(result))
        return OperatorOutcome::OutOfRange;
    first = ValueSlot::fromNumber(result);
    return OperatorOutcome::Done;
}

} // namespace

void Calculator::digitKey(std::string_view digit, std::string_view separator) {
    const std::string before = entryState;
    if (entryState != kNums) {
        display = std::string(separator);
        decimalEntered = false;
    }
    if (decimalEntered) {
        display += digit;
    } else {
        const std::size_t separatorPos =
            separator.empty() ? std::string::npos : display.find(separator);
        std::string number = display.substr(0, separatorPos);
        number += digit;
        number += separator;
        display = std::move(number);
    }
    if (before == kNeg)
        display.insert(0, "-");
    entryState = kNums;
}

void Calculator::decimalKey(std::string_view separator) {
    if (entryState == kNeg)
        display = "-0" + std::string(separator);
    else if (entryState != kNums)
        display = "0" + std::string(separator);
    decimalEntered = true;
    entryState = kNums;
}

void Calculator::clearEntryKey(std::string_view separator) {
    display = "0" + std::string(separator);
    decimalEntered = false;
    entryState = kCe;
}

void Calculator::clearAllKey(std::string_view separator) {
    display = "0" + std::string(separator);
    firstOperand = ValueSlot::integerZero();
    secondOperand = ValueSlot::integerZero();
}

OperatorOutcome Calculator::operatorKey(std::string_view caption, std::string_view separator) {
    const std::string typed = display;
    OperatorOutcome outcome = OperatorOutcome::Done;
    if (entryState == kNums)
        ++operandCount;

    if (operandCount == 0) {
        if (caption == "-" && entryState != kNeg) {
            display = "-" + display;
            entryState = kNeg;
        }
    } else if (operandCount == 1) {
        firstOperand = ValueSlot::fromText(typed);
        if (caption == "-" && entryState != kNums && pendingOperator != "=") {
            display = "-";
            entryState = kNeg;
        }
    } else {
        secondOperand = ValueSlot::fromText(typed);
        outcome = evaluate(firstOperand, secondOperand, pendingOperator, separator);
        display = resultText(firstOperand, separator);
        operandCount = 1;
    }

    if (entryState != kNeg) {
        entryState = kOps;
        pendingOperator = std::string(caption);
    }
    return outcome;
}

void Calculator::reset() {
    decimalEntered = false;
    operandCount = 0;
    entryState = "NONE";
    pendingOperator = " ";
}

} // namespace devimax::calc
