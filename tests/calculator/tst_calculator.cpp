// Tests of the calculator core: the number text rules and the key handling.
// Every table is written with the French separator "," and run twice: once with
// the separator of a French locale and once with that of an English locale, where
// "," and "." swap places in every text of the row.
#include "calculator/calculator.h"
#include "calculator/number_text.h"
#include "calculator/value_slot.h"

#include <QLocale>
#include <QStringList>
#include <QTest>

#include <cmath>
#include <limits>
#include <string>

using devimax::calc::Calculator;
using devimax::calc::OperatorOutcome;
using devimax::calc::ReadStatus;
using devimax::calc::ValueSlot;

Q_DECLARE_METATYPE(devimax::calc::ValueSlot)

namespace devimax::calc {
// How QCOMPARE shows a slot.
char* toString(const ValueSlot& slot) {
    static const char* const kinds[] = {"Empty", "Number", "IntegerZero", "Text"};
    const QString text = QString("%1(%2, \"%3\")")
                             .arg(kinds[static_cast<int>(slot.kind)])
                             .arg(slot.number, 0, 'g', 17)
                             .arg(QString::fromStdString(slot.text));
    return qstrdup(text.toUtf8().constData());
}
} // namespace devimax::calc

namespace {

struct Form {
    const char* tag;
    QString separator; // the locale's decimal separator
    QString other;     // the separator of the other locale, which this one rejects
};

const QList<Form>& forms() {
    static const QList<Form> all = [] {
        const QString french = QLocale(QLocale::French, QLocale::France).decimalPoint();
        const QString english = QLocale(QLocale::English, QLocale::UnitedStates).decimalPoint();
        return QList<Form>{{"fr", french, english}, {"en", english, french}};
    }();
    return all;
}

// Rewrites a text written in the French form for `form`.
QString localise(const QString& french, const Form& form) {
    QString text;
    for (QChar c : french) {
        if (c == u',')
            text += form.separator;
        else if (c == u'.')
            text += form.other;
        else
            text += c;
    }
    return text;
}

std::string utf8(const QString& text) {
    return text.toStdString();
}
QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString statusName(ReadStatus status) {
    switch (status) {
    case ReadStatus::Ok:
        return "Ok";
    case ReadStatus::NotANumber:
        return "NotANumber";
    case ReadStatus::OutOfRange:
        return "OutOfRange";
    }
    return "?";
}

QString outcomeName(OperatorOutcome outcome) {
    switch (outcome) {
    case OperatorOutcome::Done:
        return "Done";
    case OperatorOutcome::DivisionByZero:
        return "DivisionByZero";
    case OperatorOutcome::NotANumber:
        return "NotANumber";
    case OperatorOutcome::OutOfRange:
        return "OutOfRange";
    }
    return "?";
}

// The window's part of start-up and of the clear-all key.
void windowReset(Calculator& calculator) {
    calculator.reset();
    calculator.display = "0";
}

// Presses space-separated keys: digits ("9*400" presses 9 four hundred times), the
// separator for the decimal key, "Ce", "C" (clear all as the window does it) and the
// operator captions. Returns the outcomes other than Done, in order.
QStringList press(Calculator& calculator, const QString& keys, const std::string& separator) {
    QStringList outcomes;
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        const std::string k = utf8(key);
        if (k == separator) {
            calculator.decimalKey(separator);
        } else if (k == "Ce") {
            calculator.clearEntryKey(separator);
        } else if (k == "C") {
            calculator.clearAllKey(separator);
            windowReset(calculator);
        } else if (k == "/" || k == "+" || k == "X" || k == "-" || k == "=") {
            const OperatorOutcome outcome = calculator.operatorKey(k, separator);
            if (outcome != OperatorOutcome::Done)
                outcomes << outcomeName(outcome);
        } else if (!k.empty() && k[0] >= '0' && k[0] <= '9' && (k.size() == 1 || k[1] == '*')) {
            const int times = k.size() == 1 ? 1 : std::stoi(k.substr(2));
            for (int i = 0; i < times; ++i)
                calculator.digitKey(k.substr(0, 1), separator);
        } else {
            qFatal("unknown key %s", k.c_str());
        }
    }
    return outcomes;
}

