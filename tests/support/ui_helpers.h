// Small helpers shared by the widget tests: answering the program's modal message
// boxes, clicking controls by name, firing window timers, making rate files.
#pragma once

#include "platform/access/access_file.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace devimax::test {

struct SeenMessage {
    QString title;
    QString text;
};

// Watches for modal message boxes while it lives, records each one and closes it
// with OK. Runs inside the box's own event loop, as a user would answer it.
class MessageCatcher : public QObject {
public:
    MessageCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start();
    }
    QList<SeenMessage> seen;
    // Called while a box is open, before it is closed (e.g. to look at timers).
    std::function<void()> whileOpen;

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (busy_ || !box || !box->isVisible())
            return;
        busy_ = true;
        seen.append({box->windowTitle(), box->text()});
        if (whileOpen)
            whileOpen();
        QTest::qWait(30); // let other timers have their chance while the box is open
        box->button(QMessageBox::Ok)->click();
        busy_ = false;
    }
    QTimer timer_;
    bool busy_ = false;
};

inline void setLocale(QLocale::Language language, QLocale::Territory territory) {
    QLocale::setDefault(QLocale(language, territory));
}

inline void fireTimer(QObject* window, const char* name) {
    auto* timer = window->findChild<QTimer*>(QString::fromLatin1(name));
    QVERIFY2(timer, name);
    QMetaObject::invokeMethod(timer, "timeout");
}

inline void click(QWidget* window, const QString& name) {
    auto* button = window->findChild<QPushButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

inline QString caption(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

// The rate table as the program expects it: table Parametres, fields FFR, USD, DEM.
inline access::TableSpec rateTable(std::vector<std::vector<access::Value>> rows,
                                   access::ColumnType type = access::ColumnType::Double) {
    access::TableSpec design;
    design.name = "Parametres";
    design.columns = {{"FFR", type, 50}, {"USD", type, 50}, {"DEM", type, 50}};
    design.rows = std::move(rows);
    return design;
}

inline bool writeRateFile(const QString& path, const access::TableSpec& design,
                          access::JetVersion version = access::JetVersion::Jet4) {
    access::Error error;
    return access::replaceFileAtomically(path.toStdString(), createDatabase(version, design),
                                         error);
}

// Runs each test case in a fresh working directory, as the program would be started.
class WorkingDirectory {
public:
    WorkingDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~WorkingDirectory() { QDir::setCurrent(previous_); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace devimax::test
