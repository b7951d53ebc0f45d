// What the two secondary windows (the rate dialog and the About window) share: no
// title bar, a one-pixel border around a client area of a given size, a default
// button that Enter clicks, no closing by the window system, and the main window
// shown again when the window closes. Each is made afresh and deletes itself.
#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>

class QPushButton;

namespace devimax::platform {

class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    SecondaryWindow(QWidget* mainWindow, QSize clientSize);

    // The window's inside, without its border: controls are placed relative to it.
    QWidget* clientArea() const { return client_; }
    // Places the client area's top-left corner at `topLeft` on the screen.
    void moveClientArea(QPoint topLeft);

protected:
    QWidget* mainWindow() const { return mainWindow_; }
    void setDefaultButton(QPushButton* button) { defaultButton_ = button; }
    void closeAndShowMainWindow();

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
    QWidget* client_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
    bool closing_ = false;
};

} // namespace devimax::platform
