// The calculator window as a user meets it: layout, start-up completion, keypad,
// operators and the clear-all reset, driven through its real controls.
#include "app/calc_window.h"
#include "platform/fonts.h"
#include "rates/application_state.h"
#include "support/app_fixture.h"
#include "support/window_test_case.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QScreen>
#include <QtTest>
#include <memory>

using namespace devimax;
using namespace devimax::test;

class TestCalcWindow : public WindowTestCase {
    Q_OBJECT

    // A window started in a folder whose buro.mdb holds the given franc rate.
    std::unique_ptr<CalcWindow> startedWindow(double franc = 2.5) {
        return test::startedWindow(*cwd_, rateRecord(franc, 1.5, 2));
    }

    void press(QWidget* window, const QString& keys) {
        for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            static const QHash<QString, QString> names = {
                {"/", "Operator0"}, {"+", "Operator1"}, {"X", "Operator2"}, {"-", "Operator3"},
                {"=", "Operator4"}, {".", "Decimal"},   {"C", "Cancel"},    {"Ce", "CancelEntry"}};
            click(window, names.value(key, QStringLiteral("Number") + key));
            // The window's own focus: after a message box it may not be active yet.
            QCOMPARE(window->focusWidget(), window->findChild<QWidget*>("cmdFocus"));
        }
    }

