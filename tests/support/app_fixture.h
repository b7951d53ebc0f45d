// The calculator window as the program starts it: in a working directory whose
// buro.mdb holds the given record, shown, with its start-up completed.
#pragma once

#include "app/calc_window.h"
#include "support/ui_helpers.h"

#include <memory>

namespace devimax::test {

inline std::vector<access::Value> rateRecord(double franc, double dollar, double mark) {
    return {access::Value::fromDouble(franc), access::Value::fromDouble(dollar),
            access::Value::fromDouble(mark)};
}

// nullptr when the window could not be shown.
inline std::unique_ptr<CalcWindow> startedWindow(const WorkingDirectory& cwd,
                                                 std::vector<access::Value> record) {
    if (!writeRateFile(cwd.file("buro.mdb"), rateTable({std::move(record)})))
        return nullptr;
    auto window = std::make_unique<CalcWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    fireTimer(window.get(), "Timer2");
    return window;
}

} // namespace devimax::test
