#include "app/calc_window.h"

#include "about/about_window.h"
#include "calculator/failures.h"
#include "calculator/number_text.h"
#include "exchange/currency.h"
#include "platform/directory_list.h"
#include "platform/fonts.h"
#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "platform/timer.h"
#include "rates/application_state.h"
#include "rates/data_link.h"
#include "rates/rate_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace devimax {
namespace {

constexpr int kClientWidth = 124;  // 1860 twips
constexpr int kClientHeight = 193; // 2895 twips

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CalcWindow::CalcWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmCalc"));
    // A blank title: with an empty one the desktop would show the program's name.
    setWindowTitle(QStringLiteral(" "));
    setAccessibleName(QStringLiteral("Devimax"));
    setWindowIcon(QIcon(QStringLiteral(":/devimax/calculator_icon.xpm")));
    setFont(platform::designFont(QStringLiteral("System"), 9.75, true));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(background);
    setAutoFillBackground(true);
    setFixedSize(kClientWidth, kClientHeight);
    move(5370 / 15, 3765 / 15);

    createKeypad();
    createDisplays();
    createBottomRow();
    createHiddenControls();
    createMenu();
    setTabOrder();
    cmdFocus_->setFocus();

    loadMainWindow();
    // The store opens once the window has loaded. Should it fail, its message must
    // not let the start-up completion run underneath it.
    timer2_->stop();
    data1_->open();
    platform::setTimerInterval(timer2_, 200);
}

CalcWindow::~CalcWindow() = default;

void CalcWindow::loadMainWindow() {
    ApplicationState& state = appState();
    if (state.resetRequested != 1) {
        // Above every ordinary window for the whole run.
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        const QRect screenArea = screen()->geometry();
        const QSize outer = frameGeometry().size();
        move(screenArea.x() + (screenArea.width() - outer.width()) / 2,
             screenArea.y() + (screenArea.height() - outer.height()) / 2);
    }
    state.resetRequested = 0;
    data1_->setDatabaseName(platform::joinWithoutCheck(dir1_->path(), QStringLiteral("buro.mdb")));
    platform::setTimerInterval(timer2_, 200);
}

void CalcWindow::completeStartup() {
    copyRates();
    platform::setTimerInterval(timer1_, 100);
    if (!exchange::isCurrency(displayCurrency_))
        displayCurrency_ = exchange::kFranc;

    checkDisplayRate(displayCurrency_);
    if (!check1_->isChecked()) {
        lbl1_->setText(QStringLiteral("Euro"));
        lbl2_->setText(QString::fromLatin1(exchange::currencyWord(displayCurrency_)));
    }
    applyCurrency(displayCurrency_);

    calculator_.reset();
    calculator_.display = "0";
    showReadout();
    readOut2_->setText(QStringLiteral("0"));
    platform::setTimerInterval(timer2_, 0);
}

bool CalcWindow::checkDisplayRate(int currency) {
    const auto reading =
        calc::readNumberStatus(rateOf(currency).toStdString(), platform::decimalSeparator());
    int failure = 0;
    if (reading.status == calc::ReadStatus::NotANumber)
        failure = kFailureNotANumber;
    else if (reading.status == calc::ReadStatus::OutOfRange)
        failure = kFailureOutOfRange;
    else if (reading.value == 0)
        failure = kFailureDivisionByZero;
    if (failure == 0)
        return true;
    // No timer may fire underneath the message: the completion runs once per
    // arming, and the live update reports its own failure after this one.
    const bool liveUpdateRunning = timer1_->isActive();
    platform::setTimerInterval(timer1_, 0);
    platform::setTimerInterval(timer2_, 0);
    platform::showMessage(this, QStringLiteral("Erreur"),
                          QStringLiteral("Erreur numéro %1 .").arg(failure));
    if (liveUpdateRunning)
        platform::setTimerInterval(timer1_, 100);
    return false;
}

void CalcWindow::applyCurrency(int currency) {
    cmdFranc_->setEnabled(currency != exchange::kFranc);
    cmdDollar_->setEnabled(currency != exchange::kDollar);
    cmdMark_->setEnabled(currency != exchange::kMark);
    image20_->setVisible(currency == exchange::kFranc);
    image21_->setVisible(currency == exchange::kDollar);
    image22_->setVisible(currency == exchange::kMark);
}