// "" (not checked), "E" empty, "Z" integer 0, "T:<text>", "N:<number as a text>".
void checkSlot(const ValueSlot& slot, const QString& expected, const std::string& separator) {
    if (expected.isEmpty())
        return;
    if (expected == "E") {
        QCOMPARE(slot.kind, ValueSlot::Kind::Empty);
    } else if (expected == "Z") {
        QCOMPARE(slot.kind, ValueSlot::Kind::IntegerZero);
    } else if (expected.startsWith("T:")) {
        QCOMPARE(slot.kind, ValueSlot::Kind::Text);
        QCOMPARE(qs(slot.text), expected.mid(2));
    } else {
        QVERIFY(expected.startsWith("N:"));
        const auto number = devimax::calc::readNumber(utf8(expected.mid(2)), separator);
        QVERIFY(number.has_value());
        QCOMPARE(slot.kind, ValueSlot::Kind::Number);
        QCOMPARE(slot.number, *number);
    }
}

} // namespace

class CalculatorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void readNumber_data();
    void readNumber();
    void formatResult_data();
    void formatResult();
    void resultsReadBack_data();
    void resultsReadBack();
    void multiByteSeparator();
    void slotValue_data();
    void slotValue();

    void keys_data();
    void keys();
    void clearAllThenReset_data();
    void clearAllThenReset();
    void digitBeforeStartUp();
};

void CalculatorTest::initTestCase() {
    // The tables rely on the two locales having these separators.
    QCOMPARE(forms()[0].separator, QString(","));
    QCOMPARE(forms()[1].separator, QString("."));
}

void CalculatorTest::readNumber_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("value");

    const QString manyDigits = QString(400, u'9') + ",";
    const QString tinyFraction = "0," + QString(400, u'0') + "1";
    for (const Form& form : forms()) {
        auto row = [&](const char* name, const QString& text, const char* status,
                       double value = 0) {
            QTest::addRow("%s: %s", form.tag, name)
                << form.separator << localise(text, form) << QString(status) << value;
        };
        row("integer", "12", "Ok", 12);
        row("trailing separator", "12,", "Ok", 12);
        row("one", "1,", "Ok", 1);
        row("fraction", "12,5", "Ok", 12.5);
        row("tenth", "0,1", "Ok", 0.1);
        row("negative", "-2,", "Ok", -2);
        row("negative fraction", "-0,25", "Ok", -0.25);
        row("negative zero", "-0,", "Ok", 0);
        row("leading zeros", "007,", "Ok", 7);
        row("zeros", "00,", "Ok", 0);
        row("exponent", "1E+20", "Ok", 1e20);
        row("small exponent", "1,5E-05", "Ok", 1.5e-5);
        row("lower-case exponent", "2e3", "Ok", 2000);
        row("unsigned exponent", "2E3", "Ok", 2000);
        row("largest", "1,7976931348623157E+308", "Ok", std::numeric_limits<double>::max());
        row("underflow reads as zero", "1E-400", "Ok", 0);
        row("long fraction underflow", tinyFraction, "Ok", 0);
        row("zero with huge exponent", "0E+400", "Ok", 0);
        row("no digit before separator", ",5", "NotANumber");
        row("empty", "", "NotANumber");
        row("minus alone", "-", "NotANumber");
        row("minus and separator", "-,", "NotANumber");
        row("two separators", "1,2,3", "NotANumber");
        row("leading blank", " 1", "NotANumber");
        row("trailing blank", "1 ", "NotANumber");
        row("grouping", "1 000", "NotANumber");
        row("other separator", "1.5", "NotANumber");
        row("plus sign", "+1", "NotANumber");
        row("two minus signs", "--1", "NotANumber");
        row("trailing minus", "1-", "NotANumber");
        row("exponent without digits", "1E", "NotANumber");
        row("exponent sign without digits", "1E+", "NotANumber");
        row("exponent alone", "E5", "NotANumber");
        row("exponent with separator", "1E2,5", "NotANumber");
        row("hexadecimal", "0x10", "NotANumber");
        row("infinity", "inf", "NotANumber");
        row("not a number", "nan", "NotANumber");
        row("arabic-indic digit", QString::fromUtf8("\u0661"), "NotANumber");
        row("400 digits", manyDigits, "OutOfRange");
        row("huge exponent", "1E+400", "OutOfRange");
        row("negative huge exponent", "-1E+400", "OutOfRange");
        row("just beyond the largest", "1,8E+308", "OutOfRange");
        row("exponent with many digits", "1E+99999999999999999999", "OutOfRange");
    }
}

