// Files made by our creator read back by our reader; records changed by
// updateRecord read back exactly; refused changes leave the file untouched.
#include "access_test_util.h"
#include "platform/access/access_internal.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace devimax::access;
using namespace devimax::access::testing;

Q_DECLARE_METATYPE(devimax::access::JetVersion)

class TestAccessRoundTrip : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

private slots:
    void createThenRead_data();
    void createThenRead();
    void tableLookup();
    void update_data();
    void update();
    void refusedUpdate_data();
    void refusedUpdate();
    void pageWithoutRoom_data();
    void pageWithoutRoom();
};

void TestAccessRoundTrip::createThenRead_data() {
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<int>("rowCount");
    for (auto [v, tag] :
         {std::pair{JetVersion::Jet3, "jet3"}, std::pair{JetVersion::Jet4, "jet4"}}) {
        QTest::addRow("%s two records", tag) << v << 2;
        QTest::addRow("%s empty table", tag) << v << 0;
        QTest::addRow("%s 700 records on several pages", tag) << v << 700;
    }
}

void TestAccessRoundTrip::createThenRead() {
    QFETCH(JetVersion, version);
    QFETCH(int, rowCount);
    TableSpec design = twoRecords();
    if (rowCount == 0)
        design.rows.clear();
    if (rowCount > 2) {
        // Extremes of each type, an empty (not null) text and text in code page 1252.
        design.rows.push_back({Value::fromText(""), Value::fromDouble(1.7976931348623157e308),
                               Value::fromCurrency(INT64_MIN), Value::fromInteger(INT32_MIN)});
        design.rows.push_back(
            {Value::fromText("€ œ ½ àéïôù"), Value::null(), Value::null(), Value::null()});
        for (int i = 4; i < rowCount; ++i)
            design.rows.push_back({Value::fromText("ligne " + std::to_string(i)),
                                   Value::fromDouble(i / 7.0), Value::fromCurrency(i * 12345),
                                   Value::fromInteger(i)});
    }
    const QString file = path("roundtrip.mdb");
    QVERIFY(writeBytes(file, createDatabase(version, design)));

    Error error;
    auto db = Database::open(file.toStdString(), error);
    QVERIFY2(db, error.message.c_str());
    QCOMPARE(db->version(), version);
    const auto names = db->tableNames(error);
    QCOMPARE(error.number, 0);
    QCOMPARE(names, std::vector<std::string>{"Taux"});
    const Table table = readOrFail(file, "Taux");
    QCOMPARE(table.columns.size(), std::size_t{4});
    const std::vector<std::pair<std::string, ColumnType>> expectedColumns = {
        {"Nom", ColumnType::Text},
        {"Taux", ColumnType::Double},
        {"Prix", ColumnType::Currency},
        {"N", ColumnType::Long}};
    for (std::size_t c = 0; c < 4; ++c) {
        QCOMPARE(table.columns[c].name, expectedColumns[c].first);
        QCOMPARE(table.columns[c].type(), expectedColumns[c].second);
        QVERIFY(!table.columns[c].indexed);
    }
    QCOMPARE(table.columns[0].size, version == JetVersion::Jet4 ? 60 : 30);
    QCOMPARE(table.rows.size(), design.rows.size());
    for (std::size_t r = 0; r < design.rows.size(); ++r)
        for (std::size_t c = 0; c < 4; ++c)
            QVERIFY2(sameValue(table.rows[r][c], design.rows[r][c]),
                     ("row " + std::to_string(r) + " col " + std::to_string(c) + ": " +
                      describe(table.rows[r][c]) + " != " + describe(design.rows[r][c]))
                         .c_str());
}

void TestAccessRoundTrip::tableLookup() {
    const QString file = path("lookup.mdb");
    QVERIFY(writeBytes(file, createDatabase(JetVersion::Jet4, twoRecords())));
    Error error;
    auto db = Database::open(file.toStdString(), error);
    QVERIFY(db);
    // Jet compares table names without regard to ASCII case.
    auto table = db->readTable("TAUX", error);
    QVERIFY(table);
    QCOMPARE(table->name, std::string("Taux"));
    // The catalog and its container are not user tables.
    for (const char* name : {"Absente", "MSysObjects", "Tables"}) {
        QVERIFY(!db->readTable(name, error));
        QCOMPARE(error.number, 3078);
        QVERIFY(error.message.find(name) != std::string::npos);
        QVERIFY(error.message.find(file.toStdString()) != std::string::npos);
    }
}

