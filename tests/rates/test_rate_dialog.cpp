// The rate dialog frmChange, driven through its real controls.
#include "platform/fonts.h"
#include "rates/application_state.h"
#include "rates/data_link.h"
#include "rates/rate_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace devimax;
using devimax::rates::BoundLabel;
using devimax::rates::RateDialog;

namespace {

const QString kFilterMessage =
    QStringLiteral("Vous devez entrer une valeur numérique sous la forme '' 2,458 ''.");
const QString kEmptyMessage = QStringLiteral("Vous devez saisir une valeur supérieure à 0.");

struct Message {
    QString title;
    QString text;
    QString entryAtMessage; // Text1 while the box was up
};

// Closes every modal message box as it appears, after noting its title, its text and
// what the entry box held at that moment.
class MessageCatcher {
public:
    explicit MessageCatcher(std::function<QString()> entry) : entry_(std::move(entry)) { arm(); }
    ~MessageCatcher() { *alive_ = false; }
    const QList<Message>& messages() const { return messages_; }

private:
    void arm() {
        std::weak_ptr<bool> alive = alive_;
        QTimer::singleShot(5, [this, alive] {
            if (alive.expired() || !*alive.lock())
                return;
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages_.append({box->windowTitle(), box->text(), entry_()});
                box->button(QMessageBox::Ok)->click();
            }
            arm();
        });
    }

    std::function<QString()> entry_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QList<Message> messages_;
};

} // namespace

class TestRateDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void entryFilter_data();
    void entryFilter();
    void backspacingExamineOnlyTheLastCharacter();
    void validation_data();
    void validation();
    void enterKey_data();
    void enterKey();
    void escapeDoesNothing();
    void cancelChangesNothing();
    void loading_data();
    void loading();
    void oldValueIsTheWorkingCopyInForce();
    void entryIsEmptyAtEachOpening();
    void layout();
    void focusOrder();

private:
    RateDialog* open(int index, const QString& name);
    QLineEdit* text1() const { return dialog_->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    QPushButton* button(const char* name) const {
        return dialog_->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(text1(), Qt::Key_V, Qt::ControlModifier);
    }
    void finishClosing() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    std::unique_ptr<MessageCatcher> catchMessages() {
        return std::make_unique<MessageCatcher>(
            [this] { return dialog_ && text1() ? text1()->text() : QStringLiteral("<none>"); });
    }

    std::unique_ptr<MessageCatcher> catcher_; // runs through every test: no box can hang one
    std::unique_ptr<QWidget> main_;
    rates::DataLink* link_ = nullptr;
    std::array<BoundLabel*, 3> labels_{};
    QPointer<RateDialog> dialog_;
    const QRect mainGeometry_{300, 200, 240, 320};
};

void TestRateDialog::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    platform::installFontSubstitutions();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestRateDialog::init() {
    resetApplicationState();
    appState().rateFFR = QStringLiteral("6,55957");
    appState().rateUSD = QStringLiteral("1,2");
    appState().rateDEM = QStringLiteral("1,95583");

    main_ = std::make_unique<QWidget>();
    main_->setObjectName(QStringLiteral("frmCalc"));
    main_->setGeometry(mainGeometry_);
    link_ = new rates::DataLink(main_.get());
    const QStringList fields{QStringLiteral("FFR"), QStringLiteral("USD"), QStringLiteral("DEM")};
    const QStringList values{appState().rateFFR, appState().rateUSD, appState().rateDEM};
    for (int i = 0; i < 3; ++i) {
        labels_[i] = new BoundLabel(link_, fields[i], main_.get());
        labels_[i]->setText(values[i]);
    }
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    catcher_ = catchMessages();
}

void TestRateDialog::cleanup() {
    catcher_.reset();
    delete dialog_;
    main_.reset();
}

RateDialog* TestRateDialog::open(int index, const QString& name) {
    dialog_ = rates::openRateDialog(main_.get(), labels_, index, name);
    if (!QTest::qWaitForWindowExposed(dialog_))
        return nullptr;
    return dialog_;
}