void CalculatorTest::readNumber() {
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QFETCH(QString, status);
    QFETCH(double, value);

    const auto result = devimax::calc::readNumberStatus(utf8(text), utf8(separator));
    QCOMPARE(statusName(result.status), status);
    const auto number = devimax::calc::readNumber(utf8(text), utf8(separator));
    QCOMPARE(number.has_value(), status == "Ok");
    if (number) {
        QCOMPARE(*number, value);
        QCOMPARE(result.value, value);
    }
}

void CalculatorTest::formatResult_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    for (const Form& form : forms()) {
        auto row = [&](const char* name, double value, const char* text) {
            QTest::addRow("%s: %s", form.tag, name)
                << form.separator << value << localise(text, form);
        };
        row("one third", 1.0 / 3, "0,333333333333333");
        row("two thirds rounds up", 2.0 / 3, "0,666666666666667");
        row("0,1 + 0,2", 0.1 + 0.2, "0,3");
        row("whole", 2.5 * 4, "10");
        row("hundred", 100, "100");
        row("zero", 0.0, "0");
        row("negative zero", -0.0, "0");
        row("half", 0.5, "0,5");
        row("negative", -30, "-30");
        row("negative fraction", -0.25, "-0,25");
        row("fifteen digits", 123456789012345, "123456789012345");
        row("fifteen digits with fraction", 12345678901234.5, "12345678901234,5");
        row("sixteen digits", 1234567890123456, "1,23456789012346E+15");
        row("rounds up into exponent form", 999999999999999.9, "1E+15");
        row("rounds up within plain form", 0.99999999999999999, "1");
        row("1E15", 1e15, "1E+15");
        row("1E20", 1e20, "1E+20");
        row("negative 1E20", -1e20, "-1E+20");
        row("1E300", 1e300, "1E+300");
        row("largest", std::numeric_limits<double>::max(), "1,79769313486232E+308");
        row("smallest plain", 0.0001, "0,0001");
        row("small plain", 0.000123456, "0,000123456");
        row("first exponent below", 0.00001, "1E-05");
        row("exponent below with fraction", 0.000015, "1,5E-05");
        row("1E-100", 1e-100, "1E-100");
        row("denormal", std::numeric_limits<double>::denorm_min(), "4,94065645841247E-324");
    }
}

void CalculatorTest::formatResult() {
    QFETCH(QString, separator);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(qs(devimax::calc::formatResult(value, utf8(separator))), text);
}

void CalculatorTest::resultsReadBack_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<double>("value");

    for (const Form& form : forms()) {
        for (double value : {1.0 / 3, -2.0 / 3, 1e20, -1.5e-5, 123456.789, 1e300, 4.2e-300, 5e-324,
                             98765432109876543.0}) {
            QTest::addRow("%s: %.17g", form.tag, value) << form.separator << value;
        }
    }
}

