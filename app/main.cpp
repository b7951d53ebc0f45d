#include "app/calc_window.h"
#include "platform/fonts.h"
#include "platform/session_end.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Devimax"));
    QApplication::setDesktopFileName(QStringLiteral("devimax"));
    // The program ends when its main window closes or its quit command runs, not
    // when the last visible window goes (the main window hides behind its dialogs).
    QApplication::setQuitOnLastWindowClosed(false);
    devimax::platform::installFontSubstitutions();

    devimax::CalcWindow window;
    QObject::connect(
        &window, &devimax::CalcWindow::programEnded, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    // Log-off and shutdown close the window like its close box: the rates are saved.
    devimax::platform::closeWindowWhenSessionEnds(&window);
    window.show();
    return QApplication::exec();
}
