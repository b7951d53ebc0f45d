// Independent readers (mdbtools' mdb-export and the npm package mdb-reader) must
// see exactly the values we meant in every file we create or modify, and the
// devimax-mdb tool must create, change and dump files as documented.
#include "access_test_util.h"
#include "platform/access/access_internal.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace devimax::access;
using namespace devimax::access::testing;

Q_DECLARE_METATYPE(devimax::access::JetVersion)

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Canonical text of a value of the given column type, whatever reader produced it.
QString canonical(ColumnType type, const QString& raw, bool isNull) {
    if (isNull)
        return "<null>";
    switch (type) {
    case ColumnType::Double: {
        bool ok = false;
        const double d = raw.toDouble(&ok);
        return ok ? QString::fromStdString(detail::formatDouble(d)) : "<bad double " + raw + ">";
    }
    case ColumnType::Currency: {
        auto n = detail::parseDecimal(raw.toStdString(), ".");
        auto c = n ? detail::decimalToCurrency(*n) : std::nullopt;
        return c ? QString::fromStdString(detail::formatCurrency(*c))
                 : "<bad currency " + raw + ">";
    }
    default:
        return raw;
    }
}

QStringList expectedRows(const TableSpec& design) {
    QStringList rows;
    for (const auto& row : design.rows) {
        QStringList fields;
        for (std::size_t c = 0; c < row.size(); ++c)
            fields << canonical(design.columns[c].type,
                                QString::fromStdString(detail::formatValue(row[c])),
                                row[c].kind == Value::Kind::Null);
        rows << fields.join('|');
    }
    return rows;
}

QString toolPath() {
    return qEnvironmentVariable("DEVIMAX_MDB_TOOL");
}

} // namespace

class TestAccessOracles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // The fixture and the values it must hold, after an optional save.
    TableSpec makeFixture(JetVersion version, bool saved, const QString& file) {
        TableSpec design = twoRecords();
        if (!writeBytes(file, createDatabase(version, design)))
            qFatal("cannot write %s", qPrintable(file));
        if (saved) {
            Error error;
            if (!updateRecord(file.toStdString(), "Taux", 0,
                              {{"Nom", "Livre sterling britannique"},
                               {"Taux", "0,7"},
                               {"Prix", "-12,34567"},
                               {"N", "2147483647"}},
                              ",", error))
                qFatal("save failed: %s", error.message.c_str());
            design.rows[0] = {Value::fromText("Livre sterling britannique"), Value::fromDouble(0.7),
                              Value::fromCurrency(-123457), Value::fromInteger(2147483647)};
        }
        return design;
    }

private slots:
    void oracleSeesValues_data();
    void oracleSeesValues();
    void toolDumpsDefaultFile();
    void toolCreatesSetsAndReportsErrors();
};

void TestAccessOracles::oracleSeesValues_data() {
    QTest::addColumn<QString>("oracle");
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<bool>("saved");
    for (const char* oracle : {"mdb-export", "mdb-reader"})
        for (auto [v, tag] :
             {std::pair{JetVersion::Jet3, "jet3"}, std::pair{JetVersion::Jet4, "jet4"}})
            for (bool saved : {false, true})
                QTest::addRow("%s %s %s", oracle, tag, saved ? "saved" : "created")
                    << oracle << v << saved;
}

