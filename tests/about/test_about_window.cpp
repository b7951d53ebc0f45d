// The About window frmLog, driven through real mouse and key events.
#include "about/about_window.h"
#include "platform/cursors.h"
#include "platform/fonts.h"
#include "platform/web_page.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace devimax;
using devimax::about::AboutWindow;

namespace {

// Notes, at the moment the main window hides, whether an About window is already up.
class HideWatcher : public QObject {
public:
    bool aboutVisibleAtHide = false;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            ++hides;
            for (QWidget* w : QApplication::topLevelWidgets())
                aboutVisibleAtHide |= w->objectName() == QLatin1String("frmLog") && w->isVisible();
        }
        return false;
    }
};

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensAtItsPlaceOverTheHiddenMainWindow();
    void fermerBringsTheMainWindowBack();
    void keys();
    void pointer_data();
    void pointer();
    void reopeningStartsWithTheArrow();
    void linkOpensItsAddress();
    void textsFitTheirLabels();

private:
    AboutWindow* open();
    template <typename T = QWidget> T* control(const char* name) const {
        return about_->findChild<T*>(QString::fromLatin1(name));
    }
    // A real pointer move, through the window, to a point of `target`.
    void moveOver(QWidget* target, QPoint local) {
        QWindow* window = about_->windowHandle();
        QTest::mouseMove(window, window->mapFromGlobal(target->mapToGlobal(local)));
    }
    void clickOn(QWidget* target) {
        QWindow* window = about_->windowHandle();
        const QPoint at = window->mapFromGlobal(target->mapToGlobal(target->rect().center()));
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    }
    void finishClosing() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::unique_ptr<QWidget> main_;
    QPointer<AboutWindow> about_;
    QStringList opened_;
    const QRect mainGeometry_{400, 150, 240, 320};
};

void TestAboutWindow::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    platform::installFontSubstitutions();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestAboutWindow::init() {
    opened_.clear();
    platform::setWebPageOpenerForTests([this](const QString& address) {
        opened_ << address;
        return true;
    });
    main_ = std::make_unique<QWidget>();
    main_->setObjectName(QStringLiteral("frmCalc"));
    main_->setGeometry(mainGeometry_);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void TestAboutWindow::cleanup() {
    delete about_;
    main_.reset();
    platform::setWebPageOpenerForTests(nullptr);
}

AboutWindow* TestAboutWindow::open() {
    about_ = about::showAboutBox(main_.get());
    if (!QTest::qWaitForWindowExposed(about_))
        return nullptr;
    return about_;
}

void TestAboutWindow::opensAtItsPlaceOverTheHiddenMainWindow() {
    HideWatcher watcher;
    main_->installEventFilter(&watcher);
    QVERIFY(open());
    QCOMPARE(watcher.hides, 1);
    QVERIFY(!watcher.aboutVisibleAtHide); // hidden first, then the About window shown
    QVERIFY(!main_->isVisible());
    QVERIFY(about_->isVisible());
    QVERIFY(!about_->isModal());

    // No title bar; client area 3345 x 3765 twips at 1905, 2130 twips on the screen.
    QVERIFY(about_->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(about_->clientArea()->size(), QSize(223, 251));
    QCOMPARE(about_->minimumSize(), about_->maximumSize());
    const QPoint screenOrigin = about_->screen()->geometry().topLeft();
    QCOMPARE(about_->clientArea()->mapToGlobal(QPoint(0, 0)) - screenOrigin, QPoint(127, 142));
    QCOMPARE(about_->palette().color(QPalette::Window), QColor(192, 192, 192));

    // Wherever the window was, the next one opens at the same place.
    about_->move(10, 10);
    QTest::mouseClick(control<QPushButton>("cmdFermer"), Qt::LeftButton);
    finishClosing();
    QVERIFY(open());
    QCOMPARE(about_->clientArea()->mapToGlobal(QPoint(0, 0)) - screenOrigin, QPoint(127, 142));
    main_->removeEventFilter(&watcher);
}

void TestAboutWindow::fermerBringsTheMainWindowBack() {
    QVERIFY(open());
    QVERIFY(!main_->isVisible());
    clickOn(control("cmdFermer"));
    finishClosing();
    QVERIFY(about_.isNull());
    QVERIFY(main_->isVisible());
    QCOMPARE(main_->geometry(), mainGeometry_);
    QVERIFY(opened_.isEmpty());
}

// Enter clicks the hidden default button, which does nothing; Escape does nothing;
// Tab goes between cmdFocus and cmdFermer only.
void TestAboutWindow::keys() {
    QVERIFY(open());
    auto* cmdFocus = control<QPushButton>("cmdFocus");
    QCOMPARE(about_->focusWidget(), cmdFocus);
    QVERIFY(cmdFocus->isDefault());
    QVERIFY(cmdFocus->mapTo(about_->clientArea(), QPoint(0, 0)).x() >=
            about_->clientArea()->width());

    QSignalSpy focusClicks(cmdFocus, &QPushButton::clicked);
    QTest::keyClick(cmdFocus, Qt::Key_Return);
    QTest::keyClick(cmdFocus, Qt::Key_Escape);
    finishClosing();
    QCOMPARE(focusClicks.size(), 1);
    QVERIFY(about_ && about_->isVisible());
    QVERIFY(!main_->isVisible());
    QCOMPARE(about_->focusWidget(), cmdFocus);

    QStringList order;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(about_->focusWidget(), Qt::Key_Tab);
        order << about_->focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"cmdFermer", "cmdFocus", "cmdFermer"}));
}

