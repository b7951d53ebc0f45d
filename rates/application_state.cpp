#include "rates/application_state.h"

namespace devimax {

ApplicationState& appState() {
    static ApplicationState state;
    return state;
}

void resetApplicationState() {
    appState() = ApplicationState{};
}

} // namespace devimax