void TestAccessRoundTrip::update_data() {
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected"); // as the dump prints it
    for (auto [v, tag] :
         {std::pair{JetVersion::Jet3, "jet3"}, std::pair{JetVersion::Jet4, "jet4"}}) {
        QTest::addRow("%s double comma", tag) << v << "Taux"
                                              << "1,25"
                                              << ","
                                              << "1.25";
        QTest::addRow("%s double exponent", tag) << v << "Taux"
                                                 << "-2.5E3"
                                                 << "."
                                                 << "-2500";
        QTest::addRow("%s double small exponent", tag) << v << "Taux"
                                                       << "7e-05"
                                                       << "."
                                                       << "7e-05";
        QTest::addRow("%s double multi-char separator", tag) << v << "Taux"
                                                             << "3<>5"
                                                             << "<>"
                                                             << "3.5";
        QTest::addRow("%s currency exact", tag) << v << "Prix"
                                                << "922337203685477,5807"
                                                << ","
                                                << "922337203685477.5807";
        QTest::addRow("%s currency rounds half up", tag) << v << "Prix"
                                                         << "3,14155"
                                                         << ","
                                                         << "3.1416";
        QTest::addRow("%s currency rounds half away from zero", tag) << v << "Prix"
                                                                     << "-0,00005"
                                                                     << ","
                                                                     << "-0.0001";
        QTest::addRow("%s currency rounds down", tag) << v << "Prix"
                                                      << "-0,000049999"
                                                      << ","
                                                      << "0";
        QTest::addRow("%s currency exponent", tag) << v << "Prix"
                                                   << "1.5e2"
                                                   << "."
                                                   << "150";
        QTest::addRow("%s long minimum", tag) << v << "N"
                                              << "-2147483648"
                                              << "."
                                              << "-2147483648";
        QTest::addRow("%s long whole with fraction digits", tag) << v << "N"
                                                                 << "12,000"
                                                                 << ","
                                                                 << "12";
        QTest::addRow("%s long exponent", tag) << v << "N"
                                               << "1e3"
                                               << "."
                                               << "1000";
        QTest::addRow("%s text grows", tag) << v << "Nom"
                                            << "Dollar des États-Unis"
                                            << "."
                                            << "Dollar des États-Unis";
        QTest::addRow("%s text shrinks", tag) << v << "Nom"
                                              << "F"
                                              << "."
                                              << "F";
        QTest::addRow("%s text empty", tag) << v << "Nom"
                                            << ""
                                            << "."
                                            << "";
        QTest::addRow("%s text full length", tag)
            << v << "Nom" << QString(30, u'é') << "." << QString(30, u'é');
    }
    QTest::addRow("jet4 text outside latin-1") << JetVersion::Jet4 << "Nom"
                                               << "Ωμέγα ₿"
                                               << "."
                                               << "Ωμέγα ₿";
}

void TestAccessRoundTrip::update() {
    QFETCH(JetVersion, version);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    const QString file = path("update.mdb");
    const TableSpec design = twoRecords();
    QVERIFY(writeBytes(file, createDatabase(version, design)));
    const Table before = readOrFail(file, "Taux");

    Error error;
    QVERIFY2(updateRecord(file.toStdString(), "taux", 0,
                          {{column.toStdString(), text.toStdString()}}, separator.toStdString(),
                          error),
             error.message.c_str());

    const Table after = readOrFail(file, "Taux");
    QCOMPARE(after.rows.size(), before.rows.size());
    for (std::size_t r = 0; r < after.rows.size(); ++r) {
        for (std::size_t c = 0; c < after.columns.size(); ++c) {
            const bool changed = r == 0 && after.columns[c].name == column.toStdString();
            if (changed) {
                QCOMPARE(QString::fromStdString(detail::formatValue(after.rows[r][c])), expected);
                QVERIFY(after.rows[r][c].kind != Value::Kind::Null);
            } else {
                QVERIFY2(sameValue(after.rows[r][c], before.rows[r][c]),
                         ("unchanged field moved: row " + std::to_string(r) + " col " +
                          std::to_string(c))
                             .c_str());
            }
        }
    }
}

