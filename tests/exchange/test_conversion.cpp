#include "calculator/failures.h"
#include "exchange/conversion.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <string>

using devimax::exchange::ConversionResult;
using devimax::exchange::convertAmount;
using devimax::exchange::FixedAmount;

namespace {

// The tables are written with the French separator; the English rows swap every ","
// and "." so that "2.5" stays a foreign number under each separator.
QByteArray inSeparator(const char* french, const QByteArray& separator) {
    QByteArray text(french);
    if (separator == ",")
        return text;
    for (char& c : text) {
        if (c == ',')
            c = '.';
        else if (c == '.')
            c = ',';
    }
    return text;
}

const QByteArray kSeparators[] = {",", "."};

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void convertAmount_data();
    void convertAmount();
    void fromDouble_data();
    void fromDouble();
    void text_data();
    void text();
};

void TestConversion::convertAmount_data() {
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<QByteArray>("mainDisplay");
    QTest::addColumn<QByteArray>("rate");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<int>("failure"); // 0 when the conversion succeeds
    QTest::addColumn<QByteArray>("text");

    struct Row {
        const char* name;
        const char* mainDisplay;
        const char* rate;
        bool reversed;
        int failure;
        const char* text;
        bool textInSeparator; // false: the text is the same under every separator
    };
    using devimax::kFailureDivisionByZero;
    using devimax::kFailureNotANumber;
    using devimax::kFailureOutOfRange;
    const Row rows[] = {
        {"zero", "0", "2,5", false, 0, "0", true},
        {"zero with separator, reversed", "0,", "1,5", true, 0, "0", true},
        {"times, whole result", "12,", "2,5", false, 0, "30", true},
        {"times, fraction", "123,", "2,5", false, 0, "307,5", true},
        {"divided, whole result", "100,", "2,5", true, 0, "40", true},
        {"divided, three decimals", "1,", "8", true, 0, "0,125", true},
        {"whole result from fractions", "2,", "1,5", false, 0, "3", true},
        {"small amount rounds up", "0,00003", "2,5", false, 0, "0,0001", true},
        {"franc rate", "100", "6,55957", false, 0, "655,957", true},
        {"halfway goes up", "1,00005", "1", false, 0, "1,0001", true},
        {"halfway goes up, binary below", "1,00015", "1", false, 0, "1,0002", true},
        {"below halfway goes down", "1,000049", "1", false, 0, "1", true},
        {"exponent amount", "1E+3", "2,5", false, 0, "2500", true},
        {"minus alone", "-", "2,5", false, 0, "0,", false},
        {"minus alone, empty rate", "-", "", true, 0, "0,", false},
        {"minus alone, rate zero reversed", "-", "0", true, 0, "0,", false},
        {"negative amount", "-12,", "2,5", false, 0, "0,", false},
        {"rate zero", "12,", "0", false, 0, "0", true},
        {"rate zero reversed", "12,", "0", true, kFailureDivisionByZero, "", true},
        {"zero divided by zero", "0", "0", true, kFailureDivisionByZero, "", true},
        {"empty rate", "12,", "", false, kFailureNotANumber, "", true},
        {"empty amount", "", "2,5", false, kFailureNotANumber, "", true},
        {"two separators in rate", "12,", "1,,5", false, kFailureNotANumber, "", true},
        {"foreign separator in rate", "12,", "2.5", false, kFailureNotANumber, "", true},
        {"result too large", "1E+20", "2,5", false, kFailureOutOfRange, "", true},
        {"product beyond double", "1E+300", "1E+300", false, kFailureOutOfRange, "", true},
        {"amount beyond double", "1E+400", "2,5", false, kFailureOutOfRange, "", true},
        {"rate beyond double", "12,", "1E+400", true, kFailureOutOfRange, "", true},
        {"amount read before rate", "1E+400", "", false, kFailureOutOfRange, "", true},
    };
    for (const QByteArray& separator : kSeparators) {
        for (const Row& row : rows) {
            QTest::addRow("%s [%s]", row.name, separator.constData())
                << separator << inSeparator(row.mainDisplay, separator)
                << inSeparator(row.rate, separator) << row.reversed << row.failure
                << (row.textInSeparator ? inSeparator(row.text, separator) : QByteArray(row.text));
        }
    }
}

