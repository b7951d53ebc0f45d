// Failure numbers shared by every message that reports a rate or an amount that
// cannot be used: the start-up rate check, the live conversion and the evaluation.
// They are the numbers users of the original runtime know for the same failures.
#pragma once

namespace devimax {

inline constexpr int kFailureOutOfRange = 6;      // "Dépassement de capacité"
inline constexpr int kFailureDivisionByZero = 11; // "Division par zéro"
inline constexpr int kFailureNotANumber = 13;     // "Type incompatible"

inline constexpr const char* kDescriptionOutOfRange = "Dépassement de capacité";
inline constexpr const char* kDescriptionDivisionByZero = "Division par zéro";
inline constexpr const char* kDescriptionNotANumber = "Type incompatible";

} // namespace devimax