void TestAccessRoundTrip::refusedUpdate_data() {
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("number");
    for (auto [v, tag] :
         {std::pair{JetVersion::Jet3, "jet3"}, std::pair{JetVersion::Jet4, "jet4"}}) {
        for (const char* bad : {"abc", "", "-", "1,", ",5", "1e", "1e+", "+1", " 1", "1 ", "1.5",
                                "1,5,5", "0x10", "1e400", "١٢"})
            QTest::addRow("%s double '%s'", tag, bad) << v << "Taux" << bad << "," << 0 << 3464;
        QTest::addRow("%s currency overflow", tag) << v << "Prix"
                                                   << "922337203685478"
                                                   << "." << 0 << 3464;
        QTest::addRow("%s long fraction", tag) << v << "N"
                                               << "1.5"
                                               << "." << 0 << 3464;
        QTest::addRow("%s long overflow", tag) << v << "N"
                                               << "2147483648"
                                               << "." << 0 << 3464;
        QTest::addRow("%s text too long", tag)
            << v << "Nom" << QString(31, u'x') << "." << 0 << 3163;
        QTest::addRow("%s no such column", tag) << v << "Zorglub"
                                                << "1"
                                                << "." << 0 << 3265;
        QTest::addRow("%s no such row", tag) << v << "N"
                                             << "1"
                                             << "." << 2 << 3021;
    }
    QTest::addRow("jet3 text outside code page 1252") << JetVersion::Jet3 << "Nom"
                                                      << "Ω"
                                                      << "." << 0 << 3464;
}

void TestAccessRoundTrip::refusedUpdate() {
    QFETCH(JetVersion, version);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(int, row);
    QFETCH(int, number);
    const QString file = path("refused.mdb");
    QVERIFY(writeBytes(file, createDatabase(version, twoRecords())));
    const QByteArray before = readBytes(file);
    Error error;
    QVERIFY(!updateRecord(file.toStdString(), "Taux", static_cast<std::size_t>(row),
                          {{"N", "5"}, {column.toStdString(), text.toStdString()}},
                          separator.toStdString(), error));
    QCOMPARE(error.number, number);
    QVERIFY(error.message.find(file.toStdString()) != std::string::npos);
    QCOMPARE(readBytes(file), before);
    QVERIFY(QDir(dir_.path()).entryList({"*.tmp-*"}, QDir::Files).isEmpty());
}

void TestAccessRoundTrip::pageWithoutRoom_data() {
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("newLength");
    // A full Jet 4 page has less free room than the row would grow by.
    QTest::addRow("jet4 full page") << JetVersion::Jet4 << 60 << 255;
    // A Jet 3 row longer than 256 bytes would need a jump table.
    QTest::addRow("jet3 jump table") << JetVersion::Jet3 << 1 << 255;
}

void TestAccessRoundTrip::pageWithoutRoom() {
    QFETCH(JetVersion, version);
    QFETCH(int, rows);
    QFETCH(int, newLength);
    TableSpec design;
    design.name = "Notes";
    design.columns = {{"Texte", ColumnType::Text, 255}};
    for (int i = 0; i < rows; ++i)
        design.rows.push_back({Value::fromText(std::string(100, 'a'))});
    const QString file = path("full.mdb");
    QVERIFY(writeBytes(file, createDatabase(version, design)));
    const QByteArray before = readBytes(file);
    Error error;
    QVERIFY(!updateRecord(file.toStdString(), "Notes", 0, {{"Texte", std::string(newLength, 'b')}},
                          ".", error));
    QCOMPARE(error.number, 3047);
    QCOMPARE(readBytes(file), before);
    // A change that fits is still accepted.
    QVERIFY2(
        updateRecord(file.toStdString(), "Notes", 0, {{"Texte", std::string(90, 'c')}}, ".", error),
        error.message.c_str());
    QCOMPARE(readOrFail(file, "Notes").rows.at(0).at(0).text, std::string(90, 'c'));
}

QTEST_APPLESS_MAIN(TestAccessRoundTrip)
#include "tst_access_roundtrip.moc"