void TestConversion::convertAmount() {
    QFETCH(QByteArray, separator);
    QFETCH(QByteArray, mainDisplay);
    QFETCH(QByteArray, rate);
    QFETCH(bool, reversed);
    QFETCH(int, failure);
    QFETCH(QByteArray, text);

    const ConversionResult result =
        ::convertAmount(view(mainDisplay), view(rate), reversed, view(separator));
    if (failure == 0) {
        QVERIFY2(result.ok, result.description.c_str());
        QCOMPARE(QByteArray::fromStdString(result.text), text);
        return;
    }
    QVERIFY(!result.ok);
    QCOMPARE(result.failureNumber, failure);
    const char* description =
        failure == devimax::kFailureOutOfRange   ? devimax::kDescriptionOutOfRange
        : failure == devimax::kFailureNotANumber ? devimax::kDescriptionNotANumber
                                                 : devimax::kDescriptionDivisionByZero;
    QCOMPARE(QByteArray::fromStdString(result.description), QByteArray(description));
}

void TestConversion::fromDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<qint64>("count");

    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("zero") << 0.0 << true << qint64(0);
    QTest::newRow("negative zero") << -0.0 << true << qint64(0);
    QTest::newRow("halfway") << 1.00005 << true << qint64(10001);
    QTest::newRow("negative halfway") << -1.00005 << true << qint64(-10001);
    QTest::newRow("negative halfway, binary below") << -1.00015 << true << qint64(-10002);
    QTest::newRow("negative below halfway") << -2.00004999 << true << qint64(-20000);
    QTest::newRow("smallest halfway") << 0.00005 << true << qint64(1);
    QTest::newRow("negative smallest halfway") << -0.00005 << true << qint64(-1);
    QTest::newRow("negative below smallest halfway") << -0.000049 << true << qint64(0);
    QTest::newRow("tiny") << 1e-300 << true << qint64(0);
    QTest::newRow("denormal") << std::numeric_limits<double>::denorm_min() << true << qint64(0);
    QTest::newRow("sixteenth digit ignored") << 0.1234499999999999 << true << qint64(1235);
    QTest::newRow("15-digit form carries") << 9.9999999999999999 << true << qint64(100000);
    QTest::newRow("large, 15 digits") << 12345678901.2345 << true << qint64(123456789012345);
    QTest::newRow("large, 16th digit rounded off")
        << 123456789012.3456 << true << qint64(1234567890123460);
    QTest::newRow("near the top") << 9.2e14 << true << qint64(9200000000000000000);
    QTest::newRow("near the bottom") << -9.2e14 << true << qint64(-9200000000000000000);
    QTest::newRow("above the top") << 9.3e14 << false << qint64(0);
    QTest::newRow("below the bottom") << -9.3e14 << false << qint64(0);
    QTest::newRow("huge") << 1e300 << false << qint64(0);
    QTest::newRow("infinity") << infinity << false << qint64(0);
    QTest::newRow("minus infinity") << -infinity << false << qint64(0);
    QTest::newRow("not a number") << std::nan("") << false << qint64(0);
}

void TestConversion::fromDouble() {
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(qint64, count);

    const auto amount = FixedAmount::fromDouble(value);
    QCOMPARE(amount.has_value(), fits);
    if (fits)
        QCOMPARE(qint64(amount->tenThousandths()), count);
}

void TestConversion::text_data() {
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QByteArray>("text");

    struct Row {
        const char* name;
        qint64 count;
        const char* text;
    };
    const Row rows[] = {
        {"zero", 0, "0"},
        {"whole", 30000, "3"},
        {"below one", 1250, "0,125"},
        {"smallest", 1, "0,0001"},
        {"trailing zeros dropped", 3075000, "307,5"},
        {"no grouping", 12345678900000, "1234567890"},
        {"negative fraction", -1, "-0,0001"},
        {"negative whole", -20000, "-2"},
        {"largest", std::numeric_limits<qint64>::max(), "922337203685477,5807"},
        {"smallest negative", std::numeric_limits<qint64>::min(), "-922337203685477,5808"},
    };
    for (const QByteArray& separator : kSeparators) {
        for (const Row& row : rows) {
            QTest::addRow("%s [%s]", row.name, separator.constData())
                << separator << row.count << inSeparator(row.text, separator);
        }
    }
    // The separator is whatever the locale gives, several bytes included.
    QTest::newRow("multi-byte separator") << QByteArray("\xd9\xab") << qint64(15000)
                                          << QByteArray("1\xd9\xab"
                                                        "5");
}

void TestConversion::text() {
    QFETCH(QByteArray, separator);
    QFETCH(qint64, count);
    QFETCH(QByteArray, text);

    const FixedAmount amount = FixedAmount::fromTenThousandths(count);
    QCOMPARE(QByteArray::fromStdString(amount.text(view(separator))), text);
}

QTEST_APPLESS_MAIN(TestConversion)
#include "test_conversion.moc"