// Each row: what is typed, then pasted, then typed after moving the caret to the start.
void TestRateDialog::entryFilter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("typedAtStart");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("message");

    QTest::newRow("digits and comma") << "2,458"
                                      << ""
                                      << ""
                                      << "2,458" << false;
    QTest::newRow("full stop") << "2."
                               << ""
                               << ""
                               << "" << true;
    QTest::newRow("blank") << "2 "
                           << ""
                           << ""
                           << "" << true;
    QTest::newRow("letter") << "2a"
                            << ""
                            << ""
                            << "" << true;
    QTest::newRow("minus") << "2-"
                           << ""
                           << ""
                           << "" << true;
    QTest::newRow("first key a letter") << "e"
                                        << ""
                                        << ""
                                        << "" << true;
    QTest::newRow("paste ending in a letter") << ""
                                              << "12a"
                                              << ""
                                              << "" << true;
    QTest::newRow("paste ending in a digit") << ""
                                             << "a12"
                                             << ""
                                             << "a12" << false;
    QTest::newRow("letter typed at the start") << "2,5"
                                               << ""
                                               << "x"
                                               << "x2,5" << false;
}

void TestRateDialog::entryFilter() {
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, typedAtStart);
    QFETCH(QString, expected);
    QFETCH(bool, message);

    QVERIFY(open(2, QStringLiteral("Dollar")));
    QTest::keyClicks(text1(), typed);
    if (!pasted.isEmpty())
        paste(pasted);
    if (!typedAtStart.isEmpty()) {
        QTest::keyClick(text1(), Qt::Key_Home);
        QTest::keyClicks(text1(), typedAtStart);
    }

    QCOMPARE(text1()->text(), expected);
    QCOMPARE(catcher_->messages().size(), message ? 1 : 0);
    if (message) {
        const Message& shown = catcher_->messages().first();
        QCOMPARE(shown.title, QStringLiteral("ATTENTION"));
        QCOMPARE(shown.text, kFilterMessage);
        QCOMPARE(shown.entryAtMessage, QString()); // emptied before the message
    }
    QVERIFY(dialog_->isVisible());
    QCOMPARE(appState().rateUSD, QStringLiteral("1,2"));
}

void TestRateDialog::backspacingExamineOnlyTheLastCharacter() {
    QVERIFY(open(1, QStringLiteral("Franc")));
    QTest::keyClicks(text1(), QStringLiteral("2,5"));
    QTest::keyClick(text1(), Qt::Key_Home);
    QTest::keyClick(text1(), Qt::Key_X);
    QTest::keyClick(text1(), Qt::Key_End);

    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(text1(), Qt::Key_Backspace);
        seen << text1()->text();
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("x2,"), QStringLiteral("x2"), QString()}));
    QCOMPARE(catcher_->messages().size(), 1);
    QCOMPARE(catcher_->messages().first().text, kFilterMessage);
}

void TestRateDialog::validation_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("franc 2,458") << 1 << "Franc"
                                 << "2,458" << true;
    QTest::newRow("dollar 0,5") << 2 << "Dollar"
                                << "0,5" << true;
    QTest::newRow("mark 1,95583") << 3 << "Mark"
                                  << "1,95583" << true;
    QTest::newRow("dollar trailing comma") << 2 << "Dollar"
                                           << "3," << true;
    QTest::newRow("empty") << 2 << "Dollar"
                           << "" << false;
    QTest::newRow("lone comma") << 2 << "Dollar"
                                << "," << false;
    QTest::newRow("zero") << 1 << "Franc"
                          << "0" << false;
    QTest::newRow("double zero") << 3 << "Mark"
                                 << "00" << false;
    QTest::newRow("zero with decimals") << 3 << "Mark"
                                        << "0,000" << false;
    QTest::newRow("two commas") << 2 << "Dollar"
                                << "1,,5" << false;
    QTest::newRow("letter first") << 1 << "Franc"
                                  << "a12" << false;
    QTest::newRow("letter typed at the start") << 3 << "Mark"
                                               << "x2,5" << false;
}

void TestRateDialog::validation() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QFETCH(bool, accepted);

    const QStringList before{appState().rateFFR, appState().rateUSD, appState().rateDEM};
    QVERIFY(open(index, name));
    paste(entry);
    QCOMPARE(text1()->text(), entry);

    QTest::mouseClick(button("cmdValide"), Qt::LeftButton);
    finishClosing();

    QStringList expected = before;
    if (accepted)
        expected[index - 1] = entry;
    QCOMPARE((QStringList{appState().rateFFR, appState().rateUSD, appState().rateDEM}), expected);
    QCOMPARE((QStringList{labels_[0]->text(), labels_[1]->text(), labels_[2]->text()}), expected);

    if (accepted) {
        QVERIFY(catcher_->messages().isEmpty());
        QVERIFY(dialog_.isNull());
        QVERIFY(main_->isVisible());
        QCOMPARE(main_->geometry(), mainGeometry_);
    } else {
        QCOMPARE(catcher_->messages().size(), 1);
        QCOMPARE(catcher_->messages().first().title, QStringLiteral("ATTENTION"));
        QCOMPARE(catcher_->messages().first().text, kEmptyMessage);
        QVERIFY(dialog_ && dialog_->isVisible());
        QCOMPARE(text1()->text(), entry);
        QVERIFY(!main_->isVisible());
    }
}

