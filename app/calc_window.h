// frmCalc: the calculator window. It lays out the keypad, the two displays, the
// direction box, the flags and the hidden controls, and wires each control to the
// routine that handles it. The calculator arithmetic and the conversion live in
// calculator/ and exchange/; this class only moves texts between them and the
// controls.
#pragma once

#include "calculator/calculator.h"
#include "platform/access/access_file.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace devimax::platform {
class DirectoryList;
}
namespace devimax::rates {
class BoundLabel;
class DataLink;
} // namespace devimax::rates

namespace devimax {

class CalcWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalcWindow(QWidget* parent = nullptr);
    ~CalcWindow() override;

    // Start-up, reset and shutdown.
    void loadMainWindow();
    void completeStartup();
    void copyRates();
    std::optional<access::Error> saveRates();

    // Second display and the currency / direction choice.
    void liveUpdateTick();
    void chooseCurrency(int currency);
    void changeDirection();

    // Commands of the popup menu.
    void showProgramMenu();
    void openRateDialog(int currency);
    void showAboutBox();
    void quitProgram();

    int displayCurrency() const { return displayCurrency_; }
    const calc::Calculator& calculator() const { return calculator_; }
    QMenu* programMenu() const { return cmdProgramme_; }

signals:
    // The quit command has finished: the program must end now, without the close
    // routine. main() ends the event loop on it.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createKeypad();
    void createDisplays();
    void createBottomRow();
    void createHiddenControls();
    void createMenu();
    void setTabOrder();

    void numberClicked(int index);
    void operatorClicked(int index);
    void decimalClicked();
    void cancelEntryClicked();
    void cancelClicked();

    QPushButton* keyForCharacter(const QString& typed) const;
    void pasteAmount(const QString& text);

    void parkFocus();
    void showReadout();
    void resetThroughLoad();
    void applyCurrency(int currency);
    bool checkDisplayRate(int currency);
    const QString& rateOf(int currency) const;

    calc::Calculator calculator_;
    int displayCurrency_ = 0;
    bool ending_ = false;

    std::array<QPushButton*, 10> number_{};
    std::array<QPushButton*, 5> operator_{};
    QPushButton* decimal_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* cancelEntry_ = nullptr;
    QLabel* readout_ = nullptr;
    QLabel* readOut2_ = nullptr;
    QLabel* lbl1_ = nullptr;
    QLabel* lbl2_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QLabel* image19_ = nullptr;
    QLabel* image20_ = nullptr;
    QLabel* image21_ = nullptr;
    QLabel* image22_ = nullptr;
    QPushButton* cmdMenu_ = nullptr;
    QPushButton* cmdFocus_ = nullptr;
    rates::DataLink* data1_ = nullptr;
    rates::BoundLabel* label1_ = nullptr;
    rates::BoundLabel* label2_ = nullptr;
    rates::BoundLabel* label3_ = nullptr;
    platform::DirectoryList* dir1_ = nullptr;
    QWidget* drive1_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;

    QMenu* cmdProgramme_ = nullptr;
    QAction* cmdFranc_ = nullptr;
    QAction* cmdDollar_ = nullptr;
    QAction* cmdMark_ = nullptr;
    std::array<QAction*, 3> rateItems_{}; // cmdFran, cmdDolla, cmdMar
    QAction* mnuLog_ = nullptr;
};

} // namespace devimax
