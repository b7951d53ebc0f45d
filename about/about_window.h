// frmLog: the About window. It names the program, gives the project's e-mail
// address and a link to its web page, and comes back to the calculator through
// "Fermer". Made afresh at each opening and destroyed when it closes.
#pragma once

#include "platform/secondary_window.h"

#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;

namespace devimax::about {

// The project's web page: Label8 shows exactly this text and a click opens it.
inline const QString kAuthorPage = QStringLiteral("https://devimax.example.org/");

class AboutWindow : public platform::SecondaryWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* mainWindow);

    void closeAboutBox();
    void openAuthorPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();

    QGroupBox* frame1_ = nullptr;
    QLabel* label8_ = nullptr;
    QPushButton* cmdFermer_ = nullptr;
    QPushButton* cmdFocus_ = nullptr;
    bool linkPressed_ = false;
};

// Run by the main window's "?" menu item: hides the main window, then shows a new
// About window without modality. Returns it; it deletes itself when closed.
AboutWindow* showAboutBox(QWidget* mainWindow);

} // namespace devimax::about
