// The popup menu, the quit command and the close routine, with real rate files.
#include "app/calc_window.h"
#include "platform/fonts.h"
#include "platform/session_end.h"
#include "rates/application_state.h"
#include "rates/data_link.h"
#include "support/app_fixture.h"
#include "support/window_test_case.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>
#include <memory>

using namespace devimax;
using namespace devimax::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The record as the engine reads it back: FFR, USD, DEM.
std::vector<double> storedRates(const QString& path) {
    access::Error error;
    auto database = access::Database::open(path.toStdString(), error);
    if (!database)
        return {};
    auto table = database->readTable("Parametres", error);
    if (!table || table->rows.empty())
        return {};
    std::vector<double> rates;
    for (const auto& value : table->rows[0])
        rates.push_back(value.number);
    return rates;
}

// The file as the project's dump tool prints it.
QString dumpedRow(const QString& path) {
    QProcess tool;
    tool.start(qEnvironmentVariable("DEVIMAX_MDB_TOOL"), {QStringLiteral("dump"), path});
    tool.waitForFinished();
    for (const QString& line : QString::fromUtf8(tool.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("row\t")))
            return line.mid(4);
    }
    return QStringLiteral("<no row>");
}

QStringList itemCaptions(QMenu* menu) {
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

} // namespace

class TestMenuAndQuit : public WindowTestCase {
    Q_OBJECT

    std::unique_ptr<CalcWindow> startedWindow() {
        return test::startedWindow(*cwd_, rateRecord(6.55957, 1.1, 1.95583));
    }
    // What the rate dialog does when a rate is validated.
    static void validateRate(CalcWindow* window, const char* label, const QString& text) {
        window->findChild<rates::BoundLabel*>(QString::fromLatin1(label))->setCaption(text);
    }

private slots:
    void menuTreeAsDesigned() {
        auto window = startedWindow();
        QVERIFY(window);
        QMenu* root = window->programMenu();
        QCOMPARE(root->objectName(), QStringLiteral("cmdProgramme"));
        QCOMPARE(itemCaptions(root),
                 (QStringList{"Monnaie", "-", "Change", "-", "     ?", "-", "Quitter"}));
        QStringList names;
        for (QAction* action : root->actions())
            names << action->objectName();
        QCOMPARE(names, (QStringList{"cmdMonnaie", "cmdBarre1", "cmdTaux", "cmdBarre2", "mnuLog",
                                     "cmdBarre3", "cmdQuitte"}));
        for (const char* submenu : {"cmdMonnaie", "cmdTaux"}) {
            QMenu* menu = root->findChild<QMenu*>(QString::fromLatin1(submenu));
            QVERIFY(menu);
            QCOMPARE(itemCaptions(menu), (QStringList{"Franc", "Dollar", "Mark"}));
        }
        for (QAction* action : root->findChildren<QAction*>())
            QVERIFY2(action->shortcut().isEmpty() && !action->isCheckable(),
                     qPrintable(action->objectName()));
    }

