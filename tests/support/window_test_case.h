// Base of the calculator window's test cases: each case starts from the program's
// first state, in a fresh working directory, with a French locale.
#pragma once

#include "platform/fonts.h"
#include "rates/application_state.h"
#include "support/ui_helpers.h"

#include <QObject>
#include <memory>

namespace devimax::test {

class WindowTestCase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<WorkingDirectory> cwd_;
    QString rateFile() const { return cwd_->file("buro.mdb"); }

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init() {
        resetApplicationState();
        cwd_ = std::make_unique<WorkingDirectory>();
        setLocale(QLocale::French, QLocale::France);
    }
    void cleanup() { cwd_.reset(); }
};

} // namespace devimax::test
