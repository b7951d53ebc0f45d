// The program's application-wide variables, kept together in one place.
#pragma once

#include <QString>

namespace devimax {

struct ApplicationState {
    int resetRequested = 0; // 1 while a handler runs loadMainWindow as a reset
    int ratesCopied = 0;    // 1 once copyRates has taken the rates
    QString rateFFR;        // working copies of the rates, as text
    QString rateUSD;
    QString rateDEM;
    int rateEditIndex = 0; // which rate the rate dialog replaces: 1, 2 or 3
    QString rateEditName;  // "Franc", "Dollar" or "Mark"
};

ApplicationState& appState();
// Back to the program-start values (tests start each case from here).
void resetApplicationState();

} // namespace devimax