private slots:
    void controlsStandWhereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        const struct {
            const char* name;
            QRect rect;
        } rows[] = {
            {"Number7", {4, 4, 21, 21}},       {"Number8", {28, 4, 21, 21}},
            {"Number9", {52, 4, 21, 21}},      {"Cancel", {76, 4, 21, 21}},
            {"CancelEntry", {100, 4, 21, 21}}, {"Number4", {4, 28, 21, 21}},
            {"Number5", {28, 28, 21, 21}},     {"Number6", {52, 28, 21, 21}},
            {"Operator1", {76, 28, 21, 21}},   {"Operator3", {100, 28, 21, 21}},
            {"Number1", {4, 52, 21, 21}},      {"Number2", {28, 52, 21, 21}},
            {"Number3", {52, 52, 21, 21}},     {"Operator2", {76, 52, 21, 21}},
            {"Operator0", {100, 52, 21, 21}},  {"Number0", {4, 76, 45, 21}},
            {"Decimal", {52, 76, 21, 21}},     {"Operator4", {76, 76, 45, 21}},
            {"Readout", {8, 104, 109, 17}},    {"lbl1", {88, 120, 33, 13}},
            {"Check1", {56, 124, 13, 17}},     {"lbl2", {4, 132, 33, 13}},
            {"ReadOut2", {8, 144, 109, 17}},   {"Image19", {4, 164, 32, 32}},
            {"cmdMenu", {40, 168, 45, 21}},    {"Image20", {92, 164, 32, 32}},
            {"Image21", {92, 164, 32, 32}},    {"Image22", {92, 164, 32, 32}},
            {"cmdFocus", {156, 180, 57, 21}},  {"Label1", {152, 36, 69, 17}},
            {"Label2", {152, 52, 69, 17}},     {"Label3", {152, 68, 69, 17}},
            {"Dir1", {144, 88, 81, 20}},       {"Drive1", {144, 112, 81, 24}},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.rect;
    }
    void controlsStandWhereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        MessageCatcher messages; // no rate file here: the store reports it
        CalcWindow window;
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), rect);
        // The hidden controls lie entirely right of the 124-pixel client area.
        const bool hidden =
            QStringList{"cmdFocus", "Label1", "Label2", "Label3", "Dir1", "Drive1"}.contains(name);
        QCOMPARE(control->geometry().left() >= window.width(), hidden);
    }

    void windowBeforeStartupCompletes() {
        MessageCatcher messages;
        CalcWindow window;
        QCOMPARE(window.size(), QSize(124, 193));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window.windowTitle().trimmed().isEmpty());
        QVERIFY(!window.windowTitle().isEmpty()); // an empty title would show the program name
        QCOMPARE(caption(&window, "Readout"), QStringLiteral("0."));
        QCOMPARE(caption(&window, "ReadOut2"), QStringLiteral("0,"));
        QCOMPARE(caption(&window, "lbl1"), QStringLiteral("Dollar"));
        QCOMPARE(caption(&window, "lbl2"), QStringLiteral("Euro"));
        QVERIFY(!window.findChild<QCheckBox*>("Check1")->isChecked());
        for (const char* shown : {"Image19", "Image22"})
            QVERIFY(!window.findChild<QWidget*>(shown)->isHidden());
        for (const char* hidden : {"Image20", "Image21"})
            QVERIFY(window.findChild<QWidget*>(hidden)->isHidden());
        for (const char* name : {"Dir1", "Drive1"})
            QCOMPARE(window.findChild<QWidget*>(name)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(window.findChild<QTimer*>("Timer2")->interval(), 200);
        QVERIFY(window.findChild<QTimer*>("Timer2")->isActive());
        QVERIFY(!window.findChild<QTimer*>("Timer1")->isActive());

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(QApplication::focusWidget(), window.findChild<QWidget*>("cmdFocus"));
        // Enter and Space on the parked focus do nothing.
        QTest::keyClick(&window, Qt::Key_Return);
        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(caption(&window, "Readout"), QStringLiteral("0."));
    }

    void tabCyclesThroughTheKeysInOrder() {
        MessageCatcher messages;
        CalcWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList visited;
        for (int i = 0; i < 21; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited.join(' '),
                 QStringLiteral("cmdFocus Number0 Number1 Number2 Number3 Number4 Number5 Number6 "
                                "Number7 Number8 Number9 Cancel CancelEntry Operator1 Operator3 "
                                "Operator2 Operator0 Operator4 Decimal Check1 cmdMenu"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdFocus"));
    }

    void startupCompletionAppliesTheFranc() {
        auto window = startedWindow(2.5);
        QVERIFY(window);
        QCOMPARE(window->displayCurrency(), 1);
        QCOMPARE(caption(window.get(), "lbl1"), QStringLiteral("Euro"));
        QCOMPARE(caption(window.get(), "lbl2"), QStringLiteral("Franc"));
        QVERIFY(!window->findChild<QAction*>("cmdFranc")->isEnabled());
        QVERIFY(window->findChild<QAction*>("cmdDollar")->isEnabled());
        QVERIFY(window->findChild<QAction*>("cmdMark")->isEnabled());
        QVERIFY(!window->findChild<QWidget*>("Image20")->isHidden());
        QVERIFY(window->findChild<QWidget*>("Image21")->isHidden());
        QVERIFY(window->findChild<QWidget*>("Image22")->isHidden());
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0"));
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("0"));
        QCOMPARE(appState().rateFFR, QStringLiteral("2,5"));
        QVERIFY(!window->findChild<QTimer*>("Timer2")->isActive());
        QCOMPARE(window->findChild<QTimer*>("Timer1")->interval(), 100);
        QVERIFY(window->findChild<QTimer*>("Timer1")->isActive());
    }

    void unusableRateIsReportedAtStartup_data() {
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<double>("franc");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no rate file") << false << 0.0 << QStringList{"Erreur numéro 13 ."};
        QTest::newRow("zero rate") << true << 0.0 << QStringList{"Erreur numéro 11 ."};
    }
    void unusableRateIsReportedAtStartup() {
        QFETCH(bool, withFile);
        QFETCH(double, franc);
        QFETCH(QStringList, expected);
        if (withFile)
            writeRateFile(cwd_->file("buro.mdb"), rateTable({{access::Value::fromDouble(franc),
                                                              access::Value::fromDouble(1),
                                                              access::Value::fromDouble(1)}}));
        MessageCatcher messages;
        CalcWindow window;
        const int fromStore = messages.seen.size();
        QCOMPARE(fromStore, withFile ? 0 : 1);
        if (!withFile)
            QVERIFY(messages.seen[0].text.contains("buro.mdb"));
        fireTimer(&window, "Timer2");
        QStringList texts;
        for (qsizetype i = fromStore; i < messages.seen.size(); ++i) {
            QCOMPARE(messages.seen[i].title, QStringLiteral("Erreur"));
            texts << messages.seen[i].text;
        }
        QCOMPARE(texts, expected);
        // The completion goes on after the message.
        QCOMPARE(caption(&window, "lbl2"), QStringLiteral("Franc"));
        QCOMPARE(caption(&window, "Readout"), QStringLiteral("0"));
        QVERIFY(!window.findChild<QTimer*>("Timer2")->isActive());
    }

    void keySequences_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        const struct {
            const char* name;
            const char* keys;
            const char* french;
        } rows[] = {
            {"entry worked sequence", "1 2 . 5 Ce 0 7", "07,"},
            {"fraction being typed", "1 2 . 5", "12,5"},
            {"first digit after start-up", "7", "7,"},
            {"decimal twice", ". . 5", "0,5"},
            {"operators worked sequence", "1 2 + 3 X - 2 =", "-30"},
            {"left to right", "2 + 3 X 4 =", "20"},
            {"sign at start-up", "- 4", "-4,"},
            {"sign then decimal", "- .", "-0,"},
            {"equals twice", "2 + 3 = =", "5"},
            {"result replaced by the next number", "2 + 3 = 7 + 1 =", "8"},
            {"result continued", "2 + 3 = + 1 =", "6"},
            {"operator before any number", "+ 5 =", "5,"},
            {"clear entry drops the operand", "5 + 3 Ce =", "0,"},
            {"subtracting after equals", "5 + 3 = - 1 =", "7"},
            {"one third", "1 / 3 =", "0,333333333333333"},
        };
        for (const auto& row : rows) {
            const QString french = QString::fromUtf8(row.french);
            QTest::newRow(qPrintable(QStringLiteral("fr: ") + row.name))
                << false << QString::fromLatin1(row.keys) << french;
            QTest::newRow(qPrintable(QStringLiteral("en: ") + row.name))
                << true << QString::fromLatin1(row.keys) << QString(french).replace(',', '.');
        }
    }
    void keySequences() {
        QFETCH(bool, english);
        QFETCH(QString, keys);
        QFETCH(QString, display);
        if (english)
            setLocale(QLocale::English, QLocale::UnitedKingdom);
        auto window = startedWindow();
        QVERIFY(window);
        press(window.get(), keys);
        QCOMPARE(caption(window.get(), "Readout"), display);
    }

    void divisionByZeroShowsTheDividend() {
        auto window = startedWindow();
        QVERIFY(window);
        MessageCatcher messages;
        QString shownWhileOpen;
        messages.whileOpen = [&] { shownWhileOpen = caption(window.get(), "Readout"); };
        press(window.get(), "8 / 0 =");
        QCOMPARE(messages.seen.size(), 1);
        QCOMPARE(messages.seen[0].title, QStringLiteral("Erreur"));
        QCOMPARE(messages.seen[0].text, QStringLiteral("Division par zero?"));
        QCOMPARE(shownWhileOpen, QStringLiteral("0,"));
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("8,"));
        QCOMPARE(window->calculator().pendingOperator, std::string("="));
    }

    void operandThatIsNotANumberIsRefused() {
        auto window = startedWindow();
        QVERIFY(window);
        MessageCatcher messages;
        press(window.get(), "5 + - + 3 =");
        QCOMPARE(messages.seen.size(), 1);
        QCOMPARE(messages.seen[0].title, QStringLiteral("Erreur"));
        // The calculator goes on: a new calculation works.
        press(window.get(), "2 + 2 =");
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("4"));
    }

    void clearAllResetsThroughTheStartupRoutines() {
        auto window = startedWindow();
        QVERIFY(window);
        const QPoint placed(10, 20);
        window->move(placed);
        const QPoint before = window->pos();
        press(window.get(), "1 2 +");
        appState().rateFFR = QStringLiteral("3"); // as set by the rate dialog
        press(window.get(), "C");
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0,"));
        QVERIFY(window->calculator().firstOperand.kind == calc::ValueSlot::Kind::IntegerZero);
        QVERIFY(window->findChild<QTimer*>("Timer2")->isActive());
        press(window.get(), "4"); // typed before the completion: replaced by it
        fireTimer(window.get(), "Timer2");
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0"));
        QCOMPARE(window->calculator().entryState, std::string("NONE"));
        QCOMPARE(window->calculator().operandCount, 0);
        QCOMPARE(appState().rateFFR, QStringLiteral("3")); // not copied again
        QCOMPARE(window->pos(), before);                   // a reset never moves the window
        QVERIFY(!window->findChild<QTimer*>("Timer2")->isActive());
    }

    void firstLoadCentresTheWindow() {
        MessageCatcher messages;
        CalcWindow window;
        const QRect screen = window.screen()->geometry();
        QCOMPARE(window.frameGeometry().center().x(), screen.center().x());
        QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 1);
    }
};

QTEST_MAIN(TestCalcWindow)
#include "test_calc_window.moc"