    void menuPopsUpAtThePointerAndLeavesTheFocus() {
        auto window = startedWindow();
        QVERIFY(window);
        auto* menuButton = window->findChild<QPushButton*>("cmdMenu");
        QPoint popupAt;
        QPoint pointerAt;
        bool popped = false;
        QTimer::singleShot(50, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popped = true;
                popupAt = popup->pos();
                pointerAt = QCursor::pos();
                QTest::keyClick(popup, Qt::Key_Escape);
            }
        });
        QTest::mouseClick(menuButton, Qt::LeftButton);
        QVERIFY(popped);
        QCOMPARE(popupAt, pointerAt);
        QCOMPARE(window->focusWidget(), menuButton); // the menu does not park the focus
    }

    void quittingWithoutChangesLeavesTheFileAlone() {
        auto window = startedWindow();
        QVERIFY(window);
        const QByteArray before = fileBytes(rateFile());
        MessageCatcher messages;
        QSignalSpy ended(window.get(), &CalcWindow::programEnded);
        window->findChild<QAction*>("cmdQuitte")->trigger();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(messages.seen.size(), 0);
        QCOMPARE(fileBytes(rateFile()), before);
    }

    void validatedRatesAreWrittenAtTheEnd_data() {
        QTest::addColumn<bool>("byQuit");
        QTest::newRow("quit command") << true;
        QTest::newRow("closing the window") << false;
    }
    void validatedRatesAreWrittenAtTheEnd() {
        QFETCH(bool, byQuit);
        auto window = startedWindow();
        QVERIFY(window);
        validateRate(window.get(), "Label2", QStringLiteral("1,2"));
        validateRate(window.get(), "Label2", QStringLiteral("1,25")); // the second one counts
        // Pending changes survive a reset and a change of direction.
        click(window.get(), "Cancel");
        window->findChild<QCheckBox*>("Check1")->setChecked(true);
        fireTimer(window.get(), "Timer2");
        QCOMPARE(storedRates(rateFile()), (std::vector<double>{6.55957, 1.1, 1.95583}));

        QSignalSpy ended(window.get(), &CalcWindow::programEnded);
        if (byQuit)
            window->quitProgram();
        else
            window->close();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(storedRates(rateFile()), (std::vector<double>{6.55957, 1.25, 1.95583}));
    }

    void failedSaveIsReportedAndTheProgramEnds_data() {
        QTest::addColumn<bool>("byQuit");
        QTest::addColumn<bool>("directoryInItsPlace");
        QTest::addColumn<QString>("start");
        QTest::newRow("quit, file removed")
            << true << false << "E2  Lecture impossible de buro.mdb. 3024 ";
        QTest::newRow("quit, a directory in its place")
            << true << true << "E2  Lecture impossible de buro.mdb. 3051 ";
        QTest::newRow("closing, file removed")
            << false << false
            << QString::fromUtf8("Les taux n'ont pas pu être enregistrés dans buro.mdb. 3024 ");
    }
    void failedSaveIsReportedAndTheProgramEnds() {
        QFETCH(bool, byQuit);
        QFETCH(bool, directoryInItsPlace);
        QFETCH(QString, start);
        auto window = startedWindow();
        QVERIFY(window);
        validateRate(window.get(), "Label1", QStringLiteral("7"));
        QFile::remove(rateFile());
        if (directoryInItsPlace)
            QVERIFY(QDir().mkdir(rateFile()));
        MessageCatcher messages;
        QSignalSpy ended(window.get(), &CalcWindow::programEnded);
        if (byQuit)
            window->quitProgram();
        else
            window->close();
        QCOMPARE(messages.seen.size(), 1);
        QCOMPARE(messages.seen[0].title, QStringLiteral("Erreur"));
        QVERIFY2(messages.seen[0].text.startsWith(start), qPrintable(messages.seen[0].text));
        QVERIFY(messages.seen[0].text.contains("buro.mdb"));
        if (byQuit)
            QVERIFY(!window->findChild<QTimer*>("Timer1")->isActive());
        QCOMPARE(ended.count(), 1);
    }

    void quitWithoutAnOpenStoreStillEnds() {
        MessageCatcher messages; // no buro.mdb: the store reports it when it opens
        CalcWindow window;
        QCOMPARE(messages.seen.size(), 1);
        QSignalSpy ended(&window, &CalcWindow::programEnded);
        window.quitProgram();
        QCOMPARE(messages.seen.size(), 2);
        QVERIFY(messages.seen[1].text.startsWith(
            QStringLiteral("E2  Lecture impossible de buro.mdb. ")));
        QCOMPARE(ended.count(), 1);
        // Closing afterwards does not save a second time.
        window.close();
        QCOMPARE(messages.seen.size(), 2);
    }

    void rateDialogFromTheMenuReachesTheFileAtTheEnd() {
        auto window = startedWindow();
        QVERIFY(window);
        click(window.get(), "Number1");
        click(window.get(), "Number0");
        const QPoint placed = window->pos();
        window->findChild<QAction*>("cmdDolla")->trigger();
        QWidget* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmChange") && top->isVisible())
                dialog = top;
        QVERIFY(dialog);
        QVERIFY(window->isHidden());
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("cmdFocus"));
        QTest::keyClicks(dialog->findChild<QLineEdit*>("Text1"), "1,3");
        QTest::keyClick(dialog->findChild<QLineEdit*>("Text1"), Qt::Key_Return);
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(window->pos(), placed);
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("10,")); // no reset
        QCOMPARE(appState().rateUSD, QStringLiteral("1,3"));

        window->chooseCurrency(2);
        fireTimer(window.get(), "Timer2");
        click(window.get(), "Number2");
        fireTimer(window.get(), "Timer1");
        QCOMPARE(caption(window.get(), "ReadOut2"), QStringLiteral("2,6"));

        QCOMPARE(dumpedRow(rateFile()), QStringLiteral("6.55957\t1.1\t1.95583"));
        window->quitProgram();
        QCOMPARE(dumpedRow(rateFile()), QStringLiteral("6.55957\t1.3\t1.95583"));
    }

    void aboutWindowFromTheMenu() {
        auto window = startedWindow();
        QVERIFY(window);
        click(window.get(), "Number7");
        const QPoint placed = window->pos();
        window->findChild<QAction*>("mnuLog")->trigger();
        QVERIFY(window->isHidden());
        QWidget* about = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmLog") && top->isVisible())
                about = top;
        QVERIFY(about);
        click(about, "cmdFermer");
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(window->pos(), placed);
        QCOMPARE(caption(window.get(), "Readout"), QStringLiteral("7,"));
    }

    void sessionEndClosesTheWindowAndSaves() {
        auto window = startedWindow();
        QVERIFY(window);
        validateRate(window.get(), "Label3", QStringLiteral("2"));
        QSignalSpy ended(window.get(), &CalcWindow::programEnded);
        platform::closeWindowWhenSessionEnds(window.get());
        QCOMPARE(::raise(SIGTERM), 0); // as the desktop does at log-off
        QTRY_COMPARE(ended.count(), 1);
        QVERIFY(!window->isVisible());
        QCOMPARE(storedRates(rateFile()), (std::vector<double>{6.55957, 1.1, 2}));
    }

    void twoRecordsUseTheFirst() {
        writeRateFile(rateFile(),
                      rateTable({{access::Value::fromDouble(2), access::Value::fromDouble(3),
                                  access::Value::fromDouble(4)},
                                 {access::Value::fromDouble(5), access::Value::fromDouble(6),
                                  access::Value::fromDouble(7)}}));
        CalcWindow window;
        fireTimer(&window, "Timer2");
        QCOMPARE(appState().rateUSD, QStringLiteral("3"));
        validateRate(&window, "Label3", QStringLiteral("4,5"));
        window.quitProgram();
        access::Error error;
        auto table =
            access::Database::open(rateFile().toStdString(), error)->readTable("Parametres", error);
        QVERIFY(table);
        QCOMPARE(table->rows[0][2].number, 4.5);
        QCOMPARE(table->rows[1][2].number, 7.0);
        QCOMPARE(window.findChild<rates::DataLink*>("Data1")->position(), 0);
    }
};

QTEST_MAIN(TestMenuAndQuit)
#include "test_menu_and_quit.moc"
