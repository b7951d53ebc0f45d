// The keyboard and the clipboard act exactly as clicks on the keys.
#include "app/calc_window.h"
#include "platform/fonts.h"
#include "rates/application_state.h"
#include "support/app_fixture.h"
#include "support/window_test_case.h"

#include <QClipboard>
#include <QtTest>
#include <memory>

using namespace devimax;
using namespace devimax::test;

class TestKeyboard : public WindowTestCase {
    Q_OBJECT

    std::unique_ptr<CalcWindow> startedWindow() {
        return test::startedWindow(*cwd_, rateRecord(2.5, 1.5, 2));
    }

private slots:
    void typedCharactersClickTheKeys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("display");
        QTest::newRow("digits and comma") << "12,5"
                                          << "12,5";
        QTest::newRow("full stop is the decimal key too") << "12.5"
                                                          << "12,5";
        QTest::newRow("operators") << "2+3*4="
                                   << "20";
        QTest::newRow("x multiplies") << "3x4="
                                      << "12";
        QTest::newRow("division and sign") << "8/-2="
                                           << "-4";
        QTest::newRow("letters do nothing") << "1a2"
                                            << "12,";
    }
    void typedCharactersClickTheKeys() {
        QFETCH(QString, typed);
        QFETCH(QString, display);
        auto window = startedWindow();
        QVERIFY(window);
        QTest::keyClicks(window->focusWidget(), typed);
        QCOMPARE(caption(window.get(), "Readout"), display);
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("cmdFocus"));
    }

    void escapeClearsAllAndDeleteClearsTheEntry() {
        auto window = startedWindow();
        QVERIFY(window);
        QTest::keyClicks(window->focusWidget(), "5+3");
        QTest::keyClick(window->focusWidget(), Qt::Key_Delete);
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("0,"));
        QCOMPARE(window->calculator().operandCount, 1); // the pending 5 + stays
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
        QVERIFY(window->findChild<QTimer*>("Timer2")->isActive()); // the reset is under way
        QVERIFY(window->calculator().firstOperand.kind == calc::ValueSlot::Kind::IntegerZero);
    }

    void clipboardCarriesAmounts_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("display");
        QTest::newRow("an amount") << "42,5"
                                   << "42,5";
        QTest::newRow("with blanks around") << " 7 "
                                            << "7,";
        QTest::newRow("two separators") << "1,2,3"
                                        << "0";
        QTest::newRow("the other separator") << "1.5"
                                             << "0";
        QTest::newRow("text") << "douze"
                              << "0";
        QTest::newRow("negative") << "-3"
                                  << "0";
    }
    void clipboardCarriesAmounts() {
        QFETCH(QString, clipboard);
        QFETCH(QString, display);
        auto window = startedWindow();
        QVERIFY(window);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(window->focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(caption(window.get(), "Readout"), display);

        fireTimer(window.get(), "Timer1");
        QTest::keyClick(window->focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), caption(window.get(), "ReadOut2"));
        QTest::keyClick(window->focusWidget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), display);
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