void CalculatorTest::resultsReadBack() {
    QFETCH(QString, separator);
    QFETCH(double, value);

    const std::string text = devimax::calc::formatResult(value, utf8(separator));
    const auto number = devimax::calc::readNumber(text, utf8(separator));
    QVERIFY2(number.has_value(), text.c_str());
    QVERIFY2(std::abs(*number - value) <= std::abs(value) * 1e-14, text.c_str());
    // What is shown is shown again unchanged once read back.
    QCOMPARE(qs(devimax::calc::formatResult(*number, utf8(separator))), qs(text));
}

void CalculatorTest::multiByteSeparator() {
    const std::string momayyez = "\u066B"; // ARABIC DECIMAL SEPARATOR, two bytes in UTF-8

    QCOMPARE(qs(devimax::calc::formatResult(0.5, momayyez)), qs("0" + momayyez + "5"));
    QCOMPARE(qs(devimax::calc::formatResult(1.5e-5, momayyez)), qs("1" + momayyez + "5E-05"));
    QCOMPARE(devimax::calc::readNumber("12" + momayyez + "5", momayyez), 12.5);
    QCOMPARE(devimax::calc::readNumber("12" + momayyez, momayyez), 12.0);
    QVERIFY(!devimax::calc::readNumber("12,5", momayyez).has_value());
    // Only the first byte of the separator is not a separator.
    QVERIFY(!devimax::calc::readNumber("12" + momayyez.substr(0, 1) + "5", momayyez).has_value());

    Calculator calculator;
    windowReset(calculator);
    QVERIFY(press(calculator, "1 " + qs(momayyez) + " 5 X 4 =", momayyez).isEmpty());
    QCOMPARE(qs(calculator.display), QString("6"));
    QVERIFY(press(calculator, "1 2 / 8 =", momayyez).isEmpty());
    QCOMPARE(qs(calculator.display), qs("1" + momayyez + "5"));
}

void CalculatorTest::slotValue_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<ValueSlot>("slot");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");

    for (const Form& form : forms()) {
        const std::string sep = utf8(form.separator);
        auto row = [&](const char* name, const ValueSlot& slot, bool isNumber, double value) {
            QTest::addRow("%s: %s", form.tag, name) << form.separator << slot << isNumber << value;
        };
        row("empty", ValueSlot::empty(), true, 0);
        row("integer zero", ValueSlot::integerZero(), true, 0);
        row("number", ValueSlot::fromNumber(-2.5), true, -2.5);
        row("typed text", ValueSlot::fromText("12" + sep + "5"), true, 12.5);
        row("exponent text", ValueSlot::fromText("1E+20"), true, 1e20);
        row("minus alone", ValueSlot::fromText("-"), false, 0);
        row("other separator", ValueSlot::fromText(utf8("12" + form.other + "5")), false, 0);
    }
}

void CalculatorTest::slotValue() {
    QFETCH(QString, separator);
    QFETCH(ValueSlot, slot);
    QFETCH(bool, isNumber);
    QFETCH(double, value);

    const auto number = slot.value(utf8(separator));
    QCOMPARE(number.has_value(), isNumber);
    if (number)
        QCOMPARE(*number, value);
}

