// The second display and the choice of currency and direction, on the real window.
#include "app/calc_window.h"
#include "platform/fonts.h"
#include "rates/application_state.h"
#include "support/app_fixture.h"
#include "support/window_test_case.h"

#include <QAction>
#include <QCheckBox>
#include <QtTest>
#include <memory>

using namespace devimax;
using namespace devimax::test;

class TestCurrencyDirection : public WindowTestCase {
    Q_OBJECT

    std::unique_ptr<CalcWindow> startedWindow(std::vector<access::Value> record) {
        return test::startedWindow(*cwd_, std::move(record));
    }
    std::unique_ptr<CalcWindow> startedWindow() { return startedWindow(rateRecord(2.5, 1.5, 2)); }
    static void type(QWidget* window, const char* digits) {
        for (const char* c = digits; *c; ++c)
            click(window,
                  *c == ',' ? QStringLiteral("Decimal") : QStringLiteral("Number%1").arg(*c));
    }
    static bool timerRunning(QWidget* window, const char* name) {
        return window->findChild<QTimer*>(QString::fromLatin1(name))->isActive();
    }

private slots:
    void secondDisplayFollowsTyping_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("converted");
        QTest::newRow("fr euros to francs") << false << false << "100"
                                            << "250";
        QTest::newRow("fr francs to euros") << false << true << "100"
                                            << "40";
        QTest::newRow("fr fraction") << false << false << "123"
                                     << "307,5";
        QTest::newRow("en fraction") << true << false << "123"
                                     << "307.5";
        QTest::newRow("en francs to euros") << true << true << "1"
                                            << "0.4";
    }
    void secondDisplayFollowsTyping() {
        QFETCH(bool, english);
        QFETCH(bool, reversed);
        QFETCH(QString, typed);
        QFETCH(QString, converted);
        if (english)
            setLocale(QLocale::English, QLocale::UnitedKingdom);
        auto window = startedWindow();
        QVERIFY(window);
        if (reversed) {
            window->findChild<QCheckBox*>("Check1")->setChecked(true);
            fireTimer(window.get(), "Timer2");
        }
        type(window.get(), typed.toLatin1().constData());
        fireTimer(window.get(), "Timer1");
        QCOMPARE(caption(window.get(), "ReadOut2"), converted);
        // A minus sign waiting for its number is never exchanged.
        click(window.get(), "Operator1");
        click(window.get(), "Operator3");
        fireTimer(window.get(), "Timer1");
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("0,"));
    }

    void failedTickStopsUntilTheNextReset() {
        // The dollar rate is missing from the file.
        auto window = startedWindow(
            {access::Value::fromDouble(2.5), access::Value::null(), access::Value::fromDouble(2)});
        QVERIFY(window);
        MessageCatcher messages;
        bool timerStoppedWhileOpen = false;
        messages.whileOpen = [&] { timerStoppedWhileOpen = !timerRunning(window.get(), "Timer1"); };
        window->chooseCurrency(2);
        fireTimer(window.get(), "Timer2"); // start-up check: "Erreur numéro 13 ."
        QCOMPARE(messages.seen.size(), 1);
        QCOMPARE(messages.seen[0].text, QStringLiteral("Erreur numéro 13 ."));
        type(window.get(), "12");
        fireTimer(window.get(), "Timer1");
        QCOMPARE(messages.seen.size(), 2);
        QCOMPARE(messages.seen[1].title, QStringLiteral("Erreur"));
        QCOMPARE(messages.seen[1].text,
                 QStringLiteral("E1  Lecture impossible de buro.mdb. 13 Type incompatible"));
        QVERIFY(timerStoppedWhileOpen);
        QVERIFY(!timerRunning(window.get(), "Timer1"));
        const QString frozen = caption(window.get(), "ReadOut2");
        type(window.get(), "3");
        QTest::qWait(250); // no tick runs: the second display stays as it was
        QCOMPARE(caption(window.get(), "ReadOut2"), frozen);
        QCOMPARE(messages.seen.size(), 2);

        appState().rateUSD = QStringLiteral("1,5"); // a valid rate arrives
        click(window.get(), "Cancel");
        fireTimer(window.get(), "Timer2");
        QVERIFY(timerRunning(window.get(), "Timer1"));
        type(window.get(), "2");
        fireTimer(window.get(), "Timer1");
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("3"));
    }

    void ticksWithNothingNewDoNotRepaint() {
        auto window = startedWindow();
        QVERIFY(window);
        type(window.get(), "100");
        fireTimer(window.get(), "Timer1");
        QApplication::processEvents();
        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        auto* second = window->findChild<QLabel*>("ReadOut2");
        second->installEventFilter(&counter);
        for (int i = 0; i < 5; ++i) {
            fireTimer(window.get(), "Timer1");
            QApplication::processEvents();
        }
        QCOMPARE(counter.paints, 0);
        type(window.get(), "0"); // a new amount repaints once it is shown
        fireTimer(window.get(), "Timer1");
        QTRY_VERIFY(counter.paints > 0);
    }

    void newWorkingRateShowsAtTheNextTick() {
        auto window = startedWindow();
        QVERIFY(window);
        type(window.get(), "10");
        appState().rateFFR = QStringLiteral("6,55957");
        fireTimer(window.get(), "Timer1");
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("65,5957"));
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("10,")); // no reset
    }

    void currencyAndDirectionChanges_data() {
        QTest::addColumn<int>("currency");
        QTest::addColumn<bool>("tickedBefore");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("flag");
        QTest::newRow("dollar, box clear") << 2 << false << "Dollar"
                                           << "Image21";
        QTest::newRow("dollar, box ticked") << 2 << true << "Dollar"
                                            << "Image21";
        QTest::newRow("mark, box ticked") << 3 << true << "Mark"
                                          << "Image22";
        QTest::newRow("franc again") << 1 << false << "Franc"
                                     << "Image20";
    }
    void currencyAndDirectionChanges() {
        QFETCH(int, currency);
        QFETCH(bool, tickedBefore);
        QFETCH(QString, word);
        QFETCH(QString, flag);
        auto window = startedWindow();
        QVERIFY(window);
        auto* check = window->findChild<QCheckBox*>("Check1");
        if (tickedBefore) {
            check->setChecked(true);
            QCOMPARE(caption(window.get(), "lbl1"), QStringLiteral("Franc"));
            QCOMPARE(caption(window.get(), "lbl2"), QStringLiteral("Euro"));
            fireTimer(window.get(), "Timer2");
            QCOMPARE(caption(window.get(), "lbl1"), QStringLiteral("Franc")); // kept by the reset
        }
        window->move(30, 40);
        const QPoint placed = window->pos();
        type(window.get(), "5");
        click(window.get(), "Operator1");
        window->chooseCurrency(currency);

        QVERIFY(!check->isChecked());
        QCOMPARE(caption(window.get(), "lbl1"), QStringLiteral("Euro"));
        QCOMPARE(caption(window.get(), "lbl2"), word);
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0,"));
        QVERIFY(window->calculator().firstOperand.kind == calc::ValueSlot::Kind::IntegerZero);
        const char* items[] = {"cmdFranc", "cmdDollar", "cmdMark"};
        const char* flags[] = {"Image20", "Image21", "Image22"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(window->findChild<QAction*>(items[i])->isEnabled(), i + 1 != currency);
            QCOMPARE(window->findChild<QWidget*>(flags[i])->isHidden(), flag != flags[i]);
        }
        QVERIFY(!window->findChild<QWidget*>("Image19")->isHidden());
        fireTimer(window.get(), "Timer2");
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0"));
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("0"));
        QCOMPARE(window->calculator().operandCount, 0);
        QCOMPARE(window->pos(), placed);
    }

    void tickingTheBoxSwapsTheDirection() {
        auto window = startedWindow();
        QVERIFY(window);
        type(window.get(), "100");
        auto* check = window->findChild<QCheckBox*>("Check1");
        QTest::mouseClick(check, Qt::LeftButton, {}, check->rect().center());
        QVERIFY(check->isChecked());
        QCOMPARE(caption(window.get(), "lbl1"), QStringLiteral("Franc"));
        QCOMPARE(caption(window.get(), "lbl2"), QStringLiteral("Euro"));
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0,"));
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("0"));
        fireTimer(window.get(), "Timer2");
        type(window.get(), "100");
        fireTimer(window.get(), "Timer1");
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("40"));
        QTest::mouseClick(check, Qt::LeftButton, {}, check->rect().center());
        QCOMPARE(caption(window.get(), "lbl1"), QStringLiteral("Euro"));
        QCOMPARE(caption(window.get(), "lbl2"), QStringLiteral("Franc"));
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0,"));
    }
};

QTEST_MAIN(TestCurrencyDirection)
#include "test_currency_direction.moc"
