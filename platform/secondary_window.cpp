#include "platform/secondary_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace devimax::platform {

namespace {
constexpr int kBorder = 1;
}

SecondaryWindow::SecondaryWindow(QWidget* mainWindow, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), mainWindow_(mainWindow) {
    setAttribute(Qt::WA_DeleteOnClose);
    // No title bar: the window system offers neither a caption nor a way to drag
    // or close it. The border is drawn here, one pixel around the client area.
    setFixedSize(clientSize.width() + 2 * kBorder, clientSize.height() + 2 * kBorder);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    client_->setGeometry(kBorder, kBorder, clientSize.width(), clientSize.height());
}

void SecondaryWindow::moveClientArea(QPoint topLeft) {
    move(topLeft - QPoint(kBorder, kBorder));
}

void SecondaryWindow::closeAndShowMainWindow() {
    closing_ = true;
    close(); // WA_DeleteOnClose: deleted once control is back in the event loop
    if (mainWindow_)
        mainWindow_->show();
}

void SecondaryWindow::keyPressEvent(QKeyEvent* event) {
    // What a dialog does with Enter: the focused push button, else the default one.
    // Escape is left alone: these windows have no cancel button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        if (QPushButton* button = focused ? focused : defaultButton_)
            button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
    // Only the window's own buttons close it, not the window system (Alt+F4...).
    if (!closing_ && event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void SecondaryWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace devimax::platform