void CalculatorTest::keys_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("decimalEntered");
    QTest::addColumn<QString>("entryState");
    QTest::addColumn<int>("operandCount");
    QTest::addColumn<QString>("pendingOperator");
    QTest::addColumn<QString>("firstOperand");
    QTest::addColumn<QString>("outcomes");

    const QString nines400 = QString(400, u'9') + ",";
    const QString nines200 = QString(200, u'9') + ",";
    for (const Form& form : forms()) {
        // All rows start from the state after start-up.
        auto row = [&](const char* name, const QString& keys, const QString& display,
                       bool decimalEntered, const char* entryState, int operandCount,
                       const char* pendingOperator, const QString& firstOperand = {},
                       const char* outcomes = "") {
            QTest::addRow("%s: %s", form.tag, name)
                << form.separator << localise(keys, form) << localise(display, form)
                << decimalEntered << QString(entryState) << operandCount << QString(pendingOperator)
                << localise(firstOperand, form) << QString(outcomes);
        };
        // Typing a number, clearing the entry, typing again.
        row("A1", "1", "1,", false, "NUMS", 0, " ", "E");
        row("A2", "1 2", "12,", false, "NUMS", 0, " ", "E");
        row("A3", "1 2 ,", "12,", true, "NUMS", 0, " ");
        row("A4", "1 2 , 5", "12,5", true, "NUMS", 0, " ");
        row("A5", "1 2 , 5 Ce", "0,", false, "CE", 0, " ");
        row("A6", "1 2 , 5 Ce 0", "0,", false, "NUMS", 0, " ");
        row("A7", "1 2 , 5 Ce 0 7", "07,", false, "NUMS", 0, " ");
        // A chain with a negative operand.
        row("B2", "1 2 +", "12,", false, "OPS", 1, "+", "T:12,");
        row("B3", "1 2 + 3", "3,", false, "NUMS", 1, "+", "T:12,");
        row("B4", "1 2 + 3 X", "15", false, "OPS", 1, "X", "N:15");
        row("B5", "1 2 + 3 X -", "-", false, "NEG", 1, "X", "T:15");
        row("B6", "1 2 + 3 X - 2", "-2,", false, "NUMS", 1, "X", "T:15");
        row("B7", "1 2 + 3 X - 2 =", "-30", false, "OPS", 1, "=", "N:-30");

        // Entry keys.
        row("digit after a full clear", "5 C 7", "7,", false, "NUMS", 0, " ", "Z");
        row("decimal twice", "1 , ,", "1,", true, "NUMS", 0, " ");
        row("decimal after a fraction", "1 , 5 ,", "1,5", true, "NUMS", 0, " ");
        row("decimal at start-up", ",", "0,", true, "NUMS", 0, " ");
        row("decimal at start-up then digit", ", 5", "0,5", true, "NUMS", 0, " ");
        row("decimal after an operator", "3 + ,", "0,", true, "NUMS", 1, "+", "T:3,");
        row("decimal after clear entry", "3 Ce ,", "0,", true, "NUMS", 0, " ");
        row("no digit limit", "1*40", QString(40, u'1') + ",", false, "NUMS", 0, " ");
        row("digit replaces a result", "1 2 + 3 = 4", "4,", false, "NUMS", 1, "=", "N:15");
        // An operator leaves decimalEntered set; the next digit starts a whole number.
        row("operator after a fraction", ", 5 +", "0,5", true, "OPS", 1, "+", "T:0,5");
        row("digit after a fraction operand", ", 5 + 3", "3,", false, "NUMS", 1, "+", "T:0,5");
        row("clear entry keeps operands", "5 + 3 Ce", "0,", false, "CE", 1, "+", "T:5,");
        row("full clear mid-chain", "5 + 3 C", "0", false, "NONE", 0, " ", "Z");
        row("fresh chain after full clear", "5 + 3 C 2 + 1 =", "3", false, "OPS", 1, "=", "N:3");

        // A minus sign waiting for a number.
        row("minus at start-up", "-", "-0", false, "NEG", 0, " ", "E");
        row("minus twice at start-up", "- -", "-0", false, "NEG", 0, " ");
        row("digit after minus at start-up", "- 4", "-4,", false, "NUMS", 0, " ");
        row("decimal after minus at start-up", "- ,", "-0,", true, "NUMS", 0, " ");
        row("fraction after minus", "- , 5", "-0,5", true, "NUMS", 0, " ");
        row("negative first operand", "- 4 X 2 =", "-8", false, "OPS", 1, "=", "N:-8");
        row("digit after minus operand", "5 + - 4", "-4,", false, "NUMS", 1, "+", "T:5,");
        row("decimal after minus operand", "5 + - ,", "-0,", true, "NUMS", 1, "+", "T:5,");
        row("plus a negative number", "5 + - 3 =", "2", false, "OPS", 1, "=", "N:2");
        row("minus after equals subtracts", "5 + 3 = -", "8", false, "OPS", 1, "-", "T:8");
        row("minus after equals", "5 + 3 = - 1 =", "7", false, "OPS", 1, "=", "N:7");
        row("negative zero result", "- 0 X 5 =", "0", false, "OPS", 1, "=", "N:0");

        // Evaluation strictly from left to right.
        row("running result", "2 + 3 X", "5", false, "OPS", 1, "X", "N:5");
        row("left to right", "2 + 3 X 4 =", "20", false, "OPS", 1, "=", "N:20");
        row("operator replaced", "5 + X", "5,", false, "OPS", 1, "X", "T:5,");
        row("operator replaced then evaluated", "5 + X 3 =", "15", false, "OPS", 1, "=", "N:15");
        row("equals", "2 + 3 =", "5", false, "OPS", 1, "=", "N:5");
        row("equals twice", "2 + 3 = =", "5", false, "OPS", 1, "=", "T:5");
        row("new number after equals", "2 + 3 = 7 + 1 =", "8", false, "OPS", 1, "=", "N:8");
        row("continue after equals", "2 + 3 = + 1 =", "6", false, "OPS", 1, "=", "N:6");
        row("operator at start-up", "X", "0", false, "OPS", 0, "X", "E");
        row("operator before a number", "+ 5 =", "5,", false, "OPS", 1, "=", "T:5,");
        row("equals after clear entry", "5 + 3 Ce =", "0,", false, "OPS", 1, "=", "T:0,");
        row("whole result", "1 2 + 3 =", "15", false, "OPS", 1, "=", "N:15");
        row("one third", "1 / 3 =", "0,333333333333333", false, "OPS", 1, "=");
        row("two thirds", "2 / 3 =", "0,666666666666667", false, "OPS", 1, "=");
        row("tenths", ", 1 + , 2 =", "0,3", true, "OPS", 1, "=");
        row("fraction times whole", "2 , 5 X 4 =", "10", false, "OPS", 1, "=", "N:10");
        row("subtraction", "1 0 - 2 5 =", "-15", false, "OPS", 1, "=", "N:-15");
        row("exponent result", "1 0*10 X 1 0*10 =", "1E+20", false, "OPS", 1, "=", "N:1E+20");
        row("exponent result read back", "1 0*10 X 1 0*10 = X 2 =", "2E+20", false, "OPS", 1, "=",
            "N:2E+20");
        row("small exponent result", "3 / 2 0 0 0 0 0 =", "1,5E-05", false, "OPS", 1, "=",
            "N:1,5E-05");

        // Failures: the first operand stays, its text is shown, the chain goes on.
        row("division by zero", "8 / 0 =", "8,", false, "OPS", 1, "=", "T:8,", "DivisionByZero");
        row("division by negative zero", "8 / - 0 =", "8,", false, "OPS", 1, "=", "T:8,",
            "DivisionByZero");
        row("division by zeros", "8 / 0 0 =", "8,", false, "OPS", 1, "=", "T:8,", "DivisionByZero");
        row("division by zero fraction", "8 / , 0 =", "8,", true, "OPS", 1, "=", "T:8,",
            "DivisionByZero");
        row("division by a zero with fraction digits", "8 / 0 , 0 0 =", "8,", true, "OPS", 1, "=",
            "T:8,", "DivisionByZero");
        row("chain after division by zero", "8 / 0 = 2 X 3 =", "6", false, "OPS", 1, "=", "N:6",
            "DivisionByZero");
        row("minus alone as operand", "5 + - +", "-", false, "NEG", 1, "+", "T:-");
        row("minus alone evaluated", "5 + - + 3 =", "-", false, "OPS", 1, "=", "T:-", "NotANumber");
        row("chain after minus alone", "5 + - + 3 = 4 + 1 =", "5", false, "OPS", 1, "=", "N:5",
            "NotANumber");
        row("typed number out of range", "9*400 + 1 =", nines400, false, "OPS", 1, "=",
            "T:" + nines400, "OutOfRange");
        row("product out of range", "9*200 X 9*200 =", nines200, false, "OPS", 1, "=",
            "T:" + nines200, "OutOfRange");
        row("result out of range keeps the result", "1 + 9*200 X 9*200 =", "1E+200", false, "OPS",
            1, "=", "N:1E+200", "OutOfRange");
        row("equals with a number out of range", "1 + 2 = 9*400 =", "3", false, "OPS", 1, "=",
            "N:3", "OutOfRange");
    }
}