// Each row: the controls the pointer moves over, in turn ("bare" is an empty part
// of Frame1), and the window's pointer afterwards.
void TestAboutWindow::pointer_data() {
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("shape");

    QTest::newRow("nothing yet") << QStringList{} << "arrow";
    QTest::newRow("link") << QStringList{"Label8"} << "up";
    QTest::newRow("bare frame") << QStringList{"bare"} << "icon";
    QTest::newRow("link then frame") << QStringList{"Label8", "bare"} << "icon";
    QTest::newRow("frame then link") << QStringList{"bare", "Label8"} << "up";
    QTest::newRow("other label") << QStringList{"Label7"} << "arrow";
    QTest::newRow("link then other labels")
        << QStringList{"Label8", "Label7", "Label1", "Label4"} << "up";
    QTest::newRow("frame then picture") << QStringList{"bare", "Image1"} << "icon";
    QTest::newRow("link then button") << QStringList{"Label8", "cmdFermer"} << "up";
    QTest::newRow("line is drawn on the frame") << QStringList{"Label8", "Line1"} << "icon";
}

void TestAboutWindow::pointer() {
    QFETCH(QStringList, path);
    QFETCH(QString, shape);

    QVERIFY(open());
    for (const QString& name : path) {
        if (name == QLatin1String("bare")) {
            // Between the picture and the line, left of the title: nothing lies there.
            auto* frame = control("Frame1");
            const QPoint bare(10, 75);
            QCOMPARE(frame->childAt(bare), nullptr);
            moveOver(frame, bare);
        } else {
            auto* target = control(name.toLatin1().constData());
            QVERIFY2(target, qPrintable(name));
            moveOver(target, target->rect().center());
        }
    }

    const QCursor cursor = about_->cursor();
    if (shape == QLatin1String("arrow")) {
        QCOMPARE(cursor.shape(), Qt::ArrowCursor);
    } else if (shape == QLatin1String("up")) {
        QCOMPARE(cursor.shape(), Qt::UpArrowCursor);
    } else {
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.pixmap().toImage(), platform::iconCursor().pixmap().toImage());
    }
}

void TestAboutWindow::reopeningStartsWithTheArrow() {
    QVERIFY(open());
    moveOver(control("Label8"), QPoint(5, 5));
    QCOMPARE(about_->cursor().shape(), Qt::UpArrowCursor);
    clickOn(control("cmdFermer"));
    finishClosing();
    QVERIFY(about_.isNull());

    QVERIFY(open());
    QCOMPARE(about_->cursor().shape(), Qt::ArrowCursor);
}

void TestAboutWindow::linkOpensItsAddress() {
    QVERIFY(open());
    auto* link = control<QLabel>("Label8");
    QCOMPARE(link->text(), about::kAuthorPage);
    QVERIFY(QUrl(link->text(), QUrl::StrictMode).isValid());

    clickOn(control("Label7")); // the e-mail address: no action
    QVERIFY(opened_.isEmpty());
    clickOn(link);
    clickOn(link);
    finishClosing();
    QCOMPARE(opened_, (QStringList{link->text(), link->text()}));
    QVERIFY(about_ && about_->isVisible());
    QVERIFY(!main_->isVisible());
}

void TestAboutWindow::textsFitTheirLabels() {
    QVERIFY(open());
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("\"DEVIMAX\""));
    QCOMPARE(control<QLabel>("Label3")->text(), QStringLiteral("Ce programme a été réalisé par:"));
    const auto labels = about_->findChildren<QLabel*>(QRegularExpression("^Label\\d$"));
    QCOMPARE(labels.size(), 8);
    for (QLabel* label : labels) {
        const QFontMetrics metrics(label->font());
        QVERIFY2(!label->text().isEmpty(), qPrintable(label->objectName()));
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
        QVERIFY2(metrics.ascent() + metrics.descent() <= label->height(),
                 qPrintable(label->objectName()));
        QVERIFY2(control("Frame1")->rect().contains(label->geometry()),
                 qPrintable(label->objectName()));
    }
    auto* fermer = control<QPushButton>("cmdFermer");
    QVERIFY(fermer->fontMetrics().horizontalAdvance(fermer->text()) < fermer->width() - 4);
}

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
