// frmLog: the About window. It names the program, gives the project's e-mail
// address and a link to its web page, and comes back to the calculator through
// "Fermer". Made afresh at each opening and destroyed when it closes.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace devimax::about {

// The project's web page: Label8 shows exactly this text and a click opens it.
inline const QString kAuthorPage = QStringLiteral("https://devimax.example.org/");

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* mainWindow);

    // The window's inside, without its one-pixel border: controls are placed
    // relative to it.
    QWidget* clientArea() const { return client_; }

    void closeAboutBox();
    void openAuthorPage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();

    QPointer<QWidget> mainWindow_;
    QWidget* client_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QLabel* label8_ = nullptr;
    QPushButton* cmdFermer_ = nullptr;
    QPushButton* cmdFocus_ = nullptr;
    bool linkPressed_ = false;
    bool closing_ = false;
};

// Run by the main window's "?" menu item: hides the main window, then shows a new
// About window without modality. Returns it; it deletes itself when closed.
AboutWindow* showAboutBox(QWidget* mainWindow);

} // namespace devimax::about