void CalculatorTest::keys() {
    QFETCH(QString, separator);
    QFETCH(QString, keys);
    QFETCH(QString, display);
    QFETCH(bool, decimalEntered);
    QFETCH(QString, entryState);
    QFETCH(int, operandCount);
    QFETCH(QString, pendingOperator);
    QFETCH(QString, firstOperand);
    QFETCH(QString, outcomes);

    const std::string sep = utf8(separator);
    Calculator calculator;
    windowReset(calculator);
    QCOMPARE(press(calculator, keys, sep).join(u' '), outcomes);
    QCOMPARE(qs(calculator.display), display);
    QCOMPARE(calculator.decimalEntered, decimalEntered);
    QCOMPARE(qs(calculator.entryState), entryState);
    QCOMPARE(calculator.operandCount, operandCount);
    QCOMPARE(qs(calculator.pendingOperator), pendingOperator);
    checkSlot(calculator.firstOperand, firstOperand, sep);
}

void CalculatorTest::clearAllThenReset_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("keys");
    for (const Form& form : forms())
        QTest::addRow("%s", form.tag) << form.separator << localise("5 + 3 = 2 ,", form);
}

void CalculatorTest::clearAllThenReset() {
    QFETCH(QString, separator);
    QFETCH(QString, keys);
    const std::string sep = utf8(separator);
    const QString zeroAndSeparator = "0" + separator;

    Calculator calculator;
    windowReset(calculator);
    QVERIFY(press(calculator, keys, sep).isEmpty());
    QCOMPARE(calculator.operandCount, 1);
    QCOMPARE(calculator.firstOperand, ValueSlot::fromNumber(8));
    QCOMPARE(calculator.secondOperand, ValueSlot::fromText("3" + sep));
    QVERIFY(calculator.decimalEntered);

    calculator.clearAllKey(sep);
    QCOMPARE(qs(calculator.display), zeroAndSeparator);
    QCOMPARE(calculator.firstOperand, ValueSlot::integerZero());
    QCOMPARE(calculator.secondOperand, ValueSlot::integerZero());
    // The rest is left to the reset.
    QCOMPARE(qs(calculator.entryState), QString("NUMS"));
    QCOMPARE(calculator.operandCount, 1);
    QCOMPARE(qs(calculator.pendingOperator), QString("="));
    QVERIFY(calculator.decimalEntered);

    calculator.reset();
    QVERIFY(!calculator.decimalEntered);
    QCOMPARE(calculator.operandCount, 0);
    QCOMPARE(qs(calculator.entryState), QString("NONE"));
    QCOMPARE(qs(calculator.pendingOperator), QString(" "));
    QCOMPARE(qs(calculator.display), zeroAndSeparator);
    QCOMPARE(calculator.firstOperand, ValueSlot::integerZero());
    QCOMPARE(calculator.secondOperand, ValueSlot::integerZero());
}

void CalculatorTest::digitBeforeStartUp() {
    Calculator calculator;
    QVERIFY(calculator.entryState.empty());
    calculator.digitKey("7", ",");
    QCOMPARE(qs(calculator.display), QString("7,"));
    QCOMPARE(qs(calculator.entryState), QString("NUMS"));
}

QTEST_GUILESS_MAIN(CalculatorTest)
#include "tst_calculator.moc"