// Enter clicks the focused push button, else the default button cmdFocus, which
// validates.
void TestRateDialog::enterKey_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("rateAfter");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("messages");

    QTest::newRow("in Text1") << "Text1"
                              << "1,1"
                              << "1,1" << true << 0;
    QTest::newRow("in Text1, empty") << "Text1"
                                     << ""
                                     << "1,2" << false << 1;
    QTest::newRow("in Text1, zero") << "Text1"
                                    << "0"
                                    << "1,2" << false << 1;
    QTest::newRow("on Annuler") << "cmdAnnuler"
                                << "1,1"
                                << "1,2" << true << 0;
    QTest::newRow("on Valider") << "cmdValide"
                                << "1,1"
                                << "1,1" << true << 0;
}

void TestRateDialog::enterKey() {
    QFETCH(QString, focus);
    QFETCH(QString, entry);
    QFETCH(QString, rateAfter);
    QFETCH(bool, closed);
    QFETCH(int, messages);

    QVERIFY(open(2, QStringLiteral("Dollar")));
    QTest::keyClicks(text1(), entry);
    auto* target = dialog_->findChild<QWidget*>(focus);
    QVERIFY(target);
    target->setFocus();
    QCOMPARE(dialog_->focusWidget(), target);

    QTest::keyClick(target, Qt::Key_Return);
    finishClosing();

    QCOMPARE(appState().rateUSD, rateAfter);
    QCOMPARE(labels_[1]->text(), rateAfter);
    QCOMPARE(dialog_.isNull(), closed);
    QCOMPARE(main_->isVisible(), closed);
    QCOMPARE(catcher_->messages().size(), messages);
    if (messages > 0)
        QCOMPARE(catcher_->messages().first().text, kEmptyMessage);
}

void TestRateDialog::escapeDoesNothing() {
    QVERIFY(open(3, QStringLiteral("Mark")));
    QTest::keyClicks(text1(), QStringLiteral("2,1"));
    QTest::keyClick(text1(), Qt::Key_Escape);
    QTest::keyClick(dialog_, Qt::Key_Escape);
    QTest::qWait(20);
    finishClosing();

    QVERIFY(dialog_ && dialog_->isVisible());
    QCOMPARE(text1()->text(), QStringLiteral("2,1"));
    QVERIFY(catcher_->messages().isEmpty());
    QCOMPARE(appState().rateDEM, QStringLiteral("1,95583"));
    QVERIFY(!main_->isVisible());
}

void TestRateDialog::cancelChangesNothing() {
    QVERIFY(open(1, QStringLiteral("Franc")));
    QVERIFY(!main_->isVisible());
    QTest::keyClicks(text1(), QStringLiteral("3,3"));
    QTest::mouseClick(button("cmdAnnuler"), Qt::LeftButton);
    finishClosing();

    QVERIFY(dialog_.isNull());
    QVERIFY(main_->isVisible());
    QCOMPARE(main_->geometry(), mainGeometry_);
    QVERIFY(catcher_->messages().isEmpty());
    QCOMPARE((QStringList{appState().rateFFR, appState().rateUSD, appState().rateDEM}),
             (QStringList{"6,55957", "1,2", "1,95583"}));
    QCOMPARE((QStringList{labels_[0]->text(), labels_[1]->text(), labels_[2]->text()}),
             (QStringList{"6,55957", "1,2", "1,95583"}));
}

void TestRateDialog::loading_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("oldValue");

    QTest::newRow("franc") << 1 << "Franc"
                           << "Francs pour un Euro:"
                           << "6,55957";
    QTest::newRow("dollar") << 2 << "Dollar"
                            << "Dollars pour un Euro:"
                            << "1,2";
    QTest::newRow("mark") << 3 << "Mark"
                          << "Marks pour un Euro:"
                          << "1,95583";
}

