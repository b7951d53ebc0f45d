// The toolkit's floor for the start-up benchmark: a plain Qt window with as many
// widgets as the calculator window (20 keys, 5 labels, a check box, 4 pictures, 8
// hidden controls), nothing behind them. With "--tick" it also runs an empty
// 100 ms timer, the floor for the calculator's idle CPU.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(124, 193);
    for (int i = 0; i < 20; ++i)
        (new QPushButton(QString::number(i % 10), &window))
            ->setGeometry(4 + (i % 5) * 24, 4 + (i / 5) * 24, 21, 21);
    for (int i = 0; i < 5; ++i)
        (new QLabel(QStringLiteral("0"), &window))->setGeometry(8, 104 + i * 14, 109, 13);
    new QCheckBox(&window);
    for (int i = 0; i < 4; ++i)
        (new QLabel(&window))->setGeometry(4 + i * 30, 164, 32, 32);
    for (int i = 0; i < 8; ++i)
        (new QLabel(QStringLiteral("hidden"), &window))->setGeometry(200, i * 20, 60, 17);
    QTimer tick;
    if (app.arguments().contains(QStringLiteral("--tick")))
        tick.start(100);
    window.show();
    return app.exec();
}