void TestAccessOracles::oracleSeesValues() {
    QFETCH(QString, oracle);
    QFETCH(JetVersion, version);
    QFETCH(bool, saved);
    const QString file = dir_.filePath("oracle.mdb");
    const TableSpec design = makeFixture(version, saved, file);
    const QStringList expected = expectedRows(design);
    QStringList seen;

    if (oracle == "mdb-export") {
        const QString mdbExport = QStandardPaths::findExecutable("mdb-export");
        if (mdbExport.isEmpty())
            QSKIP("mdb-export (Debian package mdbtools) is not installed");
        const Run tables = run(QStandardPaths::findExecutable("mdb-tables"), {"-1", file});
        QCOMPARE(tables.exitCode, 0);
        QCOMPARE(tables.out.split('\n', Qt::SkipEmptyParts), QStringList{"Taux"});
        const Run schema = run(QStandardPaths::findExecutable("mdb-schema"), {file});
        QCOMPARE(schema.exitCode, 0);
        for (const char* part :
             {"CREATE TABLE [Taux]", "[Nom]\t\t\tText (30)", "[Taux]\t\t\tDouble",
              "[Prix]\t\t\tCurrency", "[N]\t\t\tLong Integer"})
            QVERIFY2(schema.out.contains(part), qPrintable(schema.out));
        const Run r = run(mdbExport, {"-H", "-Q", "-d", "\t", "-0", "<null>", file, "Taux"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
            const QStringList raw = line.split('\t');
            QCOMPARE(raw.size(), 4);
            QStringList fields;
            for (int c = 0; c < 4; ++c)
                fields << canonical(design.columns[c].type, raw[c], raw[c] == "<null>");
            seen << fields.join('|');
        }
    } else {
        const QString node = QStandardPaths::findExecutable("node");
        const QString oracleDir = QStringLiteral(DEVIMAX_ORACLE_DIR);
        if (node.isEmpty())
            QSKIP("node is not installed");
        if (!QFileInfo::exists(oracleDir + "/node_modules/mdb-reader/package.json"))
            QSKIP(qPrintable("mdb-reader is not installed: run 'npm ci' in " + oracleDir));
        const Run r = run(node, {oracleDir + "/read_mdb.mjs", file});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QJsonObject tables =
            QJsonDocument::fromJson(r.out.toUtf8()).object()["tables"].toObject();
        QCOMPARE(tables.keys(), QStringList{"Taux"});
        const QJsonObject table = tables["Taux"].toObject();
        const QJsonArray columns = table["columns"].toArray();
        QCOMPARE(columns.size(), 4);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(columns[c].toObject()["name"].toString(),
                     QString::fromStdString(design.columns[c].name));
        for (const auto& rowValue : table["rows"].toArray()) {
            const QJsonArray row = rowValue.toArray();
            QCOMPARE(row.size(), 4);
            QStringList fields;
            for (int c = 0; c < 4; ++c) {
                const QJsonValue v = row[c];
                const QString raw = v.isDouble()
                                        ? QString::fromStdString(detail::formatDouble(v.toDouble()))
                                        : v.toString();
                fields << canonical(design.columns[c].type, raw, v.isNull());
            }
            seen << fields.join('|');
        }
    }
    QCOMPARE(seen, expected);
}

void TestAccessOracles::toolDumpsDefaultFile() {
    const QString file = dir_.filePath("buro.mdb");
    QCOMPARE(run(toolPath(), {"create-default", file}).exitCode, 0);
    const Run r = run(toolPath(), {"dump", file});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString("version\tjet4\n"
                            "table\tParametres\n"
                            "columns\tFFR:double\tUSD:double\tDEM:double\n"
                            "row\t6.55957\t1.1\t1.95583\n"));
    const QString mdbExport = QStandardPaths::findExecutable("mdb-export");
    if (mdbExport.isEmpty())
        QSKIP("mdb-export (Debian package mdbtools) is not installed");
    const Run e = run(mdbExport, {file, "Parametres"});
    QCOMPARE(e.out, QString("FFR,USD,DEM\n6.55957,1.1,1.95583\n"));
}

void TestAccessOracles::toolCreatesSetsAndReportsErrors() {
    const QString file = dir_.filePath("tool.mdb");
    Run r =
        run(toolPath(), {"create", file, "--jet3", "--table", "Devises", "--column", "Code:text:3",
                         "--column", "Taux:double", "--column", "Frais:currency", "--column",
                         "Rang:long", "--row", "FRF,6.55957,0.5,1", "--row", ",,,"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    r = run(toolPath(),
            {"set", file, "Devises", "Code=DEM", "Taux=1,95583", "Frais=0,25", "--separator", ","});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    r = run(toolPath(), {"dump", file});
    QCOMPARE(r.out, QString("version\tjet3\n"
                            "table\tDevises\n"
                            "columns\tCode:text:3\tTaux:double\tFrais:currency\tRang:long\n"
                            "row\tDEM\t1.95583\t0.25\t1\n"
                            "row\t\t\t\t\n"));
    // Errors: non-zero status and the French message with its number.
    r = run(toolPath(), {"set", file, "Devises", "Taux=abc"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("3464") && r.err.contains("tool.mdb"), qPrintable(r.err));
    r = run(toolPath(), {"dump", dir_.filePath("absent.mdb")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("3024") && r.err.contains("introuvable"), qPrintable(r.err));
    r = run(toolPath(), {});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains("create-default"));
}

QTEST_GUILESS_MAIN(TestAccessOracles)
#include "tst_access_oracles.moc"