void TestRateDialog::loading() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, oldValue);

    QVERIFY(open(index, name));
    QCOMPARE(appState().rateEditIndex, index);
    QCOMPARE(appState().rateEditName, name);
    QCOMPARE(dialog_->findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(), caption);
    QCOMPARE(dialog_->findChild<QLabel*>(QStringLiteral("Label3"))->text(), oldValue);
    QCOMPARE(dialog_->focusWidget(), text1());
    QVERIFY(dialog_->isVisible());
    QVERIFY(!main_->isVisible());
}

void TestRateDialog::oldValueIsTheWorkingCopyInForce() {
    QVERIFY(open(2, QStringLiteral("Dollar")));
    QTest::keyClicks(text1(), QStringLiteral("1,1"));
    QTest::keyClick(text1(), Qt::Key_Return);
    finishClosing();
    QVERIFY(dialog_.isNull());

    QVERIFY(open(2, QStringLiteral("Dollar")));
    QCOMPARE(dialog_->findChild<QLabel*>(QStringLiteral("Label3"))->text(), QStringLiteral("1,1"));
    delete dialog_;

    // Before the start-up has copied the rates, the copies are empty.
    resetApplicationState();
    QVERIFY(open(3, QStringLiteral("Mark")));
    QCOMPARE(dialog_->findChild<QLabel*>(QStringLiteral("Label3"))->text(), QString());
}

void TestRateDialog::entryIsEmptyAtEachOpening() {
    QVERIFY(open(1, QStringLiteral("Franc")));
    QPointer<RateDialog> first = dialog_;
    QTest::keyClicks(text1(), QStringLiteral("9,9"));
    QTest::mouseClick(button("cmdAnnuler"), Qt::LeftButton);
    finishClosing();
    QVERIFY(first.isNull());

    QVERIFY(open(1, QStringLiteral("Franc")));
    QCOMPARE(text1()->text(), QString());
}

void TestRateDialog::layout() {
    QVERIFY(open(2, QStringLiteral("Dollar")));
    QWidget* client = dialog_->clientArea();
    const auto rectIn = [client](const QWidget* w) {
        return QRect(w->mapTo(client, QPoint(0, 0)), w->size());
    };

    // No title bar; the client area is 2460 x 1815 twips inside a one-pixel border.
    QVERIFY(dialog_->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(client->size(), QSize(164, 121));
    QCOMPARE(dialog_->frameGeometry().size(), QSize(166, 123));
    QCOMPARE(dialog_->minimumSize(), dialog_->maximumSize());
    QCOMPARE(dialog_->palette().color(QPalette::Window), QColor(192, 192, 192));
    QVERIFY(!dialog_->windowIcon().isNull());

    // Twips / 15, the frame's controls offset by Frame1 at (120, 60) twips.
    QCOMPARE(rectIn(dialog_->findChild<QWidget*>("Frame1")), QRect(8, 4, 149, 85));
    QCOMPARE(rectIn(text1()), QRect(8 + 92, 4 + 52, 49, 21));
    QCOMPARE(rectIn(dialog_->findChild<QWidget*>("Label3")), QRect(8 + 92, 4 + 16, 49, 21));
    QCOMPARE(rectIn(button("cmdAnnuler")), QRect(16, 96, 61, 21));
    QCOMPARE(rectIn(button("cmdValide")), QRect(84, 96, 61, 21));
    QVERIFY(rectIn(button("cmdFocus")).left() >= client->width()); // never seen
    QVERIFY(button("cmdFocus")->isDefault());

    // Centred on the screen with its outer size.
    const QRect screen = dialog_->screen()->geometry();
    const QRect outer = dialog_->frameGeometry();
    QCOMPARE(outer.left() - screen.left(), (screen.width() - outer.width()) / 2);
    QCOMPARE(outer.top() - screen.top(), (screen.height() - outer.height()) / 2);

    // The captions fit their controls.
    for (const char* name : {"Label1", "Label2"}) {
        auto* label = dialog_->findChild<QLabel*>(name);
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
    }
    auto* frame = dialog_->findChild<QGroupBox*>("Frame1");
    QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width() - 8);
}

void TestRateDialog::focusOrder() {
    QVERIFY(open(1, QStringLiteral("Franc")));
    QStringList order;
    QWidget* current = dialog_->focusWidget();
    for (int i = 0; i < 5; ++i) {
        order << current->objectName();
        QTest::keyClick(current, Qt::Key_Tab);
        current = dialog_->focusWidget();
    }
    QCOMPARE(order, (QStringList{"Text1", "cmdFocus", "cmdAnnuler", "cmdValide", "Text1"}));
}

QTEST_MAIN(TestRateDialog)
#include "test_rate_dialog.moc"
