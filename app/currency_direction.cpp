// The second display and the choice of currency and direction.
#include "app/calc_window.h"

#include "exchange/conversion.h"
#include "exchange/currency.h"
#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "platform/timer.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>

namespace devimax {

void CalcWindow::liveUpdateTick() {
    const QString amount = readout_->text();
    const bool negative = amount.startsWith(QLatin1Char('-'));
    // Until a currency has been chosen there is nothing to exchange.
    if (!negative && !exchange::isCurrency(displayCurrency_))
        return;
    const auto result =
        exchange::convertAmount(amount.toStdString(), rateOf(displayCurrency_).toStdString(),
                                check1_->isChecked(), platform::decimalSeparator());
    if (result.ok) {
        readOut2_->setText(QString::fromStdString(result.text));
        return;
    }
    // Stopped before the message opens: no tick may run while it is shown.
    platform::setTimerInterval(timer1_, 0);
    platform::showMessage(this, QStringLiteral("Erreur"),
                          QStringLiteral("E1  Lecture impossible de buro.mdb. %1 %2")
                              .arg(result.failureNumber)
                              .arg(QString::fromStdString(result.description)));
}

void CalcWindow::changeDirection() {
    if (!exchange::isCurrency(displayCurrency_))
        return;
    calculator_.clearAllKey(platform::decimalSeparator());
    showReadout();
    resetThroughLoad();
    readOut2_->setText(QStringLiteral("0"));
    const QString word = QString::fromLatin1(exchange::currencyWord(displayCurrency_));
    const bool reversed = check1_->isChecked();
    lbl1_->setText(reversed ? word : QStringLiteral("Euro"));
    lbl2_->setText(reversed ? QStringLiteral("Euro") : word);
}

void CalcWindow::chooseCurrency(int currency) {
    parkFocus();
    displayCurrency_ = currency;
    lbl1_->setText(QStringLiteral("Euro"));
    lbl2_->setText(QString::fromLatin1(exchange::currencyWord(currency)));
    applyCurrency(currency);
    // Clearing a ticked box is a change of direction: changeDirection runs here.
    check1_->setChecked(false);
    calculator_.clearAllKey(platform::decimalSeparator());
    showReadout();
    resetThroughLoad();
}

} // namespace devimax