void CalcWindow::copyRates() {
    ApplicationState& state = appState();
    if (state.ratesCopied == 1)
        return;
    state.ratesCopied = 1;
    state.rateFFR = label1_->text();
    state.rateUSD = label2_->text();
    state.rateDEM = label3_->text();
}

const QString& CalcWindow::rateOf(int currency) const {
    static const QString none;
    const ApplicationState& state = appState();
    switch (currency) {
    case exchange::kFranc:
        return state.rateFFR;
    case exchange::kDollar:
        return state.rateUSD;
    case exchange::kMark:
        return state.rateDEM;
    }
    return none;
}

std::optional<access::Error> CalcWindow::saveRates() {
    if (auto error = data1_->moveNext())
        return error;
    return data1_->moveFirst();
}

void CalcWindow::closeEvent(QCloseEvent* event) {
    if (!ending_) {
        if (auto error = saveRates()) {
            platform::showMessage(
                this, QStringLiteral("Erreur"),
                QStringLiteral("Les taux n'ont pas pu être enregistrés dans buro.mdb. %1 %2")
                    .arg(error->number)
                    .arg(fromUtf8(error->message)));
        }
        ending_ = true;
        emit programEnded();
    }
    event->accept();
}

void CalcWindow::quitProgram() {
    if (auto error = saveRates()) {
        platform::showMessage(this, QStringLiteral("Erreur"),
                              QStringLiteral("E2  Lecture impossible de buro.mdb. %1 %2")
                                  .arg(error->number)
                                  .arg(fromUtf8(error->message)));
        platform::setTimerInterval(timer1_, 0);
    }
    ending_ = true;
    emit programEnded();
}

void CalcWindow::showProgramMenu() {
    cmdProgramme_->exec(QCursor::pos());
}

void CalcWindow::openRateDialog(int currency) {
    parkFocus();
    rates::openRateDialog(this, {label1_, label2_, label3_}, currency,
                          QString::fromLatin1(exchange::currencyWord(currency)));
}

void CalcWindow::showAboutBox() {
    about::showAboutBox(this);
}

// Keypad ---------------------------------------------------------------------

void CalcWindow::parkFocus() {
    cmdFocus_->setFocus();
}

void CalcWindow::showReadout() {
    readout_->setText(fromUtf8(calculator_.display));
}

void CalcWindow::numberClicked(int index) {
    parkFocus();
    calculator_.digitKey(number_[static_cast<std::size_t>(index)]->text().toStdString(),
                         platform::decimalSeparator());
    showReadout();
}

void CalcWindow::decimalClicked() {
    parkFocus();
    calculator_.decimalKey(platform::decimalSeparator());
    showReadout();
}

void CalcWindow::cancelEntryClicked() {
    parkFocus();
    calculator_.clearEntryKey(platform::decimalSeparator());
    showReadout();
}

void CalcWindow::cancelClicked() {
    parkFocus();
    calculator_.clearAllKey(platform::decimalSeparator());
    showReadout();
    resetThroughLoad();
}

void CalcWindow::resetThroughLoad() {
    appState().resetRequested = 1;
    loadMainWindow();
}

void CalcWindow::operatorClicked(int index) {
    parkFocus();
    const auto outcome =
        calculator_.operatorKey(operator_[static_cast<std::size_t>(index)]->text().toStdString(),
                                platform::decimalSeparator());
    // A failure is reported first; the display then shows the operand that was kept.
    switch (outcome) {
    case calc::OperatorOutcome::Done:
        break;
    case calc::OperatorOutcome::DivisionByZero:
        platform::showMessage(this, QStringLiteral("Erreur"), QStringLiteral("Division par zero?"));
        break;
    case calc::OperatorOutcome::NotANumber:
        platform::showMessage(this, QStringLiteral("Erreur"),
                              QStringLiteral("Opération impossible : nombre incomplet."));
        break;
    case calc::OperatorOutcome::OutOfRange:
        platform::showMessage(this, QStringLiteral("Erreur"),
                              QStringLiteral("Opération impossible : nombre trop grand."));
        break;
    }
    showReadout();
}

} // namespace devimax
