// frmChange: the dialog that replaces one of the three working rates. It is made
// afresh at each opening and destroyed when it closes; it keeps no state besides
// its controls. rateEditIndex / rateEditName of the application state say which
// rate it edits.
#pragma once

#include "platform/secondary_window.h"

#include <QPointer>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace devimax::rates {

class BoundLabel;

class RateDialog : public platform::SecondaryWindow {
    Q_OBJECT
public:
    // boundLabels: the main window's Label1 (FFR), Label2 (USD), Label3 (DEM).
    RateDialog(QWidget* mainWindow, std::array<BoundLabel*, 3> boundLabels);

    void validate();
    void cancel();

private:
    void createControls();
    void loadDialog();
    void filterEntry(const QString& text);

    std::array<QPointer<BoundLabel>, 3> boundLabels_;
    QGroupBox* frame1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label3_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* cmdAnnuler_ = nullptr;
    QPushButton* cmdValide_ = nullptr;
    QPushButton* cmdFocus_ = nullptr;
};

// Run by the rate items of the main window's menu (the window has already parked
// its focus): records which rate to edit, shows a new dialog without modality and
// hides the main window. Returns the dialog, which deletes itself when closed.
RateDialog* openRateDialog(QWidget* mainWindow, std::array<BoundLabel*, 3> labels, int index,
                           const QString& name);

} // namespace devimax::rates
